// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemefactory.h"

#include "boundedfile_p.h"
#include "mnamespace.h"
#include "mtheme.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>

#include <memory>

QDir *EmoticonThemeFactory::defaultCachedEmoticonDirectory = nullptr;
QDir *EmoticonThemeFactory::defaultPreviewPixmapDirectory = nullptr;

namespace {

const QLatin1String cacheDirectoryName(".emoticonthemecache");
const QLatin1String previewDirectoryName(".emoticonthemepreview");
const QLatin1String previewPrefix("preview_");
const QLatin1String pngSuffix(".png");
const QSize platformIconPreviewSize(100, 100);

QDir *homeDirectory(QDir *&member, const QString &name)
{
    if (member)
        return member;
    QDir(QDir::homePath()).mkdir(name);
    member = new QDir(QDir::homePath() % QLatin1Char('/') % name);
    MTheme::addPixmapDirectory(member->absolutePath(), M::Recursive);
    return member;
}

QImage platformIcon(const QString &id)
{
    const std::unique_ptr<QPixmap> pixmap(MTheme::pixmapCopy(id, platformIconPreviewSize));
    return pixmap ? pixmap->toImage() : QImage();
}

// The UUID becomes part of a file name: one that would name a file elsewhere gets no file.
bool isPlainFileName(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == QLatin1Char('/'))
            return false;
    }
    return true;
}

} // namespace

EmoticonThemeFactory::EmoticonThemeFactory()
{
    QDir home(QDir::homePath());
    home.mkdir(previewDirectoryName);
    home.mkdir(cacheDirectoryName);
}

QDir *EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()
{
    return homeDirectory(defaultCachedEmoticonDirectory, cacheDirectoryName);
}

QDir *EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()
{
    return homeDirectory(defaultPreviewPixmapDirectory, previewDirectoryName);
}

void EmoticonThemeFactory::setPreviewPixmap(EmoticonTheme &theme)
{
    const QString themeUUID = theme.themeUUID();
    if (themeUUID.isEmpty())
        return;
    const QString pixmapName = previewPrefix + themeUUID;
    if (isPlainFileName(pixmapName)) {
        const QString path = DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->absolutePath() % QLatin1Char('/')
            % pixmapName % pngSuffix;
        if (!QFileInfo::exists(path))
            generatePreviewPixmap(path, theme);
    }
    theme.setPreviewPixmapName(pixmapName);
}

bool EmoticonThemeFactory::generatePreviewPixmap(
    const QString &targetFilePath, EmoticonTheme &theme)
{
    const QString iconName = theme.previewIconName();
    QImage image;
    if (!iconName.endsWith(pngSuffix)) {
        image = platformIcon(QFileInfo(iconName).baseName());
    } else {
        // A FIFO or a device in its place counts as missing: reading it may never end.
        if (!BoundedFile::isRegularFile(iconName))
            return false;
        image = BoundedFile::readImage(iconName);
    }
    if (image.isNull())
        return false;
    // Written whole or not at all: an existing preview is never replaced, so a torn one would stay.
    QSaveFile file(targetFilePath);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG", -1))
        file.commit();
    return true;
}
