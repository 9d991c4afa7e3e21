// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the Unicode emoji that the built-in emoticons stand for.
#ifndef GLYPHMORPH_BUILTINEMOJI_P_H
#define GLYPHMORPH_BUILTINEMOJI_P_H

#include "glyphmorph_export.h"

#include <QHash>
#include <QString>

namespace BuiltInEmoji {

/** The fully-qualified emoji of the built-in emoticon named @p name ("happy", "heart"), as in
 *  its icon id "icon-s-messaging-smiley-NAME"; empty for another name. */
GLYPHMORPH_AUTOTEST_EXPORT QString forEmoticon(const QString &name);
/** Every code of the built-in theme (":)", ":-)", "<3", ...) to its emoticon's emoji. */
GLYPHMORPH_AUTOTEST_EXPORT QHash<QString, QString> forCodes();

} // namespace BuiltInEmoji

#endif
