// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// What the commands of the glyphmorph tool share: exit codes, output, input and option parsing.
#ifndef GLYPHMORPH_TOOL_H
#define GLYPHMORPH_TOOL_H

#include <glyphmorpher.h>

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

class EmoticonTheme;
class EmoticonThemeDiagnosis;
class EmoticonThemeManager;

namespace Tool {

enum ExitCode
{
    Success = 0,
    Failure = 1,
    UsageError = 2,
    // "check" exits with EmoticonThemeDiagnosis::Refusal, 3 to 9.
};

/** Writes UTF-8 to standard output at once, so that a reading process sees each line. False
 *  when the output could not be written, then and for every later call (see outputError()). */
bool out(const QString &text);
/** The same for text in UTF-8 already. */
bool out(const QByteArray &utf8);
/** Why writing standard output failed; empty while it has not. */
QString outputError();
/** Writes "glyphmorph: " and @p text as a line to standard error. */
void err(const QString &text);
/** err(), then returns @p code. */
int fail(const QString &message, int code = Failure);

/**
 * The options of one command. Every command accepts --help and --themes-root; parse() applies
 * --themes-root to the environment before any theme manager exists.
 */
class CommandLine
{
public:
    CommandLine(const QString &command, const QString &description);

    QCommandLineParser parser;

    /** Parses @p arguments (without the program and command names). Returns -1 when the command
     *  should run, otherwise the exit code (help shown, or an error reported). */
    int parse(const QStringList &arguments);
    /** The help text with "glyphmorph COMMAND" as the program name. */
    QString helpText() const;

private:
    QString m_command;
};

/** Applies a --themes-root value: the directory becomes GLYPHMORPH_THEMES_ROOT for this run. */
void setThemesRoot(const QString &directory);

/** @p text with its control characters (C0, DEL, C1, line and paragraph separators, bidirectional
 *  controls) escaped as \n, \xHH or \u{HHHH}, so that a theme's name, code or path prints as
 *  one line that cannot pass for another. */
QString printable(const QString &text);
/** "1 emoticon", "2 emoticons". */
QString emoticonsText(int count);

/** UTF-8 to text, NUL characters kept and malformed bytes as U+FFFD. */
QString decode(const char *bytes, qsizetype size);
/** The whole of standard input, as UTF-8. False with @p error set when it cannot be read or
 *  holds more than @p maxSize bytes. */
bool readStandardInput(qint64 maxSize, QByteArray *bytes, QString *error);
/** Drops one final line end and then one final carriage return, as piped text ends. */
void dropFinalLineEnd(QString *text);
/** Makes each CR LF of @p text one line feed: a text file's line end, which the library would
 *  read as two. */
void joinCrLf(QString *text);

/** The library for one command: the Glyphmorpher, and with it the theme manager and the whole
 *  theme discovery, from construction until the command ends. */
class Library
{
public:
    Glyphmorpher &morpher() { return m_morpher; }
    EmoticonThemeManager &manager();

private:
    Glyphmorpher m_morpher;
};

/** The installed theme directory that @p theme's images live in, below the themes root; null
 *  for a theme from elsewhere, such as the built-in theme. */
QString themeDirectory(const EmoticonTheme &theme);
/** The directories below the themes root that hold no registered theme, each with the reason:
 *  the library's diagnosis of it, or why a theme it accepts is not used. */
QList<QPair<QString, QString>> unregisteredDirectories(EmoticonThemeManager &manager);
/** Refuses @p diagnosis when its theme's service is another installed theme's; warns when it is
 *  a new version of an installed theme or takes the built-in theme's place. A theme from the
 *  diagnosed directory itself is the same theme, already installed. */
void findConflicts(EmoticonThemeDiagnosis &diagnosis, EmoticonThemeManager &manager);
/** The UUID of the theme that text without an account gets: the current theme while it is
 *  registered, else the built-in theme; the stored choice when no theme is registered. Like any
 *  rendering, this sets a choice that is gone for good back to the built-in theme. */
QString themeInUse(EmoticonThemeManager &manager);
/** The number of emoticons @p theme can put into text. */
int emoticonCount(const EmoticonTheme &theme);
/** The registered themes that @p wanted names by UUID, name or directory name; the built-in theme
 *  only with @p builtInToo. */
QList<EmoticonTheme> themesNamed(
    EmoticonThemeManager &manager, const QString &wanted, bool builtInToo);
/** Paths as the user knows them: each internal prefix (a staging directory) is shown as the path
 *  the user gave, so that no message names a temporary path. */
struct ShownPaths
{
    QList<QPair<QString, QString>> prefixes;
    void add(const QString &internal, const QString &shown)
    {
        prefixes.append({ internal, shown });
    }
    QString operator()(const QString &text) const;
};

/** The refusal of @p diagnosis with its details ("line N: TEXT"), one per line, escaped. */
QString refusalText(const EmoticonThemeDiagnosis &diagnosis, const ShownPaths &shown = {});
/** Prints the warnings of @p diagnosis as check does: "warning: DIR: line N: TEXT". */
void printDiagnosisWarnings(const EmoticonThemeDiagnosis &diagnosis, const ShownPaths &shown = {});

/** The largest image file that is read. */
constexpr qint64 maxImageFileSize = 4 * 1024 * 1024;
/** Why the image file at @p path may not be read: it is not a regular file once symbolic links
 *  are resolved, or it resolves outside every directory of @p allowed. Empty when it may be;
 *  @p resolved gets the path it resolves to. Opens nothing. */
QString imageFileProblem(const QString &path, const QStringList &allowed, QString *resolved);

int runHtml(const QStringList &arguments);
int runPlain(const QStringList &arguments);
int runPage(const QStringList &arguments);
int runThemes(const QStringList &arguments);
int runUse(const QStringList &arguments);
int runCheck(const QStringList &arguments);
int runInstall(const QStringList &arguments);
int runRemove(const QStringList &arguments);
int runImport(const QStringList &arguments);
int runWatch(const QStringList &arguments);
int runEmoji(const QStringList &arguments);

} // namespace Tool

#endif
