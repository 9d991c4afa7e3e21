// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_CHATCORPUS_H
#define GLYPHMORPH_CHATCORPUS_H

#include <QHash>
#include <QString>
#include <QStringList>

namespace GlyphmorphBench {

/** The 84 codes of the built-in theme, as a user types them. */
QStringList builtinCodes();

/** The built-in theme's codes and their escaped forms to image paths below @p directory. */
QHash<QString, QString> builtinCodeMapping(const QString &directory);

/**
 * Deterministic chat-like text of about @p characters characters: words, spaces, line ends (some
 * CR LF), some non-ASCII words, and about one code per dozen words, plain or HTML-escaped.
 */
QString chatCorpus(int characters);

} // namespace GlyphmorphBench

#endif
