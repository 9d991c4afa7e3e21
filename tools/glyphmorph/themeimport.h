// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Themes of other messengers (KDE's emoticons.xml, Pidgin's theme file) in this library's format.
#ifndef GLYPHMORPH_THEMEIMPORT_H
#define GLYPHMORPH_THEMEIMPORT_H

#include <QString>
#include <QStringList>

namespace Tool {

/** A theme found in a directory that was given or unpacked. */
struct FoundTheme
{
    enum Format
    {
        None,
        Native, ///< NAME/NAME.xml
        Kde, ///< emoticons.xml
        Pidgin, ///< theme
    };
    Format format = None;
    /** The directory that holds the description file. */
    QString directory;
};

/** The theme in @p directory itself, or else in its only subdirectory (as archives hold them). */
FoundTheme findTheme(const QString &directory);

/**
 * Writes @p source, a KDE or Pidgin theme, as a theme directory of this library's format below
 * @p targetParent: a description file and the images as PNG. Its UUID is derived from the format
 * and the theme's name, so importing the same theme again replaces it. Sets @p themeDirectory to
 * the directory written, and adds to @p warnings what was left out (codes given twice, images
 * that cannot be read). False with @p error set when nothing usable came of it.
 */
bool convertTheme(const FoundTheme &source, const QString &targetParent, QString *themeDirectory,
    QStringList *warnings, QString *error);

} // namespace Tool

#endif
