// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEFACTORY_H
#define GLYPHMORPH_EMOTICONTHEMEFACTORY_H

#include "emoticontheme.h"
#include "emoticonthemediagnosis.h"
#include "glyphmorph_export.h"

#include <QHash>
#include <QString>
#include <QVariant>

class QDir;
class QFileInfo;

/**
 * Builds emoticon themes from theme files and keeps the two per-user image directories:
 * "~/.emoticonthemecache" (PNG copies of the built-in theme's images) and
 * "~/.emoticonthemepreview" (one "preview_" + theme UUID + ".png" per theme). Both are registered
 * with MTheme as pixmap directories, so their images are platform pixmap ids by base name.
 *
 * Every failure yields a theme whose isValid() is false. A theme file is input from outside:
 * anything but a regular file, files larger than maxThemeFileSize, elements nested deeper than
 * maxThemeFileDepth, files that declare entities (the format needs none, and their expansion has
 * no useful bound) and anything not well-formed give an empty theme.
 */
class GLYPHMORPH_EXPORT EmoticonThemeFactory
{
public:
    static constexpr qint64 maxThemeFileSize = 4 * 1024 * 1024;
    /** Theme files nest three elements deep; the limit leaves room and keeps the parser's
     *  recursion far from the end of the stack. */
    static constexpr int maxThemeFileDepth = 64;

    /** Creates both directories below the home directory; registers nothing. */
    EmoticonThemeFactory();

    /** The cache directory, created and registered with MTheme on first use; never deleted. */
    static QDir *DEFAULT_CACHED_EMOTICON_DIRECTORY();
    /** The preview directory, created and registered with MTheme on first use; never deleted. */
    static QDir *DEFAULT_PREVIEW_PIXMAP_DIRECTORY();

    /** Writes the theme's preview file unless it exists, and sets previewPixmapName() to
     *  "preview_" + themeUUID(). Does nothing for a theme without UUID. */
    static void setPreviewPixmap(EmoticonTheme &theme);
    /** Saves the theme's preview image to @p targetFilePath as PNG: 100x100 from the platform icon
     *  named by previewIconName()'s base name, or the image itself when that names a ".png" file.
     *  False when no image could be obtained. */
    static bool generatePreviewPixmap(const QString &targetFilePath, EmoticonTheme &theme);

    /** The theme described by the XML file @p file; images are relative to its directory. */
    static EmoticonTheme emoticonThemeFromXML(const QFileInfo &file);
    static EmoticonTheme emoticonThemeFromXML(const QString &filePath);
    /** Whether a theme installed from @p themeDirectory would be used, and if not, why: the file
     *  DIR/NAME.xml, NAME being the directory's name, read as emoticonThemeFromXML() reads it, and
     *  the files it names. Opens no image file that is not a regular file inside the directory.
     *  Themes already installed are not looked at. */
    static EmoticonThemeDiagnosis diagnoseTheme(const QString &themeDirectory);
    /** The built-in theme, from ":/default_theme_resources/default_theme.xml". */
    static EmoticonTheme defaultEmoticonTheme();
    /**
     * The theme of a parse result: "themeUUID", "themeName", "serviceUUID" and "baseDirectory"
     * (QString) and "emoticons" (QList<EmoticonParsingItem>, see emoticonparsingitem.h). The
     * search tree is built; a valid theme gets its preview. File texts with a ".." component or
     * control characters are not used.
     */
    static EmoticonTheme emoticonThemeFromHashMap(QHash<QString, QVariant> map);

private:
    static QDir *defaultCachedEmoticonDirectory;
    static QDir *defaultPreviewPixmapDirectory;
};

#endif
