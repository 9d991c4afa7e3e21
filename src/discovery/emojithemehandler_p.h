// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: publishes the built-in Emoji theme into the inspector's pipeline.
#ifndef GLYPHMORPH_EMOJITHEMEHANDLER_P_H
#define GLYPHMORPH_EMOJITHEMEHANDLER_P_H

#include "emojitheme_p.h"
#include "emoticontheme.h"

#include <QObject>

class MGConfItem;

/**
 * Publishes the Emoji theme where a colour emoji font can draw its images (none is, else, and
 * emoji stay text). Its images go into the subdirectory "emoji" of the emoticon image cache,
 * each drawn when text first names it; the preview is drawn once. The settings keys
 * "/Messaging/Settings/Emoji/ShortcodeSet" ("github", the default; "slack"; "cldr") and
 * "/Messaging/Settings/Emoji/AsciiSmileys" ("true" adds the built-in theme's codes) shape the
 * theme: when a change of either, made in any process, changes the theme, it is made again and
 * announced again (removed, then added).
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiThemeHandler : public QObject
{
    Q_OBJECT

public:
    explicit EmojiThemeHandler(QObject *parent = nullptr);
    ~EmojiThemeHandler() override;

    /** On the first call only: publishes the theme, if the font is there, and follows the
     *  settings. False when the theme is not offered. */
    bool init();
    /** The directory of the theme's images. */
    static QString imageDirectory();
    /** The options the settings choose now. */
    EmojiTheme::Options options() const;

Q_SIGNALS:
    void emojiThemeAdded(EmoticonTheme theme);
    /** Carries the theme announced before, when the settings changed it. */
    void emojiThemeRemoved(EmoticonTheme theme);

private Q_SLOTS:
    void handleSettingChanged();

private:
    void publish();

    MGConfItem *shortcodeSet = nullptr;
    MGConfItem *asciiSmileys = nullptr;
    bool initialised = false;
    EmoticonTheme published;
    EmojiTheme::Options publishedOptions;
};

#endif
