// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojicellimage_p.h"

#include <QAtomicInt>
#include <QCache>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

namespace {

constexpr char32_t variationSelector16 = 0xFE0F;
// The Emoji theme's images are this size, their @2x twins twice as large.
constexpr int themeImageSize = 20;
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

QRect opaqueBounds(const QImage &image)
{
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage drawn(const QString &emoji, int pixels)
{
    QString text;
    const QVector<uint> codePoints = emoji.toUcs4();
    for (uint c : codePoints) {
        // Qt splits some sequences with U+FE0F into several glyphs.
        if (c != variationSelector16)
            text.append(QString::fromUcs4(&c, 1));
    }
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    QImage canvas(metrics.horizontalAdvance(text) + 2 * pixels, metrics.height() + 2 * pixels,
        QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.drawText(QPointF(pixels, pixels + metrics.ascent()), text);
    }
    const QRect box = opaqueBounds(canvas);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (box.isEmpty())
        return image;
    // Glyphs differ in how much of the square they fill (a flag is wider than a face).
    const QSize fitted = box.size().boundedTo(QSize(pixels, pixels)) == box.size()
        ? box.size()
        : box.size().scaled(pixels, pixels, Qt::KeepAspectRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRect(QPoint((pixels - fitted.width()) / 2, (pixels - fitted.height()) / 2), fitted),
        canvas, box);
    return image;
}

} // namespace

namespace EmojiCellImage {

QString key(const QString &emoji)
{
    QStringList parts;
    const QVector<uint> codePoints = emoji.toUcs4();
    for (uint c : codePoints) {
        if (c != variationSelector16)
            parts.append(QString::number(c, 16));
    }
    return parts.join(QLatin1Char('-'));
}

QString emojiOfKey(const QString &key)
{
    QString emoji;
    const QStringList parts = key.split(QLatin1Char('-'));
    for (const QString &part : parts) {
        bool ok = false;
        const uint c = part.toUInt(&ok, 16);
        if (!ok || c == 0 || c > 0x10FFFF || part.size() > 6)
            return QString();
        emoji.append(QString::fromUcs4(&c, 1));
    }
    return emoji;
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
        result = drawn(emoji, pixels);
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
