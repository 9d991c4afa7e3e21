// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Theme archives from others: unpacked only as plain files and directories, within limits.
#ifndef GLYPHMORPH_THEMEARCHIVE_H
#define GLYPHMORPH_THEMEARCHIVE_H

#include <QString>

namespace Tool {

/** What an archive may hold at most: a theme is a description and a few dozen small images. */
struct ArchiveLimits
{
    int entries = 10000;
    qint64 fileBytes = 16 * 1024 * 1024;
    qint64 totalBytes = 256 * 1024 * 1024;
};

/** True when @p path names an archive by its suffix: .zip, .tar, .tar.gz (.tgz), .tar.xz
 *  (.txz), .tar.bz2 (.tbz2). */
bool isArchiveName(const QString &path);

/**
 * Unpacks @p archive into the existing empty directory @p directory. Refuses, naming the entry
 * and the reason in @p error, an archive with an absolute path, a ".." component, a link, a
 * device or other special entry, an entry given twice, or more entries or bytes than @p limits
 * allow; nothing is ever written outside @p directory. What was unpacked before a refusal stays
 * for the caller to delete with the directory.
 */
bool unpackArchive(const QString &archive, const QString &directory, QString *error,
    const ArchiveLimits &limits = ArchiveLimits());

} // namespace Tool

#endif
