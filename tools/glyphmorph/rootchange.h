// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Changes to a themes root that a crash cannot leave half made: one lock serialises them, staging
// directories are named after the process that owns them, and a replacement is an exchange of
// directory entries, or a journal that the next command completes or rolls back.
#ifndef GLYPHMORPH_ROOTCHANGE_H
#define GLYPHMORPH_ROOTCHANGE_H

#include <QByteArray>
#include <QString>

namespace Tool {

/**
 * For tests only: GLYPHMORPH_TEST_HOOK holds comma-separated directives. "kill:NAME#N" kills the
 * tool with SIGKILL the Nth time (default the first) it reaches the point NAME; "stop:NAME#N"
 * prints "stopped at NAME" to standard error and stops it with SIGSTOP; "trace" prints "test point:
 * NAME" at each point; "no-exchange" makes the tool act as on a file system without
 * RENAME_EXCHANGE.
 */
void testPoint(const char *name);
bool testFlag(const char *flag);

/** What a failed file system call with @p number in errno means: "no space left on device" for
 *  a full disk, else the system's text. */
QString systemErrorText(int number);

/** Writes @p bytes into the new file @p path, every write checked; false with @p error set (the
 *  path and why). */
bool writeNewFile(const QString &path, const QByteArray &bytes, QString *error);

/** A new file written piece by piece, every write checked. */
class NewFile
{
public:
    explicit NewFile(const QString &path);
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile();

    bool open(QString *error);
    bool write(const char *bytes, qint64 size, QString *error);
    /** Closes the file; a write the kernel delayed may fail only here. */
    bool close(QString *error);
    /** Why the last call failed, without the path: "no space left on device". */
    QString reason() const { return m_reason; }

private:
    bool failed(QString *error);

    QString m_path;
    QString m_reason;
    int m_fd = -1;
};

/** The lock that serialises changes to one directory; the kernel releases it when the process
 *  dies. */
class DirectoryLock
{
public:
    DirectoryLock() = default;
    DirectoryLock(const DirectoryLock &) = delete;
    DirectoryLock &operator=(const DirectoryLock &) = delete;
    ~DirectoryLock();

    /** Takes the lock of @p directory (its file ".glyphmorph-lock"), waiting for another process
     *  that holds it and saying so on standard error. */
    bool acquire(const QString &directory, QString *error);

private:
    int m_fd = -1;
};

/** A hidden directory in @p parent named after its kind and the process that owns it, so that a
 *  later command can tell that its owner died. Deleted with its content on destruction. */
class Staging
{
public:
    Staging(const QString &parent, const QString &kind);
    Staging(const Staging &) = delete;
    Staging &operator=(const Staging &) = delete;
    ~Staging();

    bool isValid() const { return !m_path.isEmpty(); }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_error;
};

/** Completes or rolls back what dead processes left half done in @p directory, then deletes
 *  their staging. With @p locked (the directory's lock held), staging whose owner cannot be told
 *  goes too. */
void reclaimStaging(const QString &directory, bool locked);

/** Moves the directory @p staged to @p target, which must not exist, in one rename. */
bool publish(const QString &staged, const QString &target, QString *error);

/**
 * Puts the directory @p staged, inside @p staging, in the place of the installed directory
 * @p previous, under the name @p target (the same or another name). At every moment the root
 * holds exactly one of the two where the file system can exchange directory entries; elsewhere a
 * journal in @p staging lets the next command complete the change.
 */
bool replaceDirectory(const Staging &staging, const QString &staged, const QString &previous,
    const QString &target, QString *error);

/** Moves @p directory into @p staging in one rename, out of the root. */
bool withdraw(const Staging &staging, const QString &directory, QString *error);

} // namespace Tool

#endif
