// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojicellimage_p.h"

#include "emojiimages_p.h"

#include <QAtomicInt>
#include <QCache>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>

namespace {

// The Emoji theme's images are this size, their @2x twins twice as large.
constexpr int themeImageSize = EmojiImages::imageSize;
constexpr qint64 maxThemeImageBytes = 1024 * 1024;

QAtomicInt made;

struct Store
{
    QMutex mutex;
    // 8 MiB: a few hundred cells at the sizes pickers use.
    QCache<QString, QImage> images { 8 * 1024 * 1024 };
};

Store &store()
{
    static Store instance;
    return instance;
}

} // namespace

namespace EmojiCellImage {

QString key(const QString &emoji)
{
    return EmojiImages::fileName(emoji).chopped(4);
}

QString emojiOfKey(const QString &key)
{
    return EmojiImages::keyOfFile(key + QLatin1String(".png"));
}

QString themeImagePath(const QString &emoji, bool highDensity)
{
    return QDir::homePath() + QStringLiteral("/.emoticonthemecache/emoji/") + key(emoji)
        + (highDensity ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
}

QImage image(const QString &emoji, int pixels)
{
    if (emoji.isEmpty() || pixels <= 0
        || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QImage();
    const QString cacheKey = key(emoji) + QLatin1Char('/') + QString::number(pixels);
    Store &s = store();
    QMutexLocker lock(&s.mutex);
    if (const QImage *kept = s.images.object(cacheKey))
        return *kept;
    QImage result;
    const QString themeImage = themeImagePath(emoji, pixels > themeImageSize);
    const QFileInfo file(themeImage);
    // The theme's images are a few kilobytes; anything far larger is not one of them.
    if (file.isFile() && file.size() <= maxThemeImageBytes)
        result.load(themeImage);
    if (!result.isNull() && result.width() != pixels)
        result = result.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (result.isNull())
        result = EmojiImages::draw(emoji, pixels);
    made.fetchAndAddRelaxed(1);
    s.images.insert(cacheKey, new QImage(result), int(result.sizeInBytes()));
    return result;
}

void clearMemoryCache()
{
    Store &s = store();
    QMutexLocker lock(&s.mutex);
    s.images.clear();
}

int madeCount()
{
    return made.loadRelaxed();
}

} // namespace EmojiCellImage
