// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "unsafefile_p.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace UnsafeFile {

namespace {

QString fileKind(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("nothing that can be examined");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(status.st_mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(status.st_mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("a directory");
    return QStringLiteral("not a regular file");
}

} // namespace

QString problem(const QString &path, const QStringList &allowed, QString *resolved)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return info.isSymLink() ? QStringLiteral("is a symbolic link to nothing")
                                : QStringLiteral("does not exist");
    }
    const QString target = info.canonicalFilePath();
    if (resolved)
        *resolved = target;
    if (!info.isFile()) {
        const QString kind = fileKind(target);
        return info.isSymLink() ? QStringLiteral("resolves to %1: %2").arg(kind, target)
                                : QStringLiteral("is ") + kind;
    }
    for (const QString &directory : allowed) {
        if (!directory.isEmpty() && target.startsWith(directory + QLatin1Char('/')))
            return QString();
    }
    return QStringLiteral("resolves outside the theme directory: ") + target;
}

} // namespace UnsafeFile
