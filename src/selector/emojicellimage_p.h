// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the images of an emoji picker's cells.
#ifndef GLYPHMORPH_EMOJICELLIMAGE_P_H
#define GLYPHMORPH_EMOJICELLIMAGE_P_H

#include "glyphmorph_export.h"

#include <QImage>
#include <QString>

namespace EmojiCellImage {

/** The hex code points of @p emoji without U+FE0F, joined by '-' ("2764" for "❤️"). */
GLYPHMORPH_AUTOTEST_EXPORT QString key(const QString &emoji);
/** The emoji whose key() is @p key; empty for a malformed key. */
GLYPHMORPH_AUTOTEST_EXPORT QString emojiOfKey(const QString &key);
/** Where the Emoji theme keeps the image of @p emoji once drawn: KEY.png (KEY@2x.png when
 *  @p highDensity) in ~/.emoticonthemecache/emoji/. */
GLYPHMORPH_AUTOTEST_EXPORT QString themeImagePath(const QString &emoji, bool highDensity = false);

/**
 * @p emoji in a square of @p pixels: the Emoji theme's image where it is in the cache, else
 * drawn from the colour emoji font with U+FE0F left out. Kept in memory for the next call; a
 * null image without a QGuiApplication. Safe to call from any thread.
 */
GLYPHMORPH_AUTOTEST_EXPORT QImage image(const QString &emoji, int pixels);

/** Forgets the images image() kept in memory. */
GLYPHMORPH_AUTOTEST_EXPORT void clearMemoryCache();

/** How many images image() made since the process started, read or drawn. */
GLYPHMORPH_AUTOTEST_EXPORT int madeCount();

} // namespace EmojiCellImage

#endif
