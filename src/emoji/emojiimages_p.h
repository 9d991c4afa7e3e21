// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: emoji images drawn from the colour emoji font, for the Emoji theme.
#ifndef GLYPHMORPH_EMOJIIMAGES_P_H
#define GLYPHMORPH_EMOJIIMAGES_P_H

#include "glyphmorph_export.h"

#include <QImage>
#include <QString>

namespace EmojiImages {

/** The edge of an image in text, in pixels; its "@2x" twin has twice as many. */
constexpr int imageSize = 20;

/** The family of an installed font that draws emoji in colour ("Noto Color Emoji"), or empty:
 *  then, or without a QGuiApplication, no image can be drawn. Looked for once per process. */
GLYPHMORPH_AUTOTEST_EXPORT QString colourFontFamily();

/** The image file name of @p sequence: the hex code points of its key (U+FE0F left out), joined
 *  by '-', with ".png" ("1f44d.png", "2764.png" for "❤️"). */
GLYPHMORPH_AUTOTEST_EXPORT QString fileName(const QString &sequence);
/** The key whose image fileName() names @p filePath; empty for another file name. */
GLYPHMORPH_AUTOTEST_EXPORT QString keyOfFile(const QString &filePath);

/** @p sequence drawn with the colour font, centred in a square of @p size pixels,
 *  ARGB32_Premultiplied; a null image without the font or when nothing was drawn. */
GLYPHMORPH_AUTOTEST_EXPORT QImage draw(const QString &sequence, int size);

/** Writes the image that @p filePath names, imageSize pixels, and its twin NAME@2x.png, unless
 *  both are there; its directory is made when missing. False when either could not be written.
 *  Safe to call from any thread. */
GLYPHMORPH_AUTOTEST_EXPORT bool prepare(const QString &filePath);

} // namespace EmojiImages

#endif
