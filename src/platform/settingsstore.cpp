// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "settingsstore_p.h"

#include "boundedfile_p.h"
#include "settingsfile_p.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

// Q_INIT_RESOURCE must be used outside any namespace; it matters for static builds only.
static void initDefaultsResource()
{
    Q_INIT_RESOURCE(settingsdefaults);
}

namespace {

const char defaultsVariable[] = "GLYPHMORPH_SETTINGS_DEFAULTS";

// File systems stamp times from a coarse clock, and some only to the second: a file rewritten
// this soon after a snapshot may keep its size and time stamp, so such snapshots are confirmed by
// content on every read until they are old enough.
constexpr qint64 racyWindowMs = 2000;

// Longer than QLockFile's stale lock time (30 s), so the lock of a hung writer is taken over
// rather than blocking every writer for good. A dead writer's lock is taken over at once.
constexpr qint64 lockTimeoutMs = 35000;

QHash<QString, QString> readDefaults()
{
    QString path = QStringLiteral(":/glyphmorph/platform/settings-defaults.conf");
    if (qEnvironmentVariableIsSet(defaultsVariable))
        path = qEnvironmentVariable(defaultsVariable);
    if (path.isEmpty())
        return {};
    QByteArray bytes;
    if (!BoundedFile::read(path, SettingsFile::maxSize, &bytes))
        return {};
    return SettingsFile::parse(bytes).values;
}

// QLockFile::tryLock() with a timeout backs off from 100 ms up to seconds, which starves busy
// writers; the store holds the lock for a moment only, so retry in short steps.
bool acquire(QLockFile &lock)
{
    QElapsedTimer timer;
    timer.start();
    unsigned long pauseMs = 1;
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || timer.elapsed() > lockTimeoutMs)
            return false;
        QThread::msleep(pauseMs);
        pauseMs = qMin(pauseMs * 2, 16ul);
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

Q_GLOBAL_STATIC(SettingsStore, globalStore)

SettingsStore::SettingsStore()
{
    initDefaultsResource();
    const QString root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!root.isEmpty()) {
        m_directory = root + QStringLiteral("/glyphmorph");
        m_path = m_directory + QStringLiteral("/settings.conf");
    }
    m_defaults = readDefaults();
}

SettingsStore::~SettingsStore() = default;

SettingsStore *SettingsStore::instance()
{
    return globalStore();
}

void SettingsStore::addListener(const QString &key, SettingsListener *listener)
{
    QMutexLocker locker(&m_mutex);
    // The snapshot is brought up to date first, so that a change made before this listener
    // existed is never reported to it.
    refreshLocked();
    m_listeners[key].append(listener);
    watchLocked();
}

void SettingsStore::removeListener(const QString &key, SettingsListener *listener)
{
    QMutexLocker locker(&m_mutex);
    const auto it = m_listeners.find(key);
    if (it == m_listeners.end())
        return;
    it->removeOne(listener);
    if (it->isEmpty())
        m_listeners.erase(it);
}

std::optional<QString> SettingsStore::value(const QString &key)
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    return effectiveValue(m_values, key);
}

bool SettingsStore::setValue(const QString &key, const std::optional<QString> &value)
{
    QMutexLocker locker(&m_mutex);
    if (m_path.isEmpty() || !QDir().mkpath(m_directory))
        return false;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!acquire(lock))
        return false;

    // Under the lock the file is read afresh whatever the snapshot says: the change is made to
    // the latest values, so no other writer's change is lost.
    const qint64 readAt = QDateTime::currentMSecsSinceEpoch();
    const FileState state = fileState(QFileInfo(m_path));
    QByteArray bytes;
    // Never replace what could not be read: a FIFO or a device in its place is not read at all.
    if (state.exists && !BoundedFile::read(m_path, SettingsFile::maxSize, &bytes))
        return false;
    adoptLocked(state, bytes, readAt);

    QHash<QString, QString> values = m_values;
    if (value) {
        const auto it = values.constFind(key);
        if (it != values.constEnd() && *it == *value)
            return true;
        values.insert(key, *value);
    } else if (!values.remove(key)) {
        return true;
    }

    // Lines that could not be read are dropped by the rewrite; keep the old file for the user.
    if (!m_clean && !writeFile(m_path + QStringLiteral(".corrupt"), bytes))
        return false;
    const QByteArray text = SettingsFile::serialize(values);
    if (!writeFile(m_path, text))
        return false;
    adoptLocked(fileState(QFileInfo(m_path)), text, QDateTime::currentMSecsSinceEpoch());
    return true;
}

SettingsStore::FileState SettingsStore::fileState(const QFileInfo &info)
{
    FileState state;
    state.exists = info.exists();
    if (state.exists) {
        state.size = info.size();
        state.modified = info.lastModified().toMSecsSinceEpoch();
    }
    return state;
}

std::optional<QString> SettingsStore::effectiveValue(
    const QHash<QString, QString> &values, const QString &key) const
{
    auto it = values.constFind(key);
    if (it != values.constEnd())
        return *it;
    it = m_defaults.constFind(key);
    if (it != m_defaults.constEnd())
        return *it;
    return std::nullopt;
}

void SettingsStore::refreshLocked()
{
    if (m_path.isEmpty()) {
        m_loaded = true;
        return;
    }
    const qint64 readAt = QDateTime::currentMSecsSinceEpoch();
    const FileState state = fileState(QFileInfo(m_path));
    if (m_loaded && !m_racy && state.exists == m_state.exists && state.size == m_state.size
        && state.modified == m_state.modified)
        return;
    QByteArray bytes;
    if (state.exists)
        BoundedFile::read(m_path, SettingsFile::maxSize, &bytes);
    adoptLocked(state, bytes, readAt);
}

void SettingsStore::adoptLocked(const FileState &state, const QByteArray &bytes, qint64 readAt)
{
    m_state = state;
    m_racy = state.exists && state.modified >= readAt - racyWindowMs;
    if (m_loaded && bytes == m_bytes)
        return;
    SettingsFile::Content content = SettingsFile::parse(bytes);
    const QHash<QString, QString> previous = std::move(m_values);
    const bool hadSnapshot = m_loaded;
    m_loaded = true;
    m_bytes = bytes;
    m_clean = content.clean;
    m_values = std::move(content.values);
    if (!hadSnapshot)
        return;
    for (auto it = m_listeners.cbegin(); it != m_listeners.cend(); ++it) {
        if (effectiveValue(previous, it.key()) == effectiveValue(m_values, it.key()))
            continue;
        for (SettingsListener *listener : it.value())
            listener->settingChanged();
    }
}

void SettingsStore::watchLocked()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (m_watcher || !app || m_path.isEmpty())
        return;
    // The watcher reports through the event loop of the application's thread, so it lives there.
    if (QThread::currentThread() != app->thread()) {
        if (!m_watchRequested) {
            m_watchRequested = true;
            QMetaObject::invokeMethod(
                app,
                [this] {
                    QMutexLocker locker(&m_mutex);
                    m_watchRequested = false;
                    watchLocked();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    QDir().mkpath(m_directory);
    m_watcher = new QFileSystemWatcher(app);
    // QSaveFile replaces the file, which ends a watch on the file itself; the directory's
    // watch sees the replacement, and the file's watch sees editors that write in place.
    m_watcher->addPath(m_directory);
    if (QFileInfo::exists(m_path))
        m_watcher->addPath(m_path);
    const auto changed = [this] {
        fileSystemChanged();
    };
    QObject::connect(m_watcher, &QFileSystemWatcher::fileChanged, m_watcher, changed);
    QObject::connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_watcher, changed);
}

void SettingsStore::fileSystemChanged()
{
    QMutexLocker locker(&m_mutex);
    if (m_watcher && QFileInfo::exists(m_path) && !m_watcher->files().contains(m_path))
        m_watcher->addPath(m_path);
    refreshLocked();
}
