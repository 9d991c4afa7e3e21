// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: reading files that others put in place (themes, caches) without trusting them.
#ifndef GLYPHMORPH_BOUNDEDFILE_P_H
#define GLYPHMORPH_BOUNDEDFILE_P_H

#include "glyphmorph_export.h"

#include <QByteArray>
#include <QImage>
#include <QString>

/**
 * Only regular files are opened (symbolic links resolved): a FIFO never ends, a device may never
 * end, and neither has a size to check. Every read has a size bound, and images a bound on their
 * dimensions, so a small file cannot make the process allocate gigabytes.
 */
class GLYPHMORPH_AUTOTEST_EXPORT BoundedFile
{
public:
    static constexpr qint64 maxImageFileSize = 4 * 1024 * 1024;
    static constexpr int maxImageSide = 2048;

    /** True when @p path resolves to a regular file. */
    static bool isRegularFile(const QString &path);
    /** The content of @p path when it resolves to a regular file of at most @p maxSize bytes. */
    static bool read(const QString &path, qint64 maxSize, QByteArray *content);
    /** The file an image path stands for: for a path without suffix, the path with the suffix of
     *  the first image format that names an existing file, if any (as QPixmap and QImageReader
     *  look one up); else the path itself when something exists there. Null when that file is
     *  not a regular file. */
    static QString imageFile(const QString &path);
    /** The image @p path stands for (see imageFile()), read from at most maxImageFileSize bytes and
     *  at most maxImageSide pixels a side; a null image otherwise. */
    static QImage readImage(const QString &path);
    /** NAME@Nx.EXT beside NAME.EXT (@p ratio N): the image for screens of N device pixels per
     *  pixel, where Qt looks for it. */
    static QString densityTwin(const QString &path, int ratio);
};

#endif
