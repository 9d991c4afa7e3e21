// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "sharedfilesystemwatch_p.h"

#include "emoticonthemeresourceavailabilitychecker.h"

#include <QFileInfo>

namespace {

// One per thread: a watcher reports in the thread it was made in.
thread_local SharedFileSystemWatch *currentWatch = nullptr;

} // namespace

SharedFileSystemWatch::SharedFileSystemWatch()
{
    connect(&watcher, SIGNAL(directoryChanged(QString)), this, SLOT(handlePathChanged(QString)));
    // A file copied in is created empty and then written: its own changes must trigger a scan.
    connect(&watcher, SIGNAL(fileChanged(QString)), this, SLOT(handlePathChanged(QString)));
}

void SharedFileSystemWatch::watch(
    EmoticonThemeResourceAvailabilityChecker *checker, const QString &path)
{
    if (!currentWatch)
        currentWatch = new SharedFileSystemWatch;
    SharedFileSystemWatch *self = currentWatch;
    // Registered even when the path cannot be watched: the watcher lives while a checker does.
    QStringList &paths = self->pathsByChecker[checker];
    if (paths.contains(path))
        return;
    if (!self->checkersByPath.contains(path) && !self->watcher.addPath(path))
        return;
    paths.append(path);
    self->checkersByPath[path].append(checker);
}

void SharedFileSystemWatch::unwatch(EmoticonThemeResourceAvailabilityChecker *checker)
{
    SharedFileSystemWatch *self = currentWatch;
    if (!self || !self->pathsByChecker.contains(checker))
        return;
    const QStringList paths = self->pathsByChecker.take(checker);
    for (const QString &path : paths) {
        auto checkers = self->checkersByPath.find(path);
        checkers->removeOne(checker);
        if (!checkers->isEmpty())
            continue;
        self->checkersByPath.erase(checkers);
        self->watcher.removePath(path);
    }
    self->releaseIfIdle();
}

void SharedFileSystemWatch::handlePathChanged(const QString &path)
{
    const QList<EmoticonThemeResourceAvailabilityChecker *> checkers = checkersByPath.value(path);
    if (checkers.isEmpty())
        return;
    // The watcher drops a path that was deleted, moved or replaced. A checker that came for a new
    // directory of the same name found the path watched already: what is there now must be.
    if (!watcher.files().contains(path) && !watcher.directories().contains(path)
        && !(QFileInfo::exists(path) && watcher.addPath(path)))
        forgetPath(path);
    ++dispatchDepth;
    for (EmoticonThemeResourceAvailabilityChecker *checker : checkers) {
        // An earlier scan may have ended this check, or deleted its checker.
        if (pathsByChecker.contains(checker))
            checker->scanDirectory();
    }
    if (--dispatchDepth == 0 && pathsByChecker.isEmpty())
        QMetaObject::invokeMethod(this, "releaseIfIdle", Qt::QueuedConnection);
}

void SharedFileSystemWatch::releaseIfIdle()
{
    // Inside a notification the watcher is still emitting: the notification releases it after.
    if (dispatchDepth > 0 || !pathsByChecker.isEmpty())
        return;
    if (currentWatch == this)
        currentWatch = nullptr;
    delete this;
}

void SharedFileSystemWatch::forgetPath(const QString &path)
{
    const QList<EmoticonThemeResourceAvailabilityChecker *> checkers = checkersByPath.take(path);
    for (EmoticonThemeResourceAvailabilityChecker *checker : checkers) {
        auto paths = pathsByChecker.find(checker);
        if (paths != pathsByChecker.end())
            paths->removeOne(path);
    }
}
