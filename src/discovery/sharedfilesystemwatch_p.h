// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the one file-system watcher that the pending availability checks share.
#ifndef GLYPHMORPH_SHAREDFILESYSTEMWATCH_P_H
#define GLYPHMORPH_SHAREDFILESYSTEMWATCH_P_H

#include <QFileSystemWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class EmoticonThemeResourceAvailabilityChecker;

/**
 * Watches paths for availability checkers of the calling thread, with one QFileSystemWatcher for
 * all of them (with inotify each watcher is a kernel instance, and a user has few). A path stays
 * watched while a checker wants it; a change scans the checkers that watch the path. The watcher
 * exists only while some checker watches a path.
 */
class SharedFileSystemWatch : public QObject
{
    Q_OBJECT

public:
    /** Watches @p path for @p checker; a change makes it scanDirectory(). */
    static void watch(EmoticonThemeResourceAvailabilityChecker *checker, const QString &path);
    /** Forgets every path of @p checker; safe from inside a scan and from its destructor. */
    static void unwatch(EmoticonThemeResourceAvailabilityChecker *checker);

private Q_SLOTS:
    void handlePathChanged(const QString &path);
    void releaseIfIdle();

private:
    SharedFileSystemWatch();
    void forgetPath(const QString &path);

    QFileSystemWatcher watcher;
    QHash<QString, QList<EmoticonThemeResourceAvailabilityChecker *>> checkersByPath;
    QHash<EmoticonThemeResourceAvailabilityChecker *, QStringList> pathsByChecker;
    int dispatchDepth = 0;
};

#endif
