// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojithemehandler_p.h"

#include "emojiimages_p.h"
#include "emoticonthemefactory.h"
#include "mgconfitem.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QLatin1String shortcodeSetKey("/Messaging/Settings/Emoji/ShortcodeSet");
const QLatin1String asciiSmileysKey("/Messaging/Settings/Emoji/AsciiSmileys");
const int previewSize = 100;
// U+1F600 GRINNING FACE, the theme's preview.
const char32_t previewEmoji[] = { 0x1F600 };

void writePreview(EmoticonTheme &theme)
{
    const QString name = QLatin1String("preview_") + theme.themeUUID();
    const QString path = EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->absoluteFilePath(
        name + QLatin1String(".png"));
    if (!QFileInfo::exists(path)) {
        const QImage image = EmojiImages::draw(QString::fromUcs4(previewEmoji, 1), previewSize);
        // Whole or not at all: an existing preview is never drawn again.
        QSaveFile file(path);
        if (image.isNull() || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG")
            || !file.commit())
            return;
    }
    theme.setPreviewPixmapName(name);
}

} // namespace

EmojiThemeHandler::EmojiThemeHandler(QObject *parent)
    : QObject(parent)
{ }

EmojiThemeHandler::~EmojiThemeHandler() = default;

bool EmojiThemeHandler::init()
{
    if (initialised)
        return published.isValid();
    initialised = true;
    // Without the font every image would be missing: emoji are better left as text.
    if (EmojiImages::colourFontFamily().isEmpty())
        return false;
    shortcodeSet = new MGConfItem(shortcodeSetKey, this);
    asciiSmileys = new MGConfItem(asciiSmileysKey, this);
    connect(shortcodeSet, SIGNAL(valueChanged()), this, SLOT(handleSettingChanged()));
    connect(asciiSmileys, SIGNAL(valueChanged()), this, SLOT(handleSettingChanged()));
    publish();
    return true;
}

QString EmojiThemeHandler::imageDirectory()
{
    // A directory of its own: the built-in theme's cache clean-up removes the "*.png" files of
    // the cache directory.
    return EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absoluteFilePath(
        QStringLiteral("emoji"));
}

EmojiTheme::Options EmojiThemeHandler::options() const
{
    EmojiTheme::Options chosen;
    if (!shortcodeSet)
        return chosen;
    const QString set = shortcodeSet->value().toString();
    if (set == QLatin1String("slack"))
        chosen.shortcodes = EmojiData::SlackShortcodes;
    else if (set == QLatin1String("cldr"))
        chosen.shortcodes = EmojiData::CldrShortcodes;
    chosen.asciiSmileys = asciiSmileys->value().toString() == QLatin1String("true");
    return chosen;
}

void EmojiThemeHandler::publish()
{
    publishedOptions = options();
    EmoticonTheme theme = EmojiTheme::create(publishedOptions, imageDirectory());
    writePreview(theme);
    if (published.isValid())
        Q_EMIT emojiThemeRemoved(published);
    published = theme;
    Q_EMIT emojiThemeAdded(theme);
}

void EmojiThemeHandler::handleSettingChanged()
{
    // A write of the value already in force changes no code.
    if (options() != publishedOptions)
        publish();
}
