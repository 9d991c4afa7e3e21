// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph install, remove and import: themes in and out of the themes root, whole or not at all.
//
// A theme is made complete in a hidden staging directory on the root's own file system (the
// library passes over hidden entries), checked with the library's rules, and moved in with one
// rename, so a running application never sees half a theme.
#include "themearchive.h"
#include "themeimport.h"
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace Tool {

namespace {

// Copies the plain files and directories below @p from; a link or special file is refused, as in
// an archive, and so are sizes past the same limits.
bool copyTree(const QString &from, const QString &to, QString *error)
{
    const ArchiveLimits limits;
    int entries = 0;
    qint64 total = 0;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(from).relativeFilePath(path);
        const QFileInfo info(path);
        if (++entries > limits.entries) {
            *error = QStringLiteral("%1 holds more than %2 entries").arg(from).arg(limits.entries);
            return false;
        }
        if (info.isSymLink()) {
            *error = QStringLiteral("%1 is a symbolic link").arg(path);
            return false;
        }
        if (info.isDir()) {
            QDir(to).mkpath(relative);
            continue;
        }
        total += info.size();
        if (!info.isFile() || info.size() > limits.fileBytes || total > limits.totalBytes) {
            *error = info.isFile() ? QStringLiteral("%1 is too large").arg(path)
                                   : QStringLiteral("%1 is not a regular file").arg(path);
            return false;
        }
        QDir(to).mkpath(QFileInfo(relative).path());
        if (!QFile::copy(path, QDir(to).filePath(relative))) {
            *error = QStringLiteral("%1 cannot be copied").arg(path);
            return false;
        }
    }
    return true;
}

// Puts SOURCE (a theme directory or archive, of any format the tool reads) as a theme directory
// of this library's format below @p work; returns that directory, or an empty string with
// @p error set.
QString stageTheme(
    const QString &source, const QString &work, QStringList *warnings, QString *error)
{
    const QFileInfo info(source);
    const QString unpacked = QDir(work).filePath(QStringLiteral("source"));
    QDir().mkpath(unpacked);
    if (info.isDir()) {
        // A native theme keeps its directory name, which names its description file.
        const QString copy = QDir(unpacked).filePath(QDir(info.absoluteFilePath()).dirName());
        if (!QDir().mkpath(copy) || !copyTree(info.absoluteFilePath(), copy, error))
            return QString();
    } else if (info.isFile() && isArchiveName(source)) {
        if (!unpackArchive(source, unpacked, error))
            return QString();
    } else {
        *error = info.exists()
            ? QStringLiteral("%1 is neither a theme directory nor a .zip, .tar, .tar.gz, .tar.xz "
                             "or .tar.bz2 archive")
                  .arg(source)
            : QStringLiteral("%1 does not exist").arg(source);
        return QString();
    }
    const FoundTheme found = findTheme(unpacked);
    if (found.format == FoundTheme::Native)
        return found.directory;
    if (found.format == FoundTheme::None) {
        *error = QStringLiteral("%1 holds no theme: no NAME/NAME.xml, emoticons.xml (KDE) or "
                                "theme (Pidgin) file")
                     .arg(source);
        return QString();
    }
    QString converted;
    const QString output = QDir(work).filePath(QStringLiteral("converted"));
    if (!QDir().mkpath(output) || !convertTheme(found, output, &converted, warnings, error))
        return QString();
    return converted;
}

void printWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        err(QStringLiteral("warning: ") + warning);
}

// The installed themes' directories, found by UUID.
QHash<QString, QString> installedDirectories(EmoticonThemeManager &manager)
{
    QHash<QString, QString> directories;
    const QHash<QString, EmoticonTheme> themes = manager.emoticonThemes();
    for (const EmoticonTheme &theme : themes) {
        const QString directory = themeDirectory(theme);
        if (!directory.isEmpty())
            directories.insert(theme.themeUUID(), directory);
    }
    return directories;
}

// Swaps two directory entries in one step where the kernel can; elsewhere the old one goes first.
bool exchange(const QString &a, const QString &b)
{
#ifdef RENAME_EXCHANGE
    return renameat2(AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD,
               QFile::encodeName(b).constData(), RENAME_EXCHANGE)
        == 0;
#else
    Q_UNUSED(a)
    Q_UNUSED(b)
    return false;
#endif
}

bool moveDirectory(const QString &from, const QString &to, QString *error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = QStringLiteral("%1 cannot be moved to %2: %3")
                 .arg(from, to, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

int runInstall(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("install"),
        QStringLiteral(
            "Installs the theme SOURCE below the themes root: a theme directory (DIR/NAME.xml),\n"
            "a KDE emoticon theme (emoticons.xml) or a Pidgin smiley theme (theme), given as a\n"
            "directory or as a .zip, .tar, .tar.gz, .tar.xz or .tar.bz2 archive. KDE and Pidgin\n"
            "themes are converted first (see 'glyphmorph import --help').\n"
            "Archives are unpacked only as plain files and directories: absolute paths, \"..\",\n"
            "links, devices and more than 10000 entries, 16 MiB a file or 256 MiB in all are\n"
            "refused. The theme is checked as 'glyphmorph check' checks it and moved in with\n"
            "one rename, so running applications see it whole.\n"
            "A theme whose UUID is installed already is refused, unless --replace is given: then\n"
            "it takes the installed version's place, and applications using it keep it.\n"
            "Exit codes: 0 installed, 1 failure, 2 bad arguments, 3-9 refused as by check."));
    const QCommandLineOption replace(QStringLiteral("replace"),
        QStringLiteral("Replace an installed theme with the same UUID."));
    commandLine.parser.addOption(replace);
    commandLine.parser.addPositionalArgument(QStringLiteral("source"),
        QStringLiteral("A theme directory or archive."), QStringLiteral("SOURCE"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("install needs exactly one SOURCE; 'glyphmorph install --help' "
                                   "shows the usage"),
            UsageError);

    const QString root = EmoticonThemeManager::themesRootPath();
    if (!QDir().mkpath(root))
        return fail(QStringLiteral("the themes root %1 cannot be made").arg(root));
    QTemporaryDir staging(QDir(root).filePath(QStringLiteral(".glyphmorph-install-XXXXXX")));
    if (!staging.isValid())
        return fail(
            QStringLiteral("no staging directory in %1: %2").arg(root, staging.errorString()));

    QStringList warnings;
    QString error;
    const QString staged = stageTheme(positional.first(), staging.path(), &warnings, &error);
    printWarnings(warnings);
    if (staged.isEmpty())
        return fail(error);
    EmoticonThemeDiagnosis diagnosis = EmoticonThemeFactory::diagnoseTheme(staged);
    for (const EmoticonThemeDiagnosis::Finding &warning :
        diagnosis.findings(EmoticonThemeDiagnosis::Finding::Warning))
        err(QStringLiteral("warning: ") + warning.text);
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused)
        return fail(QStringLiteral("refused: %1").arg(diagnosis.reason()), diagnosis.refusal());

    const EmoticonTheme theme = diagnosis.theme();
    const QString name = QDir(staged).dirName();
    const QString target = QDir(root).filePath(name);
    Library library;
    const QHash<QString, QString> installed = installedDirectories(library.manager());
    const QString previous = installed.value(theme.themeUUID());
    if (!previous.isEmpty() && !commandLine.parser.isSet(replace)) {
        return fail(QStringLiteral("the theme %1 is installed already in %2; --replace installs "
                                   "this version in its place")
                        .arg(theme.themeUUID(), previous),
            EmoticonThemeDiagnosis::ThemeTaken);
    }
    if (QFileInfo::exists(target)
        && QFileInfo(target).canonicalFilePath() != QFileInfo(previous).canonicalFilePath()) {
        return fail(QStringLiteral("%1 exists and holds another theme").arg(target),
            EmoticonThemeDiagnosis::ThemeTaken);
    }
    // As check decides it; its notes on versions are answered above.
    findConflicts(diagnosis, library.manager());
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused)
        return fail(QStringLiteral("refused: %1").arg(diagnosis.reason()), diagnosis.refusal());

    if (previous.isEmpty()) {
        if (!moveDirectory(staged, target, &error))
            return fail(error);
    } else if (QFileInfo(previous).canonicalFilePath() == QFileInfo(target).canonicalFilePath()
        && exchange(staged, target)) {
        // The old version now stands where the new one was staged, and goes with the staging.
    } else {
        const QString old = QDir(staging.path()).filePath(QStringLiteral("previous"));
        if (!moveDirectory(previous, old, &error))
            return fail(error);
        if (!moveDirectory(staged, target, &error)) {
            moveDirectory(old, previous, &error);
            return fail(error);
        }
    }
    out(QStringLiteral("installed: '%1' (%2) in %3%4\n")
            .arg(theme.themeName(), theme.themeUUID(), target,
                previous.isEmpty() ? QString()
                                   : QStringLiteral(", replacing the earlier version")));
    return Success;
}

int runRemove(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("remove"),
        QStringLiteral("Removes the installed theme with the UUID or name THEME from the themes\n"
                       "root. The built-in theme cannot be removed."));
    commandLine.parser.addPositionalArgument(QStringLiteral("theme"),
        QStringLiteral("The theme's UUID, name or directory name."), QStringLiteral("THEME"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("remove needs exactly one THEME; 'glyphmorph remove --help' "
                                   "shows the usage"),
            UsageError);
    const QString wanted = positional.first();
    if (wanted == EmoticonThemeManager::defaultThemeUUID())
        return fail(QStringLiteral("the built-in theme cannot be removed"));

    Library library;
    QStringList matches;
    const QHash<QString, EmoticonTheme> themes = library.manager().emoticonThemes();
    for (const EmoticonTheme &theme : themes) {
        const QString directory = themeDirectory(theme);
        if (theme.themeUUID() == wanted || theme.themeName() == wanted
            || (!directory.isEmpty() && QDir(directory).dirName() == wanted)) {
            if (directory.isEmpty())
                return fail(QStringLiteral("the built-in theme cannot be removed"));
            matches << directory;
        }
    }
    matches.removeDuplicates();
    if (matches.isEmpty())
        return fail(QStringLiteral("no installed theme has the UUID or name '%1'").arg(wanted));
    if (matches.size() > 1) {
        return fail(QStringLiteral("'%1' names %2 installed themes (%3): give the UUID")
                        .arg(wanted)
                        .arg(matches.size())
                        .arg(matches.join(QStringLiteral(", "))));
    }
    // Out of the root in one rename first, so applications see the theme go at once and whole.
    const QString root = EmoticonThemeManager::themesRootPath();
    QTemporaryDir removed(QDir(root).filePath(QStringLiteral(".glyphmorph-remove-XXXXXX")));
    QString error;
    if (!removed.isValid()
        || !moveDirectory(
            matches.first(), QDir(removed.path()).filePath(QStringLiteral("theme")), &error))
        return fail(error.isEmpty() ? removed.errorString() : error);
    out(QStringLiteral("removed: %1\n").arg(matches.first()));
    return Success;
}

int runImport(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("import"),
        QStringLiteral(
            "Converts a KDE emoticon theme (emoticons.xml) or a Pidgin smiley theme (theme file,\n"
            "its [default] section), given as a directory or archive, into a theme directory of\n"
            "this library's format below DIR, without installing it: a description file and\n"
            "the images as PNG. The UUID is derived from the format and the theme's name, so an\n"
            "import of the same theme installs over the earlier one with --replace. A code that\n"
            "an earlier emoticon has is left out with a warning; Pidgin's hidden (\"!\")\n"
            "smileys come last in the picker."));
    const QCommandLineOption output({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("The directory to write the theme directory into."), QStringLiteral("DIR"));
    commandLine.parser.addOption(output);
    commandLine.parser.addPositionalArgument(QStringLiteral("source"),
        QStringLiteral("A KDE or Pidgin theme directory or archive."), QStringLiteral("SOURCE"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1 || !commandLine.parser.isSet(output))
        return fail(QStringLiteral("import needs one SOURCE and -o DIR; 'glyphmorph import --help' "
                                   "shows the usage"),
            UsageError);

    QTemporaryDir work;
    QStringList warnings;
    QString error;
    const QString staged = work.isValid()
        ? stageTheme(positional.first(), work.path(), &warnings, &error)
        : QString();
    printWarnings(warnings);
    if (staged.isEmpty())
        return fail(error.isEmpty() ? work.errorString() : error);
    const QString target = QDir(commandLine.parser.value(output)).filePath(QDir(staged).dirName());
    if (QFileInfo::exists(target))
        return fail(QStringLiteral("%1 exists already").arg(target));
    if (!QDir().mkpath(commandLine.parser.value(output)) || !copyTree(staged, target, &error))
        return fail(error.isEmpty() ? QStringLiteral("%1 cannot be written").arg(target) : error);
    out(QStringLiteral("imported: %1\n").arg(target));
    return Success;
}

} // namespace Tool
