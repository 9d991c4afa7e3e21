// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonimageprovider.h"

#include <mtheme.h>

#include <memory>

EmoticonImageProvider::EmoticonImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Pixmap)
{ }

QPixmap EmoticonImageProvider::requestPixmap(
    const QString &id, QSize *size, const QSize &requestedSize)
{
    // An Image that gives only one side of its source size keeps the icon square.
    QSize wanted = requestedSize;
    if (wanted.width() > 0 && wanted.height() <= 0)
        wanted.setHeight(wanted.width());
    else if (wanted.height() > 0 && wanted.width() <= 0)
        wanted.setWidth(wanted.height());
    const std::unique_ptr<QPixmap> pixmap(MTheme::pixmapCopy(id, wanted));
    const QPixmap result = pixmap ? *pixmap : QPixmap();
    if (size)
        *size = result.size();
    return result;
}
