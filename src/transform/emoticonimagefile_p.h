// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the file behind an emoticon image path, and its pixmap.
#ifndef GLYPHMORPH_EMOTICONIMAGEFILE_P_H
#define GLYPHMORPH_EMOTICONIMAGEFILE_P_H

#include "glyphmorph_export.h"

#include <QPixmap>
#include <QString>
#include <QTextImageFormat>

/**
 * An image file as it is now. The built-in theme's images are rendered again under the same
 * paths when the platform theme changes, in this process or another; their time and size tell the
 * new file from the old, where the path alone cannot.
 */
struct GLYPHMORPH_AUTOTEST_EXPORT EmoticonImageFile
{
    /** The file @p imagePath stands for (a built-in image path has no suffix); empty when none. */
    static EmoticonImageFile current(const QString &imagePath);

    /** An emoticon image in an editor document: the image path as its name, the code it stands
     *  for as its user property, aligned with the bottom of the line. */
    static QTextImageFormat textFormat(const QString &imagePath, const QString &code);

    /** The image, from the process-wide pixmap cache while the file stays the same; null when the
     *  file cannot be read as an image. For @p ratio device pixels per pixel its sharper twin
     *  (NAME@2x.EXT for 2) where there is one, with that device pixel ratio, so that a document
     *  draws it at the image's size. */
    QPixmap pixmap(int ratio = screenDensity()) const;
    /** The device pixels per pixel of the densest screen, rounded up; 1 without a GUI. */
    static int screenDensity();

    QString path;
    /** Path, time and size: the pixmap cache key. */
    QString identity;
};

#endif
