// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the process-wide settings store behind MGConfItem.
#ifndef GLYPHMORPH_SETTINGSSTORE_P_H
#define GLYPHMORPH_SETTINGSSTORE_P_H

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QString>
#include <QVector>

#include <optional>

class QFileInfo;
class QFileSystemWatcher;

class SettingsListener
{
public:
    virtual ~SettingsListener() = default;
    /** The key's value changed. Called with the store locked, from any thread: only post work. */
    virtual void settingChanged() = 0;
};

/**
 * The user's store file ($XDG_CONFIG_HOME/glyphmorph/settings.conf) over the defaults file.
 *
 * Reads come from a snapshot that is checked against the file on every read; writes take the
 * store's lock file, read the file afresh, and replace it atomically. Every change seen, from this
 * process or another, is passed on to the listeners of the keys whose value changed.
 */
class SettingsStore
{
public:
    SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;
    ~SettingsStore();

    /** The store of this process, or null during static destruction. */
    static SettingsStore *instance();

    void addListener(const QString &key, SettingsListener *listener);
    void removeListener(const QString &key, SettingsListener *listener);

    /** The user's value, else the default, else nothing. */
    std::optional<QString> value(const QString &key);
    /** Stores @p value for @p key (nothing removes it); false when the file could not be written.
     */
    bool setValue(const QString &key, const std::optional<QString> &value);

private:
    struct FileState
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0;
    };

    static FileState fileState(const QFileInfo &info);
    std::optional<QString> effectiveValue(
        const QHash<QString, QString> &values, const QString &key) const;
    void refreshLocked();
    void adoptLocked(const FileState &state, const QByteArray &bytes, qint64 readAt);
    void watchLocked();
    void fileSystemChanged();

    QMutex m_mutex;
    QString m_directory;
    QString m_path;
    QHash<QString, QString> m_defaults;
    QHash<QString, QVector<SettingsListener *>> m_listeners;
    QPointer<QFileSystemWatcher> m_watcher;
    bool m_watchRequested = false;

    // The snapshot of the store file.
    bool m_loaded = false;
    FileState m_state;
    bool m_racy = false;
    bool m_clean = true;
    QByteArray m_bytes;
    QHash<QString, QString> m_values;
};

#endif
