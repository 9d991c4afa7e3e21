// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_DEFAULTEMOTICONTHEMEHANDLER_H
#define GLYPHMORPH_DEFAULTEMOTICONTHEMEHANDLER_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QObject>

#include <memory>

class DefaultEmoticonThemeHandlerPrivate;

/**
 * Publishes the built-in emoticon theme, whose images are icons of the platform UI theme.
 *
 * The icons are rendered as 20x20 PNG files into the emoticon image cache, each beside a 40x40
 * twin NAME@2x.png drawn from the same icon (which Qt shows in place of NAME.png on screens of
 * double density), whenever the platform UI theme ("/meegotouch/theme/name") differs from the one
 * they were last rendered from ("/meegotouch/theme/CurrentMeegoTheme"), or when a cached image
 * or its twin is missing. The theme's HTML names each image without suffix; the image is there
 * under that name too, as a copy of NAME.png, for programs that do not guess a suffix. The theme is
 * announced once by init() and, after each platform theme change, removed and added again, also
 * when another process rendered the new images first.
 */
class GLYPHMORPH_EXPORT DefaultEmoticonThemeHandler : public QObject
{
    Q_OBJECT

public:
    /** Opens both settings keys; reads nothing yet. */
    explicit DefaultEmoticonThemeHandler(QObject *parent = nullptr);
    ~DefaultEmoticonThemeHandler() override;

    /** On the first call only: reloads the theme, then follows platform theme changes. */
    void init();
    /** Publishes the built-in theme, rendering its images first when they are out of date.
     *  False when the platform theme is not set (nothing is published) or an image could not
     *  be written (the theme is published all the same). */
    bool reloadDefaultEmoticonTheme();
    /** Removes the "*.png" files of the cache directory, each with its copy without suffix;
     *  stops at the first that cannot be removed and returns false. */
    bool deleteEmoticonCache();
    /** Removes the built-in theme's preview image; false when there was none to remove. */
    bool deleteEmoticonPreview();

Q_SIGNALS:
    void defaultThemeAdded(EmoticonTheme defaultTheme);
    /** Carries the theme announced before, when the platform theme changed. */
    void defaultThemeRemoved(EmoticonTheme defaultTheme);

private Q_SLOTS:
    void handleMThemeNameChanged();

private:
    const std::unique_ptr<DefaultEmoticonThemeHandlerPrivate> d;
};

#endif
