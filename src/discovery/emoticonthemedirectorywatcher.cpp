// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemedirectorywatcher.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <QStringList>

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

    QFileSystemWatcher *fileSystemWatcher = nullptr;
    QStringList directoryPaths;
    QStringList snapshot;
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
        return;
    }
    delete d->fileSystemWatcher;
    d->fileSystemWatcher = nullptr;
    buildSubDirectoryList();
    d->fileSystemWatcher = new QFileSystemWatcher(this);
    connect(d->fileSystemWatcher, SIGNAL(directoryChanged(QString)), this,
        SLOT(handleEmoticonThemeDirectoryChanged()));
    d->fileSystemWatcher->addPath(d->rootPath);
    d->active = true;
}

void EmoticonThemeDirectoryWatcher::buildSubDirectoryList()
{
    d->directoryPaths.clear();
    d->snapshot = d->listRoot();
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
    const QSet<QString> after(listing.cbegin(), listing.cend());
    const QStringList previous = d->snapshot;
    d->snapshot = listing;

    // One notification can carry both an addition and a removal (a rename, or one theme created
    // while another is deleted). Removals go first, so a renamed theme is unregistered before it
    // is found again under its new name and is not refused as a duplicate of itself.
    for (const QString &path : previous) {
        if (!after.contains(path))
            handleEmoticonThemeDirectoryRemoval(path);
    }
    for (const QString &path : listing) {
        if (!before.contains(path))
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

void EmoticonThemeDirectoryWatcher::handleEmoticonThemeDirectoryChanged()
{
    identifyEmoticonThemeDirectoryChanges();
}
