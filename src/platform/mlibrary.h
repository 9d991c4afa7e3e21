// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MLIBRARY_H
#define GLYPHMORPH_MLIBRARY_H

#include "glyphmorph_export.h"

#include <QString>

/**
 * Makes a library known to the platform by name, usually as an object with static storage
 * duration. While it exists, the library's stylesheet, the resource ":/stylesheets/NAME.css",
 * gives styles their attribute values; it is read when a style is first needed.
 */
class GLYPHMORPH_EXPORT MLibrary
{
public:
    explicit MLibrary(const QString &libraryName);
    ~MLibrary();
    MLibrary(const MLibrary &) = delete;
    MLibrary &operator=(const MLibrary &) = delete;

    QString name() const;

private:
    const QString m_name;
};

#endif
