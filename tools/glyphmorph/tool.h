// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// What the commands of the glyphmorph tool share: exit codes, output, input and option parsing.
#ifndef GLYPHMORPH_TOOL_H
#define GLYPHMORPH_TOOL_H

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class EmoticonTheme;
class EmoticonThemeManager;

namespace Tool {

enum ExitCode
{
    Success = 0,
    Failure = 1,
    UsageError = 2,
    // Only "check" uses these: one per reason a theme directory is refused.
    NoThemeFile = 3,
    UnreadableThemeFile = 4,
    NoIdentity = 5,
    NoUsableEmoticon = 6,
    MissingImages = 7,
    ThemeTaken = 8,
};

/** Writes UTF-8 to standard output at once, so that a reading process sees each line. */
void out(const QString &text);
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

/** The text of @p words joined by spaces; standard input (one final line end dropped) when
 *  there are none. False with @p error set when standard input cannot be read. */
bool readText(const QStringList &words, QString *text, QString *error);
/** The whole content of @p path as UTF-8, or of standard input for "-". */
bool readFile(const QString &path, QString *text, QString *error);

/** The manager created by a Glyphmorpher that the caller keeps alive. */
EmoticonThemeManager &themeManager();

/** The installed theme directory that @p theme's images live in, below the themes root; null
 *  for a theme from elsewhere, such as the built-in theme. */
QString themeDirectory(const EmoticonTheme &theme);
/** The number of emoticons @p theme can put into text. */
int emoticonCount(const EmoticonTheme &theme);

int runHtml(const QStringList &arguments);
int runPlain(const QStringList &arguments);
int runPage(const QStringList &arguments);
int runThemes(const QStringList &arguments);
int runUse(const QStringList &arguments);
int runCheck(const QStringList &arguments);
int runWatch(const QStringList &arguments);

} // namespace Tool

#endif
