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
    /** With format None: the subdirectories that each hold a theme, when there are several. */
    QStringList several;
};

/** The theme in @p directory itself, or else in the one subdirectory that holds one (as archives
 *  hold them). */
FoundTheme findTheme(const QString &directory);

/** What a conversion wrote and left out. */
struct Conversion
{
    /** The theme directory written. */
    QString directory;
    int emoticons = 0;
    int emoticonsLeftOut = 0;
    int codesLeftOut = 0;
    /** One per thing left out or worth knowing, as "FILE: line N: TEXT" where it has a line. */
    QStringList warnings;
};

/**
 * Writes @p source, a KDE or Pidgin theme, as a theme directory of this library's format below
 * @p targetParent: a description file and the images as PNG, each source image under a name of
 * its own. The theme is named by its description where the format has a name, else @p name. Its
 * UUID is derived from the format and the theme's name, so importing the same theme again
 * replaces it. What the library would not take (codes too long, with control characters or past
 * its budget, images it would not read, emoticons past the size of a description) is left out and
 * told in @p conversion. False with @p error set when nothing usable came of it or a write failed.
 */
bool convertTheme(const FoundTheme &source, const QString &name, const QString &targetParent,
    Conversion *conversion, QString *error);

} // namespace Tool

#endif
