// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the text format of the settings store and of its defaults files.
#ifndef GLYPHMORPH_SETTINGSFILE_P_H
#define GLYPHMORPH_SETTINGSFILE_P_H

#include "glyphmorph_export.h"

#include <QByteArray>
#include <QHash>
#include <QString>

/**
 * UTF-8 text, one "key=value" a line. Lines that are blank or start with '#' (after spaces) are
 * comments. In keys and values "\\", "\n" and "\r" stand for a backslash, line feed and carriage
 * return; keys also escape '=' as "\=" and '#' as "\#". The key ends at the first unescaped '='.
 */
namespace SettingsFile {

/** Settings hold a few short keys; a larger file is not read (and so never rewritten). */
constexpr qint64 maxSize = 16 * 1024 * 1024;

struct Content
{
    QHash<QString, QString> values;
    /** False when lines could not be read and were left out of values. */
    bool clean = true;
};

/** Reads @p text; a later line of a key wins. Unreadable lines are skipped, never fatal. */
GLYPHMORPH_AUTOTEST_EXPORT Content parse(const QByteArray &text);
/** Writes @p values sorted by key, so equal contents give equal files. */
GLYPHMORPH_AUTOTEST_EXPORT QByteArray serialize(const QHash<QString, QString> &values);

} // namespace SettingsFile

#endif
