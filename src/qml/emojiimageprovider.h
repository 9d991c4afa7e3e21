// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_QML_EMOJIIMAGEPROVIDER_H
#define GLYPHMORPH_QML_EMOJIIMAGEPROVIDER_H

#include <QQuickImageProvider>

/** "image://glyphmorphemoji/KEY": the emoji of an EmojiPickerModel imageKey, drawn at the size
 *  asked for (32 pixels when none is). */
class EmojiImageProvider : public QQuickImageProvider
{
public:
    EmojiImageProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};

#endif
