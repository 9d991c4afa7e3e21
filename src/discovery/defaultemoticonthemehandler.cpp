// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "defaultemoticonthemehandler.h"

#include "boundedfile_p.h"

#include "emoticonthemefactory.h"
#include "mgconfitem.h"
#include "mtheme.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QSaveFile>

namespace {

const QLatin1String platformThemeKey("/meegotouch/theme/name");
const QLatin1String renderedThemeKey("/meegotouch/theme/CurrentMeegoTheme");
const QLatin1String defaultThemeUUID("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QSize cachedIconSize(20, 20);
// Beside each image its double-size twin, drawn from the same icon: Qt shows NAME@2x.png in
// place of NAME.png on screens of two device pixels per pixel.
const int highDensityRatio = 2;

EmoticonTheme localisedDefaultTheme()
{
    EmoticonTheme theme = EmoticonThemeFactory::defaultEmoticonTheme();
    theme.setThemeName(qtTrId("qtn_msg_settings_default_theme"));
    return theme;
}

// The HTML names each image by its theme file, which has no suffix, while the cache holds
// NAME.png: Qt guesses the suffix, but a browser or a mail reader does not. A copy under the very
// name lets every program load it. By rendered file, its copy.
QHash<QString, QString> copiesByImage(const EmoticonTheme &theme)
{
    const QHash<QString, QString> &images = theme.filepathToPickerImageMapping();
    QHash<QString, QString> copies;
    const QHash<QString, QString> &named = theme.codeSequenceToFilepathMapping();
    for (const QString &name : named) {
        const QString image = name + QLatin1String(".png");
        if (!images.contains(name) && images.contains(image))
            copies.insert(image, name);
    }
    return copies;
}

bool hasMissingImage(const EmoticonTheme &theme)
{
    const QHash<QString, QString> &images = theme.filepathToPickerImageMapping();
    const QHash<QString, QString> copies = copiesByImage(theme);
    for (auto path = images.keyBegin(); path != images.keyEnd(); ++path) {
        if (!path->isEmpty()
            && (!QFileInfo(*path).isFile()
                || !QFileInfo(BoundedFile::densityTwin(*path, highDensityRatio)).isFile()
                || (copies.contains(*path) && !QFileInfo(copies.value(*path)).isFile())))
            return true;
    }
    return false;
}

QByteArray renderedIcon(const QString &iconId, const QSize &size)
{
    QByteArray png;
    const std::unique_ptr<QPixmap> pixmap(MTheme::pixmapCopy(iconId, size));
    if (!pixmap || pixmap->isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!pixmap->save(&buffer, "PNG", -1))
        png.clear();
    return png;
}

bool writeWhole(const QString &filePath, const QByteArray &bytes)
{
    // Whole or not at all: a torn image would count as present and never be rendered again.
    QSaveFile file(filePath);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
        && file.commit();
}

/** Renders the image at @p filePath and its twin; @p copyPath, when set, gets the image too. */
bool renderIcons(const QString &filePath, const QString &copyPath)
{
    const QString iconId = QFileInfo(filePath).baseName();
    // The twin first: the cache may be a registered pixmap directory, whose image of this icon
    // id, once written, would be blown up for the twin instead of the icon drawn afresh.
    if (!writeWhole(BoundedFile::densityTwin(filePath, highDensityRatio),
            renderedIcon(iconId, cachedIconSize * highDensityRatio)))
        return false;
    const QByteArray image = renderedIcon(iconId, cachedIconSize);
    return writeWhole(filePath, image) && (copyPath.isEmpty() || writeWhole(copyPath, image));
}

} // namespace

class DefaultEmoticonThemeHandlerPrivate
{
public:
    explicit DefaultEmoticonThemeHandlerPrivate(DefaultEmoticonThemeHandler *q)
        : platformThemeName(new MGConfItem(platformThemeKey, q))
        , renderedThemeName(new MGConfItem(renderedThemeKey, q))
    { }
    DefaultEmoticonThemeHandlerPrivate(const DefaultEmoticonThemeHandlerPrivate &) = delete;
    DefaultEmoticonThemeHandlerPrivate &operator=(const DefaultEmoticonThemeHandlerPrivate &)
        = delete;

    MGConfItem *const platformThemeName;
    MGConfItem *const renderedThemeName;
    bool initialised = false;
    EmoticonTheme defaultTheme;
    /** The platform theme whose images defaultTheme was announced with. */
    QString publishedFrom;
};

DefaultEmoticonThemeHandler::DefaultEmoticonThemeHandler(QObject *parent)
    : QObject(parent)
    , d(new DefaultEmoticonThemeHandlerPrivate(this))
{ }

DefaultEmoticonThemeHandler::~DefaultEmoticonThemeHandler() = default;

void DefaultEmoticonThemeHandler::init()
{
    if (d->initialised)
        return;
    d->initialised = true;
    reloadDefaultEmoticonTheme();
    connect(d->platformThemeName, SIGNAL(valueChanged()), this, SLOT(handleMThemeNameChanged()));
}

bool DefaultEmoticonThemeHandler::reloadDefaultEmoticonTheme()
{
    const QVariant platformTheme = d->platformThemeName->value();
    if (!platformTheme.isValid())
        return false;

    const QString platformThemeName = platformTheme.toString();
    if (platformThemeName == d->renderedThemeName->value().toString()) {
        EmoticonTheme theme = localisedDefaultTheme();
        // A user may have cleared the cache; a theme whose images are gone shows no emoticons.
        if (!hasMissingImage(theme)) {
            // Another process of the user rendered the new images first; what this one
            // announced still shows the old ones.
            if (d->defaultTheme.isValid() && d->publishedFrom != platformThemeName)
                Q_EMIT defaultThemeRemoved(d->defaultTheme);
            d->defaultTheme = theme;
            d->publishedFrom = platformThemeName;
            Q_EMIT defaultThemeAdded(theme);
            return true;
        }
    } else {
        d->renderedThemeName->set(platformTheme);
    }

    if (d->defaultTheme.isValid())
        Q_EMIT defaultThemeRemoved(d->defaultTheme);
    deleteEmoticonPreview();
    deleteEmoticonCache();

    // Created after the preview is gone, so that the preview is drawn from the new icons.
    EmoticonTheme theme = localisedDefaultTheme();
    d->defaultTheme = theme;
    QDir().mkpath(EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absolutePath());
    bool ok = true;
    const QHash<QString, QString> &images = theme.filepathToPickerImageMapping();
    const QHash<QString, QString> copies = copiesByImage(theme);
    for (auto path = images.keyBegin(); ok && path != images.keyEnd(); ++path)
        ok = renderIcons(*path, copies.value(*path));
    EmoticonThemeFactory::setPreviewPixmap(theme);
    d->publishedFrom = platformThemeName;
    Q_EMIT defaultThemeAdded(theme);
    return ok;
}

void DefaultEmoticonThemeHandler::handleMThemeNameChanged()
{
    reloadDefaultEmoticonTheme();
}

bool DefaultEmoticonThemeHandler::deleteEmoticonCache()
{
    const QDir cache(*EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY());
    const QFileInfoList entries
        = cache.entryInfoList({ QStringLiteral("*.png") }, QDir::Files, QDir::NoSort);
    bool ok = true;
    for (auto entry = entries.cbegin(); ok && entry != entries.cend(); ++entry) {
        ok = QFile::remove(entry->filePath());
        // With the copy of a built-in image under the name its HTML gives.
        const QFileInfo copy(entry->path() + QLatin1Char('/') + entry->completeBaseName());
        if (ok && copy.isFile())
            ok = QFile::remove(copy.filePath());
    }
    return ok;
}

bool DefaultEmoticonThemeHandler::deleteEmoticonPreview()
{
    const QString fileName = QStringLiteral("preview_%1.png").arg(defaultThemeUUID);
    return QFile::remove(
        EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->absoluteFilePath(fileName));
}
