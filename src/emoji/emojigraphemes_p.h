// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: grapheme boundaries that keep every flag whole.
#ifndef GLYPHMORPH_EMOJIGRAPHEMES_P_H
#define GLYPHMORPH_EMOJIGRAPHEMES_P_H

#include "glyphmorph_export.h"

#include <QString>
#include <QVector>

namespace EmojiGraphemes {

/**
 * The end of each grapheme of @p text, in order; the last is text.size(). QTextBoundaryFinder's,
 * except in runs of regional indicators: Qt 5.15 and 6.4 pair them wrongly after an emoji
 * ("👍🇩🇪" ends graphemes inside the flag), so every run is paired again from its start, as
 * UAX #29 rules GB12 and GB13 say.
 */
GLYPHMORPH_AUTOTEST_EXPORT QVector<int> ends(const QString &text);

} // namespace EmojiGraphemes

#endif
