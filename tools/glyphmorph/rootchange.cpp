// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "rootchange.h"

#include "tool.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tool {

namespace {

const QString stagingPrefix = QStringLiteral(".glyphmorph-");
const QString journalName = QStringLiteral("journal");

QList<QByteArray> hookDirectives()
{
    static const QList<QByteArray> directives = qgetenv("GLYPHMORPH_TEST_HOOK").split(',');
    return directives;
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

/** The device and inode of @p path itself (links not followed); empty when it does not exist.
 *  A renamed directory keeps them, so they tell where a staged theme went. */
QString identity(const QString &path)
{
    struct stat info;
    if (::lstat(encoded(path).constData(), &info) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
}

bool renameEntry(const QString &from, const QString &to, unsigned int flags)
{
#if defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, encoded(from).constData(), AT_FDCWD, encoded(to).constData(), flags)
        == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // Without renameat2, a plain rename; the caller checked that the target is free.
    if (flags != 0) {
        errno = EINVAL;
        return false;
    }
    return std::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

bool move(const QString &from, const QString &to, QString *error)
{
#if defined(RENAME_NOREPLACE)
    if (renameEntry(from, to, RENAME_NOREPLACE))
        return true;
    if (errno == EINVAL && !QFileInfo::exists(to)
        && std::rename(encoded(from).constData(), encoded(to).constData()) == 0)
        return true;
#else
    if (!QFileInfo::exists(to) && renameEntry(from, to, 0))
        return true;
#endif
    if (error) {
        *error = QStringLiteral("%1 cannot be moved to %2: %3")
                     .arg(printable(from), printable(to), systemErrorText(errno));
    }
    return false;
}

/** Swaps two directory entries in one step; false with errno EINVAL where the file system
 *  cannot. */
bool exchange(const QString &a, const QString &b)
{
    if (testFlag("no-exchange")) {
        errno = EINVAL;
        return false;
    }
#if defined(RENAME_EXCHANGE)
    return renameEntry(a, b, RENAME_EXCHANGE);
#else
    Q_UNUSED(a)
    Q_UNUSED(b)
    errno = EINVAL;
    return false;
#endif
}

// Entry by entry, so that the test hook can stop the tool half way.
void removeTree(const QString &path)
{
    const QFileInfo top(path);
    if (!top.isDir() || top.isSymLink()) {
        QFile::remove(path);
        return;
    }
    QStringList directories;
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink()) {
            directories.prepend(entry);
            continue;
        }
        testPoint("removing");
        ::unlink(encoded(entry).constData());
    }
    for (const QString &directory : std::as_const(directories))
        ::rmdir(encoded(directory).constData());
    ::rmdir(encoded(path).constData());
}

QByteArray startTime(qint64 pid)
{
    // Field 22 of the stat line, counted after the command name, which may hold spaces.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray line = stat.read(4096);
    const int end = line.lastIndexOf(')');
    const QList<QByteArray> fields = line.mid(end + 2).split(' ');
    return end > 0 && fields.size() > 19 ? fields.at(19) : QByteArray();
}

/** "PID-START": the process, and when it started, so that a PID used again is not taken for
 *  the owner. */
QString ownerTag()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QStringLiteral("%1-%2").arg(pid).arg(QString::fromLatin1(startTime(pid)));
}

enum class Owner
{
    Alive,
    Dead,
    Unknown,
};

Owner ownerOf(const QString &name)
{
    static const QRegularExpression tag(QStringLiteral("^\\.glyphmorph-[a-z]+-(\\d+)-(\\d*)-"));
    const QRegularExpressionMatch match = tag.match(name);
    if (!match.hasMatch())
        return Owner::Unknown;
    const qint64 pid = match.captured(1).toLongLong();
    const QByteArray started = match.captured(2).toLatin1();
    if (pid <= 0)
        return Owner::Unknown;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return Owner::Dead;
    // Where /proc tells, a living process with another start time is not the owner.
    if (!started.isEmpty() && !startTime(QCoreApplication::applicationPid()).isEmpty())
        return startTime(pid) == started ? Owner::Alive : Owner::Dead;
    return Owner::Alive;
}

struct Journal
{
    QString staged; // relative to the staging directory
    QString previous;
    QString target;
    QString newIdentity;
    QString oldIdentity;
    QString linkedFile; // the old name's description, linked in the new version; may be empty
    QString descriptionFile; // the new version's own description
};

bool writeJournal(const QString &staging, const Journal &journal, QString *error)
{
    const QJsonObject object { { QStringLiteral("staged"), journal.staged },
        { QStringLiteral("previous"), journal.previous },
        { QStringLiteral("target"), journal.target },
        { QStringLiteral("new"), journal.newIdentity },
        { QStringLiteral("old"), journal.oldIdentity },
        { QStringLiteral("linked"), journal.linkedFile },
        { QStringLiteral("description"), journal.descriptionFile } };
    // QSaveFile: the journal is there whole or not at all.
    QSaveFile file(QDir(staging).filePath(journalName));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(object).toJson()) < 0
        || !file.commit()) {
        *error = QStringLiteral("%1 cannot be written: %2")
                     .arg(printable(file.fileName()), file.errorString());
        return false;
    }
    testPoint("journal");
    return true;
}

// The old name's description linked to the new one is only there during the change.
void dropLinkedDescription(const Journal &journal)
{
    if (journal.linkedFile.isEmpty())
        return;
    const QDir target(journal.target);
    const QString linked = target.filePath(journal.linkedFile);
    struct stat a;
    struct stat b;
    if (::lstat(encoded(linked).constData(), &a) == 0
        && ::lstat(encoded(target.filePath(journal.descriptionFile)).constData(), &b) == 0
        && a.st_ino == b.st_ino && a.st_dev == b.st_dev)
        ::unlink(encoded(linked).constData());
}

/** Brings a change that its process left half made to one of its two ends. */
void recover(const QString &staging)
{
    QFile file(QDir(staging).filePath(journalName));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject object = QJsonDocument::fromJson(file.read(1024 * 1024)).object();
    Journal journal;
    journal.staged = QDir(staging).filePath(object.value(QStringLiteral("staged")).toString());
    journal.previous = object.value(QStringLiteral("previous")).toString();
    journal.target = object.value(QStringLiteral("target")).toString();
    journal.newIdentity = object.value(QStringLiteral("new")).toString();
    journal.oldIdentity = object.value(QStringLiteral("old")).toString();
    journal.linkedFile = object.value(QStringLiteral("linked")).toString();
    journal.descriptionFile = object.value(QStringLiteral("description")).toString();
    if (journal.target.isEmpty() || journal.previous.isEmpty() || journal.newIdentity.isEmpty())
        return;
    const bool sameName = journal.previous == journal.target;
    if (identity(journal.target) == journal.newIdentity) {
        // The new version is in place; the old one may still stand beside it.
        if (!sameName && identity(journal.previous) == journal.oldIdentity)
            move(journal.previous, QDir(staging).filePath(QStringLiteral("previous")), nullptr);
    } else if (!sameName && identity(journal.previous) == journal.newIdentity) {
        // Exchanged into the old name; the rename to its own name is left.
        if (!move(journal.previous, journal.target, nullptr))
            return;
    } else if (identity(journal.staged) == journal.newIdentity
        && !QFileInfo::exists(journal.previous) && !QFileInfo::exists(journal.target)) {
        // The old version left, the new one had not come yet: it comes now.
        if (!move(journal.staged, journal.target, nullptr))
            return;
    }
    // Else the new version never left the staging: the old one stands untouched.
    dropLinkedDescription(journal);
}

} // namespace

void testPoint(const char *name)
{
    const QList<QByteArray> directives = hookDirectives();
    if (directives.size() == 1 && directives.first().isEmpty())
        return;
    static QHash<QByteArray, int> reached;
    const int count = ++reached[QByteArray(name)];
    for (const QByteArray &directive : directives) {
        if (directive == "trace")
            err(QStringLiteral("test point: %1").arg(QLatin1String(name)));
        const int colon = directive.indexOf(':');
        const int hash = directive.indexOf('#');
        const QByteArray point = directive.mid(colon + 1, hash < 0 ? -1 : hash - colon - 1);
        const int wanted = hash < 0 ? 1 : directive.mid(hash + 1).toInt();
        if (colon < 0 || point != name || wanted != count)
            continue;
        if (directive.startsWith("kill:"))
            ::kill(::getpid(), SIGKILL);
        if (directive.startsWith("stop:")) {
            err(QStringLiteral("stopped at %1").arg(QLatin1String(name)));
            ::raise(SIGSTOP);
        }
    }
}

bool testFlag(const char *flag)
{
    return hookDirectives().contains(QByteArray(flag));
}

QString systemErrorText(int number)
{
    if (number == ENOSPC)
        return QStringLiteral("no space left on device");
    if (number == EDQUOT)
        return QStringLiteral("disk quota exceeded");
    return QString::fromLocal8Bit(std::strerror(number));
}

NewFile::NewFile(const QString &path)
    : m_path(path)
{ }

NewFile::~NewFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool NewFile::failed(QString *error)
{
    m_reason = systemErrorText(errno);
    *error = QStringLiteral("%1 cannot be written: %2").arg(printable(m_path), m_reason);
    return false;
}

bool NewFile::open(QString *error)
{
    m_fd = ::open(encoded(m_path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    return m_fd >= 0 || failed(error);
}

bool NewFile::write(const char *bytes, qint64 size, QString *error)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return failed(error);
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool NewFile::close(QString *error)
{
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        return failed(error);
    testPoint("written");
    return true;
}

bool writeNewFile(const QString &path, const QByteArray &bytes, QString *error)
{
    NewFile file(path);
    return file.open(error) && file.write(bytes.constData(), bytes.size(), error)
        && file.close(error);
}

DirectoryLock::~DirectoryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DirectoryLock::acquire(const QString &directory, QString *error)
{
    const QString path = QDir(directory).filePath(QStringLiteral(".glyphmorph-lock"));
    m_fd = ::open(encoded(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        *error = QStringLiteral("cannot open the lock file %1: %2")
                     .arg(printable(path), systemErrorText(errno));
        return false;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            *error
                = QStringLiteral("cannot lock %1: %2").arg(printable(path), systemErrorText(errno));
            return false;
        }
        err(QStringLiteral("waiting for another glyphmorph that changes %1")
                .arg(printable(directory)));
        int locked;
        while ((locked = ::flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) { }
        if (locked != 0) {
            *error
                = QStringLiteral("cannot lock %1: %2").arg(printable(path), systemErrorText(errno));
            return false;
        }
    }
    testPoint("locked");
    return true;
}

Staging::Staging(const QString &parent, const QString &kind)
{
    QTemporaryDir directory(QDir(parent).filePath(
        stagingPrefix + kind + QLatin1Char('-') + ownerTag() + QStringLiteral("-XXXXXX")));
    if (!directory.isValid()) {
        m_error = QStringLiteral("no staging directory in %1: %2")
                      .arg(printable(parent), directory.errorString());
        return;
    }
    directory.setAutoRemove(false);
    m_path = directory.path();
    testPoint("staging");
}

Staging::~Staging()
{
    if (!m_path.isEmpty())
        removeTree(m_path);
}

void reclaimStaging(const QString &directory, bool locked)
{
    const QStringList entries = QDir(directory).entryList(
        { stagingPrefix + QLatin1Char('*') }, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const Owner owner = ownerOf(entry);
        if (owner == Owner::Alive || (owner == Owner::Unknown && !locked))
            continue;
        const QString path = QDir(directory).filePath(entry);
        recover(path);
        removeTree(path);
    }
}

bool publish(const QString &staged, const QString &target, QString *error)
{
    if (!move(staged, target, error))
        return false;
    testPoint("root-changed");
    return true;
}

bool replaceDirectory(const Staging &staging, const QString &staged, const QString &previous,
    const QString &target, QString *error)
{
    const QString oldName = QDir(previous).dirName();
    const QString newName = QDir(target).dirName();
    const bool sameName = QDir::cleanPath(previous) == QDir::cleanPath(target);
    Journal journal;
    journal.staged = QDir(staging.path()).relativeFilePath(staged);
    journal.previous = QDir::cleanPath(previous);
    journal.target = QDir::cleanPath(target);
    journal.newIdentity = identity(staged);
    journal.oldIdentity = identity(previous);
    journal.descriptionFile = newName + QLatin1String(".xml");
    const QString linked = QDir(staged).filePath(oldName + QLatin1String(".xml"));
    // Under the old name, the new version needs a description of that name until it is renamed.
    const bool linkable = !sameName && !QFileInfo::exists(linked) && !testFlag("no-exchange")
        && ::link(encoded(QDir(staged).filePath(journal.descriptionFile)).constData(),
               encoded(linked).constData())
            == 0;
    if (linkable)
        journal.linkedFile = oldName + QLatin1String(".xml");
    if (!writeJournal(staging.path(), journal, error))
        return false;

    if (sameName || linkable) {
        if (exchange(staged, previous)) {
            testPoint("root-changed");
            if (!sameName) {
                // One rename: the theme leaves the old name as it takes the new one.
                if (!move(previous, target, error)) {
                    exchange(staged, previous);
                    return false;
                }
                testPoint("root-changed");
                dropLinkedDescription(journal);
                testPoint("tidied");
            }
            return true;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            *error = QStringLiteral("%1 cannot take the place of %2: %3")
                         .arg(printable(staged), printable(previous), systemErrorText(errno));
            return false;
        }
    }
    // Two renames; between them the journal stands for the change.
    const QString old = QDir(staging.path()).filePath(QStringLiteral("previous"));
    if (sameName) {
        if (!move(previous, old, error))
            return false;
        testPoint("root-changed");
        if (!move(staged, target, error)) {
            move(old, previous, nullptr);
            return false;
        }
        testPoint("root-changed");
        return true;
    }
    if (!move(staged, target, error))
        return false;
    testPoint("root-changed");
    if (!move(previous, old, error)) {
        move(target, staged, nullptr);
        return false;
    }
    testPoint("root-changed");
    dropLinkedDescription(journal);
    return true;
}

bool withdraw(const Staging &staging, const QString &directory, QString *error)
{
    if (!move(directory, QDir(staging.path()).filePath(QStringLiteral("withdrawn")), error))
        return false;
    testPoint("root-changed");
    return true;
}

} // namespace Tool
