// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEDIRECTORYWATCHER_H
#define GLYPHMORPH_EMOTICONTHEMEDIRECTORYWATCHER_H

#include "glyphmorph_export.h"

#include <QObject>
#include <QString>

#include <memory>

class EmoticonThemeDirectoryWatcherPrivate;

/**
 * Reports the theme directories below a themes root: every immediate, non-hidden sub-directory is
 * one candidate theme. Paths are absolute, without a trailing "/".
 *
 * setEmoticonThemeDirectoryPath() reports every existing sub-directory as added before it
 * returns; afterwards each change of the root reports every directory that appeared and every
 * one that vanished, removals first, so a renamed theme leaves before it comes back. A directory
 * replaced under the same name, or whose description file DIR/DIR.xml was replaced (a new file
 * renamed over it), is reported as removed and then added.
 */
class GLYPHMORPH_EXPORT EmoticonThemeDirectoryWatcher : public QObject
{
    Q_OBJECT

public:
    explicit EmoticonThemeDirectoryWatcher(QObject *parent = nullptr);
    ~EmoticonThemeDirectoryWatcher() override;

    /** Watches @p path, reporting its current sub-directories at once. A path that is not a
     *  directory leaves the watcher inactive until a directory appears there (the nearest
     *  directory above it is watched for that); then it reports as at the start. */
    void setEmoticonThemeDirectoryPath(const QString &path);
    /** True once the root was found to be a directory. */
    bool isActive() const;

    /** Starts watching the root set last; see setEmoticonThemeDirectoryPath(). */
    void initializeEmoticonThemeDirectoryWatcher();
    /** Lists the root afresh and reports every sub-directory as added. */
    void buildSubDirectoryList();
    /** Compares the root with its last listing and reports the differences. */
    void identifyEmoticonThemeDirectoryChanges();
    /** Reports @p path as added if it is a directory. */
    void handleEmoticonThemeDirectoryInsertion(const QString &path);
    /** Reports @p path as removed if it was reported as added. */
    void handleEmoticonThemeDirectoryRemoval(const QString &path);

Q_SIGNALS:
    void themeDirectoryAdded(const QString &directoryPath);
    void themeDirectoryRemoved(const QString &directoryPath);

private Q_SLOTS:
    void handleEmoticonThemeDirectoryChanged(const QString &path);

private:
    const std::unique_ptr<EmoticonThemeDirectoryWatcherPrivate> d;
};

#endif
