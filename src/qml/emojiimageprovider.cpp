// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojiimageprovider.h"

#include <emojipickermodel.h>

EmojiImageProvider::EmojiImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{ }

QImage EmojiImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const int pixels = qMax(requestedSize.width(), requestedSize.height());
    const QImage image = EmojiPickerModel::emojiImage(
        EmojiPickerModel::emojiOfImageKey(id), pixels > 0 ? pixels : 32);
    if (size)
        *size = image.size();
    return image;
}
