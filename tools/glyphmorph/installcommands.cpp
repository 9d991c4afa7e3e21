// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph install, remove and import: themes in and out of the themes root, whole or not at all.
//
// A theme is made complete in a hidden staging directory on the root's own file system (the
// library passes over hidden entries), checked with the library's rules, and moved in with one
// rename or exchange, so a running application never sees half a theme. Changes to the root are
// serialised by its lock, and each begins by finishing what a killed one left behind.
#include "rootchange.h"
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

#include <cerrno>

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
            if (!QDir(to).mkpath(relative)) {
                *error = QStringLiteral("%1 cannot be made: %2")
                             .arg(QDir(to).filePath(relative), systemErrorText(errno));
                return false;
            }
            continue;
        }
        total += info.size();
        if (!info.isFile() || info.size() > limits.fileBytes || total > limits.totalBytes) {
            *error = info.isFile() ? QStringLiteral("%1 is too large").arg(path)
                                   : QStringLiteral("%1 is not a regular file").arg(path);
            return false;
        }
        QFile input(path);
        if (!input.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1 cannot be read: %2").arg(path, input.errorString());
            return false;
        }
        NewFile output(QDir(to).filePath(relative));
        // Named by the file the user gave: the copy's own path is a staging one.
        const auto copyFailed = [&] {
            *error = QStringLiteral("%1 cannot be copied: %2").arg(path, output.reason());
            return false;
        };
        if (!output.open(error))
            return copyFailed();
        char buffer[65536];
        for (;;) {
            const qint64 read = input.read(buffer, sizeof buffer);
            if (read < 0) {
                *error = QStringLiteral("%1 cannot be read: %2").arg(path, input.errorString());
                return false;
            }
            if (read == 0)
                break;
            if (!output.write(buffer, read, error))
                return copyFailed();
        }
        if (!output.close(error))
            return copyFailed();
    }
    return true;
}

QString archiveBaseName(const QString &archive)
{
    QString name = QFileInfo(archive).fileName();
    for (const char *suffix :
        { ".tar.gz", ".tar.xz", ".tar.bz2", ".tgz", ".txz", ".tbz2", ".tar", ".zip" }) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            name.chop(int(qstrlen(suffix)));
            break;
        }
    }
    return name;
}

/** A theme made ready in a staging directory. */
struct Staged
{
    /** The theme directory, of this library's format. */
    QString directory;
    bool converted = false;
    Conversion conversion;
    /** Notes of the staging, such as a hidden directory made visible. */
    QStringList warnings;
    /** The paths in staging as the user knows them. */
    ShownPaths shown;
};

// A hidden theme directory is never read by the library: it is staged under its visible name.
bool makeVisible(QString *directory, Staged *staged, QString *error)
{
    const QString name = QDir(*directory).dirName();
    if (!name.startsWith(QLatin1Char('.')))
        return true;
    QString visible = name;
    while (visible.startsWith(QLatin1Char('.')))
        visible.remove(0, 1);
    if (visible.isEmpty() || visible.endsWith(QLatin1String(".xml"))) {
        *error = QStringLiteral("the theme directory '%1' is hidden, and has no visible name")
                     .arg(name);
        return false;
    }
    const QDir parent = QFileInfo(*directory).dir();
    const QString renamed = parent.filePath(visible);
    if (QFileInfo::exists(renamed)
        || !QDir(*directory).rename(name + QLatin1String(".xml"), visible + QLatin1String(".xml"))
        || !QDir().rename(*directory, renamed)) {
        *error = QStringLiteral("the hidden theme directory '%1' cannot be staged as '%2'")
                     .arg(name, visible);
        return false;
    }
    staged->warnings << QStringLiteral("the theme directory '%1' is hidden, which the library "
                                       "never reads: it is installed as '%2'")
                            .arg(name, visible);
    *directory = renamed;
    return true;
}

// Puts SOURCE (a theme directory or archive, of any format the tool reads) as a theme directory
// of this library's format below @p work.
bool stageTheme(const QString &source, const QString &work, const QString &destination,
    Staged *staged, QString *error)
{
    const QFileInfo info(source);
    const QString unpacked = QDir(work).filePath(QStringLiteral("source"));
    if (!QDir().mkpath(unpacked)) {
        *error = QStringLiteral("%1 cannot be made: %2").arg(unpacked, systemErrorText(errno));
        return false;
    }
    QString flatName;
    if (info.isDir()) {
        // A native theme keeps its directory name, which names its description file.
        const QString copy = QDir(unpacked).filePath(QDir(info.absoluteFilePath()).dirName());
        staged->shown.add(copy, info.absoluteFilePath());
        if (!QDir().mkpath(copy) || !copyTree(info.absoluteFilePath(), copy, error))
            return false;
    } else if (info.isFile() && isArchiveName(source)) {
        staged->shown.add(unpacked + QLatin1Char('/'), info.absoluteFilePath() + QLatin1Char(':'));
        staged->shown.add(unpacked, info.absoluteFilePath());
        flatName = archiveBaseName(source);
        if (!unpackArchive(source, unpacked, error))
            return false;
    } else {
        *error = info.exists()
            ? QStringLiteral("%1 is neither a theme directory nor a .zip, .tar, .tar.gz, .tar.xz "
                             "or .tar.bz2 archive")
                  .arg(source)
            : QStringLiteral("%1 does not exist").arg(source);
        return false;
    }
    FoundTheme found = findTheme(unpacked);
    const QStringList descriptions
        = QDir(unpacked).entryList({ QStringLiteral("*.xml") }, QDir::Files | QDir::Hidden);
    if (found.format == FoundTheme::None && found.several.isEmpty() && !flatName.isEmpty()
        && descriptions.size() == 1) {
        // A theme packed from inside its directory (tar -C Theme -cf t.tar .): its one
        // description file names the directory.
        const QString native = QDir(work).filePath(QStringLiteral("native"));
        const QString directory
            = QDir(native).filePath(QFileInfo(descriptions.first()).completeBaseName());
        if (QDir().mkpath(native) && QDir().rename(unpacked, directory)) {
            staged->shown.add(
                directory + QLatin1Char('/'), info.absoluteFilePath() + QLatin1Char(':'));
            staged->shown.add(directory, info.absoluteFilePath());
            found = findTheme(directory);
        }
    }
    if (!found.several.isEmpty()) {
        *error = QStringLiteral("%1 holds more than one theme: %2")
                     .arg(source, found.several.join(QStringLiteral(", ")));
        return false;
    }
    if (found.format == FoundTheme::None) {
        *error = QStringLiteral("%1 holds no theme: no NAME/NAME.xml, emoticons.xml (KDE) or "
                                "theme (Pidgin) file")
                     .arg(source);
        return false;
    }
    if (found.format == FoundTheme::Native) {
        staged->directory = found.directory;
        return makeVisible(&staged->directory, staged, error);
    }
    // A flat archive has no directory to name the theme: the archive's own name does.
    const QString name = QDir::cleanPath(found.directory) == QDir::cleanPath(unpacked)
        ? flatName
        : QDir(found.directory).dirName();
    const QString output = QDir(work).filePath(QStringLiteral("converted"));
    if (!QDir().mkpath(output)) {
        *error = QStringLiteral("%1 cannot be made: %2").arg(output, systemErrorText(errno));
        return false;
    }
    staged->converted = true;
    // Converted files are named where they go.
    staged->shown.add(output + QLatin1Char('/'), destination + QLatin1Char('/'));
    if (!convertTheme(found, name, output, &staged->conversion, error))
        return false;
    staged->directory = staged->conversion.directory;
    return true;
}

// At most this many warnings of a conversion are printed; a theme can have thousands.
constexpr int maxWarningsShown = 100;

void printWarnings(const QStringList &warnings, const ShownPaths &shown)
{
    for (int i = 0; i < warnings.size() && i < maxWarningsShown; ++i)
        err(QStringLiteral("warning: ") + printable(shown(warnings.at(i))));
    if (warnings.size() > maxWarningsShown)
        err(QStringLiteral("warning: %1 more warnings not shown")
                .arg(warnings.size() - maxWarningsShown));
}

/** Checks the staged theme as check would, with the user's paths in the messages; prints the
 *  warnings and returns the refusal (NotRefused when accepted). */
EmoticonThemeDiagnosis diagnoseStaged(Staged &staged, const QString &target)
{
    printWarnings(staged.warnings + staged.conversion.warnings, staged.shown);
    EmoticonThemeDiagnosis diagnosis = EmoticonThemeFactory::diagnoseTheme(staged.directory);
    printDiagnosisWarnings(diagnosis, staged.shown);
    if (diagnosis.refusal() == EmoticonThemeDiagnosis::NotRefused && staged.converted) {
        // The converter keeps to the library's limits; should they part, say so.
        const int taken = emoticonCount(diagnosis.theme());
        if (taken < staged.conversion.emoticons) {
            err(QStringLiteral("warning: %1: the library takes %2 of the %3 written")
                    .arg(printable(target), QString::number(taken),
                        emoticonsText(staged.conversion.emoticons)));
            staged.conversion.emoticonsLeftOut += staged.conversion.emoticons - taken;
        }
    }
    return diagnosis;
}

int refuse(const EmoticonThemeDiagnosis &diagnosis, const ShownPaths &shown)
{
    return fail(QStringLiteral("refused: %1: %2")
                    .arg(printable(shown(diagnosis.directory())), refusalText(diagnosis, shown)),
        diagnosis.refusal());
}

/** ", 3 emoticons" and what was left out. */
QString summary(const EmoticonTheme &theme, const Staged &staged)
{
    QString text = QStringLiteral(", ") + emoticonsText(emoticonCount(theme));
    QStringList leftOut;
    if (staged.conversion.emoticonsLeftOut > 0)
        leftOut << emoticonsText(staged.conversion.emoticonsLeftOut);
    if (staged.conversion.codesLeftOut > 0) {
        leftOut << (staged.conversion.codesLeftOut == 1
                ? QStringLiteral("1 code")
                : QStringLiteral("%1 codes").arg(staged.conversion.codesLeftOut));
    }
    if (!leftOut.isEmpty())
        text += QStringLiteral(" (left out: %1; see the warnings)")
                    .arg(leftOut.join(QStringLiteral(", ")));
    return text;
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

/** Takes the root's lock and finishes what killed commands left behind. */
bool prepareRoot(const QString &root, bool make, DirectoryLock *lock, QString *error)
{
    // A root that is not there holds nothing to remove, and gets no lock file for it.
    if (!make && !QFileInfo(root).isDir())
        return true;
    if (!QDir().mkpath(root)) {
        *error = QStringLiteral("the themes root %1 cannot be made: %2")
                     .arg(printable(root), systemErrorText(errno));
        return false;
    }
    if (!lock->acquire(root, error))
        return false;
    reclaimStaging(root, true);
    return true;
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
            "refused; entries named \"./NAME\" are taken as NAME. An archive of one theme's files\n"
            "without its directory names the theme by its description file, or else (KDE) by\n"
            "the archive's name; a hidden theme directory is installed under its visible name.\n"
            "The theme is checked as 'glyphmorph check' checks it and moved in with one rename,\n"
            "so running applications see it whole.\n"
            "A theme whose UUID is installed already is refused, unless --replace is given: then\n"
            "it takes the installed version's place in one exchange of directories, and\n"
            "applications using it keep it.\n"
            "Changes to the themes root are serialised (its lock file .glyphmorph-lock): a\n"
            "second install or remove waits for the first. One that was killed half way is\n"
            "completed or undone by the next install or remove, which also deletes what it\n"
            "left in staging. A full disk is reported as \"no space left on device\" (exit 1).\n"
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
    DirectoryLock lock;
    QString error;
    if (!prepareRoot(root, true, &lock, &error))
        return fail(error);
    Staging staging(root, QStringLiteral("install"));
    if (!staging.isValid())
        return fail(staging.errorString());

    Staged staged;
    const bool stagedWell = stageTheme(positional.first(), staging.path(), root, &staged, &error);
    if (!stagedWell) {
        printWarnings(staged.warnings + staged.conversion.warnings, staged.shown);
        return fail(printable(staged.shown(error)));
    }
    const QString name = QDir(staged.directory).dirName();
    const QString target = QDir(root).filePath(name);
    EmoticonThemeDiagnosis diagnosis = diagnoseStaged(staged, target);
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused)
        return refuse(diagnosis, staged.shown);

    const EmoticonTheme theme = diagnosis.theme();
    Library library;
    const QHash<QString, QString> installed = installedDirectories(library.manager());
    const QString previous = installed.value(theme.themeUUID());
    if (!previous.isEmpty() && !commandLine.parser.isSet(replace)) {
        return fail(QStringLiteral("the theme %1 is installed already in %2; --replace installs "
                                   "this version in its place")
                        .arg(printable(theme.themeUUID()), printable(previous)),
            EmoticonThemeDiagnosis::ThemeTaken);
    }
    if (QFileInfo::exists(target)
        && QFileInfo(target).canonicalFilePath() != QFileInfo(previous).canonicalFilePath()) {
        return fail(QStringLiteral("%1 exists and holds another theme").arg(printable(target)),
            EmoticonThemeDiagnosis::ThemeTaken);
    }
    // As check decides it; its notes on versions are answered above.
    findConflicts(diagnosis, library.manager());
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused)
        return refuse(diagnosis, staged.shown);
    testPoint("decided");

    const bool published = previous.isEmpty()
        ? publish(staged.directory, target, &error)
        : replaceDirectory(staging, staged.directory, previous, target, &error);
    if (!published)
        return fail(printable(staged.shown(error)));
    out(QStringLiteral("installed: '%1' (%2) in %3%4%5\n")
            .arg(printable(theme.themeName()), printable(theme.themeUUID()), printable(target),
                summary(theme, staged),
                previous.isEmpty() ? QString()
                                   : QStringLiteral(", replacing the earlier version")));
    return Success;
}

int runRemove(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("remove"),
        QStringLiteral(
            "Removes the installed theme with the UUID, name or directory name THEME\n"
            "from the themes root, in one rename. The built-in theme cannot be removed,\n"
            "so a name it shares with an installed theme names the installed one."));
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
    const QString root = EmoticonThemeManager::themesRootPath();
    DirectoryLock lock;
    QString error;
    if (!prepareRoot(root, false, &lock, &error))
        return fail(error);

    Library library;
    // The built-in theme cannot be removed, so a name it shares with an installed theme means the
    // installed one.
    const QList<EmoticonTheme> matches = themesNamed(library.manager(), wanted, false);
    if (matches.isEmpty()) {
        if (!themesNamed(library.manager(), wanted, true).isEmpty())
            return fail(QStringLiteral("the built-in theme cannot be removed"));
        return fail(
            QStringLiteral("no installed theme has the UUID or name '%1'").arg(printable(wanted)));
    }
    if (matches.size() > 1) {
        QStringList directories;
        for (const EmoticonTheme &theme : matches)
            directories << printable(themeDirectory(theme));
        return fail(QStringLiteral("'%1' names %2 installed themes (%3): give the UUID")
                        .arg(printable(wanted))
                        .arg(matches.size())
                        .arg(directories.join(QStringLiteral(", "))));
    }
    const QString directory = themeDirectory(matches.first());
    // Out of the root in one rename first, so applications see the theme go at once and whole.
    Staging removed(root, QStringLiteral("remove"));
    if (!removed.isValid())
        return fail(removed.errorString());
    if (!withdraw(removed, directory, &error))
        return fail(error);
    out(QStringLiteral("removed: '%1' (%2) from %3\n")
            .arg(printable(matches.first().themeName()), printable(matches.first().themeUUID()),
                printable(directory)));
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
            "import of the same theme installs over the earlier one with --replace. The name is\n"
            "the theme's own (Pidgin), else its directory's or archive's. Pidgin files may be\n"
            "UTF-8 or UTF-16; its hidden (\"!\") smileys come last in the picker.\n"
            "What the library would not take is left out with a warning naming its line: a\n"
            "code that an earlier emoticon has, one longer than 256 characters or with a\n"
            "control character, codes past 65536 characters in all, emoticons past a 4 MiB\n"
            "description, images that cannot be read; each source image gets a PNG of its own.\n"
            "The result is checked as 'glyphmorph check' checks it. It is written in a hidden\n"
            "staging directory in DIR and renamed into place only when complete."));
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

    // Written in a staging directory beside the output and renamed into place only when
    // complete, so that a full disk or a kill leaves no half theme there.
    const QString parent = QFileInfo(commandLine.parser.value(output)).absoluteFilePath();
    if (!QDir().mkpath(parent)) {
        return fail(
            QStringLiteral("%1 cannot be made: %2").arg(printable(parent), systemErrorText(errno)));
    }
    reclaimStaging(parent, false);
    Staging staging(parent, QStringLiteral("import"));
    if (!staging.isValid())
        return fail(staging.errorString());
    Staged staged;
    QString error;
    const bool stagedWell = stageTheme(positional.first(), staging.path(), parent, &staged, &error);
    if (!stagedWell) {
        printWarnings(staged.warnings + staged.conversion.warnings, staged.shown);
        return fail(printable(staged.shown(error)));
    }
    const QString target = QDir(parent).filePath(QDir(staged.directory).dirName());
    const EmoticonThemeDiagnosis diagnosis = diagnoseStaged(staged, target);
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused)
        return refuse(diagnosis, staged.shown);
    if (QFileInfo::exists(target))
        return fail(QStringLiteral("%1 exists already").arg(printable(target)));
    testPoint("decided");
    if (!publish(staged.directory, target, &error))
        return fail(printable(staged.shown(error)));
    out(QStringLiteral("imported: %1: '%2' (%3)%4\n")
            .arg(printable(target), printable(diagnosis.theme().themeName()),
                printable(diagnosis.theme().themeUUID()), summary(diagnosis.theme(), staged)));
    return Success;
}

} // namespace Tool
