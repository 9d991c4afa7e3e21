// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojiimages_p.h"

#include "boundedfile_p.h"
#include "emojitables_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QSaveFile>

namespace {

const QLatin1String preferredFamily("Noto Color Emoji");
// U+1F600 GRINNING FACE: yellow in every colour emoji font, black in a monochrome one.
const char32_t testEmoji[] = { 0x1F600 };
const int highDensityRatio = 2;

// Qt 5 lists the families through an instance, Qt 6 through a static function.
template<typename Database> auto familiesOf(int) -> decltype(Database::families())
{
    return Database::families();
}
template<typename Database> QStringList familiesOf(long)
{
    return Database().families();
}

// Qt's font engines are not shared between threads that draw at once.
QMutex &drawingMutex()
{
    static QMutex mutex;
    return mutex;
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

QImage drawnWith(const QString &family, const QString &text, int size)
{
    QFont font(family);
    int pixelSize = size;
    // The glyphs of a colour font are bitmaps that Qt scales to the pixel size; how much of the
    // square they fill differs (a flag is wider than a face), so a glyph too large is drawn again
    // smaller rather than scaled a second time.
    for (int attempt = 0; attempt < 4; ++attempt) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font);
        const int margin = size;
        QImage canvas(metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin,
            QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            painter.setFont(font);
            painter.drawText(QPointF(margin, margin + metrics.ascent()), text);
        }
        const QRect box = opaqueBounds(canvas);
        if (box.isEmpty())
            return QImage();
        const int extent = qMax(box.width(), box.height());
        if (extent <= size || attempt == 3) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            if (extent <= size) {
                painter.drawImage(
                    QPoint((size - box.width()) / 2, (size - box.height()) / 2), canvas, box);
            } else {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                const QSize fitted = box.size().scaled(size, size, Qt::KeepAspectRatio);
                painter.drawImage(
                    QRect(
                        QPoint((size - fitted.width()) / 2, (size - fitted.height()) / 2), fitted),
                    canvas, box);
            }
            return image;
        }
        pixelSize = qMin(pixelSize - 1, pixelSize * size / extent);
        if (pixelSize < 1)
            return QImage();
    }
    return QImage();
}

bool drawsInColour(const QImage &image)
{
    int opaque = 0;
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha < 128)
                continue;
            ++opaque;
            const int red = qRed(line[x]);
            const int green = qGreen(line[x]);
            const int blue = qBlue(line[x]);
            const int spread = qMax(red, qMax(green, blue)) - qMin(red, qMin(green, blue));
            if (spread * 255 / alpha > 64)
                ++coloured;
        }
    }
    return opaque > 0 && coloured * 4 >= opaque;
}

QString findColourFont()
{
    // Without a GUI application Qt has no font database: QFontDatabase would abort.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QString();
    QStringList candidates;
    const QStringList families = familiesOf<QFontDatabase>(0);
    for (const QString &family : families) {
        if (family == preferredFamily)
            candidates.prepend(family);
        else if (family.contains(QLatin1String("emoji"), Qt::CaseInsensitive))
            candidates.append(family);
    }
    const QString test = QString::fromUcs4(testEmoji, 1);
    for (const QString &family : qAsConst(candidates)) {
        // A family that fontconfig only substitutes is not the font asked for.
        if (QFontInfo(QFont(family)).family() != family)
            continue;
        QMutexLocker lock(&drawingMutex());
        if (drawsInColour(drawnWith(family, test, EmojiImages::imageSize)))
            return family;
    }
    return QString();
}

bool writePng(const QString &filePath, const QImage &image)
{
    // Whole or not at all: a torn image would count as drawn and never be drawn again.
    QSaveFile file(filePath);
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG")
        && file.commit();
}

} // namespace

namespace EmojiImages {

QString colourFontFamily()
{
    static const QString family = findColourFont();
    return family;
}

QString fileName(const QString &sequence)
{
    QString name;
    const QVector<uint> codePoints = sequence.toUcs4();
    for (const uint c : codePoints) {
        if (c == 0xFE0F)
            continue;
        if (!name.isEmpty())
            name += QLatin1Char('-');
        name += QString::number(c, 16);
    }
    return name + QLatin1String(".png");
}

QString keyOfFile(const QString &filePath)
{
    const QString name = QFileInfo(filePath).fileName();
    if (!name.endsWith(QLatin1String(".png")))
        return QString();
    const QStringList parts = name.chopped(4).split(QLatin1Char('-'));
    QVector<char32_t> codePoints;
    for (const QString &part : parts) {
        bool ok = false;
        const uint c = part.size() <= 6 ? part.toUInt(&ok, 16) : 0;
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFE0F)
            return QString();
        codePoints.append(c);
    }
    return QString::fromUcs4(codePoints.constData(), codePoints.size());
}

QImage draw(const QString &sequence, int size)
{
    const QString family = colourFontFamily();
    if (family.isEmpty() || size < 1)
        return QImage();
    QMutexLocker lock(&drawingMutex());
    // Qt 5.15 and 6.4 split some sequences with U+FE0F into several glyphs; without it the
    // font's ligature joins them.
    return drawnWith(family, EmojiTables::keyOf(sequence), size);
}

bool prepare(const QString &filePath)
{
    const QString key = keyOfFile(filePath);
    if (key.isEmpty())
        return false;
    const QString twin = BoundedFile::densityTwin(filePath, highDensityRatio);
    const QFileInfo image(filePath);
    // Serialised, so that two threads naming the same image draw it once.
    static QMutex preparing;
    QMutexLocker lock(&preparing);
    if (image.isFile() && QFileInfo::exists(twin))
        return true;
    if (!QDir().mkpath(image.path()))
        return false;
    // The twin first: once the image is there, so is its twin.
    return (QFileInfo::exists(twin) || writePng(twin, draw(key, imageSize * highDensityRatio)))
        && writePng(filePath, draw(key, imageSize));
}

} // namespace EmojiImages
