// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_QML_EMOTICONIMAGEPROVIDER_H
#define GLYPHMORPH_QML_EMOTICONIMAGEPROVIDER_H

#include <QQuickImageProvider>

/** "image://glyphmorph/ID": the platform icon ID (a picker image, a theme preview) drawn at the
 *  size the Image asks for, so that SVG icons stay sharp. */
class EmoticonImageProvider : public QQuickImageProvider
{
public:
    EmoticonImageProvider();

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override;
};

#endif
