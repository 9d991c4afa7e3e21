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

/**
 * Whether a grapheme may begin at @p pos of @p text (@p length characters): the rules of UAX #29
 * that emoji meet, read from the few characters around @p pos, so that a scan can ask at every
 * candidate without segmenting the whole text. Where it says true, ends() has a boundary too;
 * it may say false at a true boundary only after runs of more than a few hundred regional
 * indicators or marks, which it does not read to their start. The ends of the text are
 * boundaries.
 */
GLYPHMORPH_AUTOTEST_EXPORT bool isBoundary(const QChar *text, int length, int pos);

} // namespace EmojiGraphemes

#endif
