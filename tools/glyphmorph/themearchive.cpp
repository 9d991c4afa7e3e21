// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themearchive.h"

#include "rootchange.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace Tool {

namespace {

struct ArchiveCloser
{
    void operator()(archive *reader) const { archive_read_free(reader); }
};

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

// Why an entry of this type is not unpacked; empty for a file or a directory.
QString refusedType(archive_entry *entry)
{
    if (archive_entry_hardlink(entry))
        return QStringLiteral("is a hard link");
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
    case AE_IFDIR:
        return QString();
    case AE_IFLNK:
        return QStringLiteral("is a symbolic link");
    case AE_IFCHR:
    case AE_IFBLK:
        return QStringLiteral("is a device");
    case AE_IFIFO:
        return QStringLiteral("is a named pipe");
    case AE_IFSOCK:
        return QStringLiteral("is a socket");
    default:
        return QStringLiteral("is not a plain file or directory");
    }
}

// The entry's path relative to the directory it is unpacked into, or why it may not be one.
QString relativePath(const QString &name, QString *reason)
{
    if (name.startsWith(QLatin1Char('/'))) {
        *reason = QStringLiteral("has an absolute path");
        return QString();
    }
    QStringList parts;
    for (const QString &part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            *reason = QStringLiteral("has a \"..\" component");
            return QString();
        }
        for (const QChar c : part) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
                *reason = QStringLiteral("has a control character in its name");
                return QString();
            }
        }
        parts << part;
    }
    // "." and "./", as tar -C DIR . writes them, name the directory unpacked into.
    return parts.join(QLatin1Char('/'));
}

} // namespace

bool isArchiveName(const QString &path)
{
    static const char *const suffixes[]
        = { ".zip", ".tar", ".tar.gz", ".tgz", ".tar.xz", ".txz", ".tar.bz2", ".tbz2" };
    for (const char *suffix : suffixes) {
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool unpackArchive(const QString &archivePath, const QString &directory, QString *error,
    const ArchiveLimits &limits)
{
    const std::unique_ptr<archive, ArchiveCloser> reader(archive_read_new());
    archive_read_support_filter_gzip(reader.get());
    archive_read_support_filter_bzip2(reader.get());
    archive_read_support_filter_xz(reader.get());
    archive_read_support_format_tar(reader.get());
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(), 65536)
        != ARCHIVE_OK) {
        *error = QStringLiteral("%1: %2").arg(
            archivePath, QString::fromLocal8Bit(archive_error_string(reader.get())));
        return false;
    }

    const QDir root(directory);
    QSet<QString> files;
    int entries = 0;
    qint64 total = 0;
    const auto refuse = [error](const QString &name, const QString &reason) {
        *error = QStringLiteral("archive entry '%1' %2").arg(name, reason);
        return false;
    };
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN) {
            *error = QStringLiteral("%1: %2").arg(
                archivePath, QString::fromLocal8Bit(archive_error_string(reader.get())));
            return false;
        }
        const QString name = entryName(entry);
        if (++entries > limits.entries)
            return refuse(
                name, QStringLiteral("is one entry more than the %1 allowed").arg(limits.entries));
        QString reason = refusedType(entry);
        const QString path = reason.isEmpty() ? relativePath(name, &reason) : QString();
        if (!reason.isEmpty())
            return refuse(name, reason);
        const bool isDirectory = archive_entry_filetype(entry) == AE_IFDIR;
        if (path.isEmpty() && isDirectory)
            continue;
        if (path.isEmpty())
            return refuse(name, QStringLiteral("has no name"));

        if (isDirectory) {
            if (!root.mkpath(path))
                return refuse(name, QStringLiteral("cannot be made as a directory"));
            continue;
        }
        if (files.contains(path))
            return refuse(name, QStringLiteral("is given twice"));
        files.insert(path);
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !root.mkpath(path.left(slash)))
            return refuse(name, QStringLiteral("cannot be unpacked: its directory cannot be made"));
        NewFile file(root.filePath(path));
        QString written;
        if (!file.open(&written))
            return refuse(name, QStringLiteral("cannot be unpacked: ") + file.reason());
        qint64 size = 0;
        char buffer[65536];
        for (;;) {
            const la_ssize_t read = archive_read_data(reader.get(), buffer, sizeof buffer);
            if (read == 0)
                break;
            if (read < 0) {
                return refuse(name,
                    QStringLiteral("cannot be read: %1")
                        .arg(QString::fromLocal8Bit(archive_error_string(reader.get()))));
            }
            size += read;
            total += read;
            if (size > limits.fileBytes)
                return refuse(
                    name, QStringLiteral("unpacks to more than %1 bytes").arg(limits.fileBytes));
            if (total > limits.totalBytes)
                return refuse(name,
                    QStringLiteral("takes the archive past %1 unpacked bytes")
                        .arg(limits.totalBytes));
            if (!file.write(buffer, read, &written))
                return refuse(name, QStringLiteral("cannot be unpacked: ") + file.reason());
        }
        if (!file.close(&written))
            return refuse(name, QStringLiteral("cannot be unpacked: ") + file.reason());
        testPoint("unpacked");
    }
    return true;
}

} // namespace Tool
