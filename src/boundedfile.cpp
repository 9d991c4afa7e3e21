// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "boundedfile_p.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringBuilder>

bool BoundedFile::isRegularFile(const QString &path)
{
    // QFileInfo follows symbolic links: a link to a FIFO or a device is neither a file nor a dir.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool BoundedFile::read(const QString &path, qint64 maxSize, QByteArray *content)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > maxSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A read allocates what it may return: asking for the bound would allocate it every time.
    const qint64 expected = qMin(file.size(), maxSize);
    QByteArray bytes = file.read(expected + 1);
    // Bounded again: the file may have been replaced or grown since its size was taken.
    if (bytes.size() > expected && file.error() == QFileDevice::NoError)
        bytes += file.read(maxSize + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError || bytes.size() > maxSize)
        return false;
    *content = std::move(bytes);
    return true;
}

QString BoundedFile::imageFile(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    // A name without suffix stands for NAME.png and the like first, where the twins for dense
    // screens (NAME@2x.png) are found beside it; the built-in theme keeps a copy under the bare
    // name for programs other than Qt.
    if (info.suffix().isEmpty()) {
        const QList<QByteArray> formats = QImageReader::supportedImageFormats();
        for (const QByteArray &format : formats) {
            const QFileInfo candidate(path + QLatin1Char('.') + QLatin1String(format));
            if (candidate.exists() || candidate.isSymLink())
                return candidate.isFile() ? candidate.filePath() : QString();
        }
    }
    if (info.exists() || info.isSymLink())
        return info.isFile() ? path : QString();
    return QString();
}

QImage BoundedFile::readImage(const QString &path)
{
    QByteArray bytes;
    if (!read(imageFile(path), maxImageFileSize, &bytes))
        return QImage();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header tells the size before a single pixel is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxImageSide || size.height() > maxImageSide)
        return QImage();
    return reader.read();
}

QString BoundedFile::densityTwin(const QString &path, int ratio)
{
    const QFileInfo file(path);
    return file.path() % QLatin1Char('/') % file.completeBaseName() % QLatin1Char('@')
        % QString::number(ratio) % QLatin1String("x.") % file.suffix();
}
