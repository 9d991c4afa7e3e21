// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonimagefile_p.h"

#include "boundedfile_p.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPixmapCache>
#include <QStringBuilder>
#include <QtMath>

EmoticonImageFile EmoticonImageFile::current(const QString &imagePath)
{
    // Trying the suffixes costs a stat each; while the file found stays, one stat per image.
    static QHash<QString, QString> resolved;
    QString path = resolved.value(imagePath);
    QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        path = BoundedFile::imageFile(imagePath);
        if (path.isEmpty()) {
            resolved.remove(imagePath);
            return {};
        }
        resolved.insert(imagePath, path);
        info = QFileInfo(path);
    }
    return { path,
        path % QLatin1Char('@') % QString::number(info.lastModified().toMSecsSinceEpoch())
            % QLatin1Char('@') % QString::number(info.size()) };
}

QTextImageFormat EmoticonImageFile::textFormat(const QString &imagePath, const QString &code)
{
    QTextImageFormat format;
    format.setName(imagePath);
    format.setProperty(QTextFormat::UserProperty, code);
    format.setVerticalAlignment(QTextCharFormat::AlignBottom);
    return format;
}

QPixmap EmoticonImageFile::pixmap(int ratio) const
{
    QPixmap pixmap;
    if (path.isEmpty())
        return pixmap;
    const QString twin = ratio > 1 ? BoundedFile::densityTwin(path, ratio) : QString();
    const bool sharp = !twin.isEmpty() && BoundedFile::isRegularFile(twin);
    const QString key = sharp ? identity % QLatin1Char('@') % QString::number(ratio) : identity;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    if (sharp) {
        pixmap = QPixmap::fromImage(BoundedFile::readImage(twin));
        pixmap.setDevicePixelRatio(ratio);
    }
    if (pixmap.isNull())
        pixmap = QPixmap::fromImage(BoundedFile::readImage(path));
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

int EmoticonImageFile::screenDensity()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        ? qCeil(qGuiApp->devicePixelRatio())
        : 1;
}
