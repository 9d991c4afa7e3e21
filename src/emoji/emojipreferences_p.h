// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: counting emoji that an editor's replacement made from typing.
#ifndef GLYPHMORPH_EMOJIPREFERENCES_P_H
#define GLYPHMORPH_EMOJIPREFERENCES_P_H

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class EmojiPreferences;

namespace EmojiUses {

/**
 * Counts one use of each emoji in @p made: (the emoji, the emoji its image grew from or empty).
 * An emoji typed or pasted counts once, however many steps its image took: when an image grows
 * (a tone or a joined part typed after it), the use counted for its earlier form is taken back,
 * unless anything was counted since. @p lastNote is the caller's memory of its latest count,
 * kept between calls, empty at first.
 */
void noteMadeEmoji(EmojiPreferences &preferences, const QVector<QPair<QString, QString>> &made,
    QStringList &lastNote);

} // namespace EmojiUses

#endif
