// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MTHEME_H
#define GLYPHMORPH_MTHEME_H

#include "glyphmorph_export.h"
#include "mnamespace.h"

#include <QSize>
#include <QString>
#include <QStringList>

class QPalette;
class QPixmap;

/**
 * Platform UI themes and their icons.
 *
 * An icon id is an image's base name. Ids are looked up in the directories added with
 * addPixmapDirectory() first, then in the current platform UI theme (the value of
 * "/meegotouch/theme/name"), then in "base". Two themes are built in, "base" and "night"; a
 * system directory ($GLYPHMORPH_PLATFORM_THEMES_DIR, else /usr/share/glyphmorph0/themes) may add
 * more, each as NAME/icons/ID.svg or .png.
 *
 * A theme's colours are its NAME/palette.conf: lines ROLE=COLOUR, the roles named as in Qt style
 * sheets ("window", "window-text", "button", "highlight", ...); roles it leaves out are derived
 * from its "button" and "window" colours. Windows (MWindow) give their widgets that palette.
 */
class GLYPHMORPH_EXPORT MTheme
{
public:
    MTheme() = delete;

    /** Makes every image in @p directory (and below it, when recursive) an icon id. */
    static void addPixmapDirectory(
        const QString &directory, M::RecursionMode mode = M::NonRecursive);
    /** Forgets every directory added with addPixmapDirectory(). */
    static void clearPixmapDirectories();

    /** A new pixmap of icon @p id at @p size (the image's own size when invalid), or null for an
     *  unknown id and outside a GUI application. The caller owns it. */
    static QPixmap *pixmapCopy(const QString &id, const QSize &size = QSize());
    /** A pixmap shared by every caller asking for the same id and size; a null pixmap for an
     *  unknown id. Valid until releasePixmap() is called as often as pixmap() was. */
    static const QPixmap *pixmap(const QString &id, const QSize &size = QSize());
    static void releasePixmap(const QPixmap *pixmap);

    /** The current platform UI theme: "/meegotouch/theme/name" when it names a known theme,
     *  else "base". */
    static QString currentTheme();
    /** The palette of the current platform UI theme; the application's palette when the theme
     *  has no palette.conf. */
    static QPalette palette();
    /** The names of the known platform UI themes. */
    static QStringList availableThemes();
};

#endif
