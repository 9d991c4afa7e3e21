// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemedirectorywatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// What tells one directory from another that took its name: a theme replaced in one go
// ("rm -rf T && cp -r new T", or a description file renamed over the old one) has a new identity
// under the same path. The birth time tells a new file from an old one whose inode was reused.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 birthSeconds = 0;
    quint32 birthNanoseconds = 0;

    bool exists() const { return inode != 0; }
    bool operator==(const FileIdentity &other) const
    {
        return device == other.device && inode == other.inode && birthSeconds == other.birthSeconds
            && birthNanoseconds == other.birthNanoseconds;
    }
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }
};

FileIdentity fileIdentity(const QString &path)
{
    FileIdentity identity;
    struct statx buffer;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_INO | STATX_BTIME, &buffer)
        != 0)
        return identity;
    identity.device = (quint64(buffer.stx_dev_major) << 32) | buffer.stx_dev_minor;
    identity.inode = buffer.stx_ino;
    if (buffer.stx_mask & STATX_BTIME) {
        identity.birthSeconds = buffer.stx_btime.tv_sec;
        identity.birthNanoseconds = buffer.stx_btime.tv_nsec;
    }
    return identity;
}

struct DirectoryIdentity
{
    FileIdentity directory;
    FileIdentity description;

    /** True when @p now is another directory, or another description file than the one seen
     *  before; a description file that appears for the first time is the same theme arriving. */
    bool replacedBy(const DirectoryIdentity &now) const
    {
        return directory != now.directory
            || (description.exists() && description != now.description);
    }
};

DirectoryIdentity directoryIdentity(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return { fileIdentity(path),
        fileIdentity(path % QLatin1Char('/') % name % QLatin1String(".xml")) };
}

} // namespace

class EmoticonThemeDirectoryWatcherPrivate
{
public:
    QStringList listRoot() const
    {
        QStringList paths;
        const QFileInfoList entries
            = QDir(rootPath).entryInfoList(QDir::AllDirs | QDir::NoDotAndDotDot, QDir::NoSort);
        paths.reserve(entries.size());
        for (const QFileInfo &entry : entries)
            paths.append(entry.absoluteFilePath());
        return paths;
    }

    // Each theme directory is watched too (in the same watcher, so no further inotify instance):
    // a description file renamed over the old one changes the theme but not the root.
    void watchThemeDirectories(const QStringList &paths)
    {
        QStringList unwatched;
        const QStringList watched = fileSystemWatcher->directories();
        const QSet<QString> current(paths.cbegin(), paths.cend());
        for (const QString &path : watched) {
            if (path != rootPath && !current.contains(path))
                fileSystemWatcher->removePath(path);
        }
        const QSet<QString> already(watched.cbegin(), watched.cend());
        for (const QString &path : paths) {
            if (!already.contains(path))
                unwatched.append(path);
        }
        if (!unwatched.isEmpty())
            fileSystemWatcher->addPaths(unwatched);
    }

    // A root that does not exist yet is waited for: the nearest directory above it that exists
    // is watched, and each change there looks again.
    void awaitRoot(EmoticonThemeDirectoryWatcher *q)
    {
        QString above = QDir::cleanPath(QDir(rootPath).absolutePath());
        do
            above = QFileInfo(above).path();
        while (!QFileInfo(above).isDir() && above != QLatin1String("/"));
        if (rootWaiter && rootWaiter->directories() == QStringList { above })
            return;
        stopAwaitingRoot();
        rootWaiter = new QFileSystemWatcher(q);
        QObject::connect(rootWaiter, &QFileSystemWatcher::directoryChanged, q,
            [q] { q->initializeEmoticonThemeDirectoryWatcher(); });
        rootWaiter->addPath(above);
    }

    // Later: it may be the one reporting the change that ends the wait.
    void stopAwaitingRoot()
    {
        if (rootWaiter)
            rootWaiter->deleteLater();
        rootWaiter = nullptr;
    }

    QFileSystemWatcher *fileSystemWatcher = nullptr;
    QFileSystemWatcher *rootWaiter = nullptr;
    QStringList directoryPaths;
    QStringList snapshot;
    QHash<QString, DirectoryIdentity> identities;
    QString rootPath;
    bool active = false;
};

EmoticonThemeDirectoryWatcher::EmoticonThemeDirectoryWatcher(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<EmoticonThemeDirectoryWatcherPrivate>())
{ }

EmoticonThemeDirectoryWatcher::~EmoticonThemeDirectoryWatcher() = default;

void EmoticonThemeDirectoryWatcher::setEmoticonThemeDirectoryPath(const QString &path)
{
    d->rootPath = path;
    initializeEmoticonThemeDirectoryWatcher();
}

bool EmoticonThemeDirectoryWatcher::isActive() const
{
    return d->active;
}

void EmoticonThemeDirectoryWatcher::initializeEmoticonThemeDirectoryWatcher()
{
    if (!QFileInfo(d->rootPath).isDir()) {
        d->active = false;
        d->awaitRoot(this);
        return;
    }
    d->stopAwaitingRoot();
    delete d->fileSystemWatcher;
    d->fileSystemWatcher = nullptr;
    buildSubDirectoryList();
    d->fileSystemWatcher = new QFileSystemWatcher(this);
    connect(d->fileSystemWatcher, SIGNAL(directoryChanged(QString)), this,
        SLOT(handleEmoticonThemeDirectoryChanged(QString)));
    d->fileSystemWatcher->addPath(d->rootPath);
    d->watchThemeDirectories(d->snapshot);
    d->active = true;
}

void EmoticonThemeDirectoryWatcher::buildSubDirectoryList()
{
    d->directoryPaths.clear();
    d->identities.clear();
    d->snapshot = d->listRoot();
    for (const QString &path : qAsConst(d->snapshot))
        d->identities.insert(path, directoryIdentity(path));
    if (d->fileSystemWatcher)
        d->watchThemeDirectories(d->snapshot);
    // A receiver may run a nested event loop or re-list; iterate over a copy.
    const QStringList paths = d->snapshot;
    for (const QString &path : paths) {
        d->directoryPaths.append(path);
        Q_EMIT themeDirectoryAdded(path);
    }
}

void EmoticonThemeDirectoryWatcher::identifyEmoticonThemeDirectoryChanges()
{
    const QStringList listing = d->listRoot();
    const QSet<QString> before(d->snapshot.cbegin(), d->snapshot.cend());
    const QStringList previous = d->snapshot;
    QHash<QString, DirectoryIdentity> identities;
    for (const QString &path : listing)
        identities.insert(path, directoryIdentity(path));
    QSet<QString> replaced;
    for (const QString &path : previous) {
        const auto now = identities.constFind(path);
        if (now != identities.cend() && d->identities.value(path).replacedBy(*now))
            replaced.insert(path);
    }
    d->snapshot = listing;
    d->identities = identities;
    d->watchThemeDirectories(listing);
    // One notification can carry both an addition and a removal (a rename, one theme created
    // while another is deleted, or a directory replaced). Removals go first, so a renamed theme is
    // unregistered before it is found again under its new name and is not refused as a duplicate
    // of itself.
    for (const QString &path : previous) {
        if (!identities.contains(path) || replaced.contains(path))
            handleEmoticonThemeDirectoryRemoval(path);
    }
    for (const QString &path : listing) {
        if (!before.contains(path) || replaced.contains(path))
            handleEmoticonThemeDirectoryInsertion(path);
    }
}

void EmoticonThemeDirectoryWatcher::handleEmoticonThemeDirectoryInsertion(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return;
    d->directoryPaths.append(path);
    Q_EMIT themeDirectoryAdded(path);
}

void EmoticonThemeDirectoryWatcher::handleEmoticonThemeDirectoryRemoval(const QString &path)
{
    if (!d->directoryPaths.removeOne(path))
        return;
    Q_EMIT themeDirectoryRemoved(path);
}

void EmoticonThemeDirectoryWatcher::handleEmoticonThemeDirectoryChanged(const QString &path)
{
    // A change inside one theme directory concerns that directory only: while themes are copied
    // in, these come by the hundred, and the root may hold hundreds of themes.
    const auto known = d->identities.find(path);
    if (path == d->rootPath || known == d->identities.end()) {
        identifyEmoticonThemeDirectoryChanges();
        return;
    }
    const DirectoryIdentity now = directoryIdentity(path);
    if (!known->directory.exists() || now.directory != known->directory) {
        // Gone or replaced: the root changed too, and its listing tells which.
        identifyEmoticonThemeDirectoryChanges();
        return;
    }
    const bool replaced = known->replacedBy(now);
    *known = now;
    if (replaced) {
        handleEmoticonThemeDirectoryRemoval(path);
        handleEmoticonThemeDirectoryInsertion(path);
    }
}
