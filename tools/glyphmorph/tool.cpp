// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "tool.h"

#include "textinput.h"
#include "unsafefile_p.h"

#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthememanager.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace Tool {

namespace {

const QString themesRootOption = QStringLiteral("themes-root");

QString writeError;

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

bool needsEscape(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029
        || (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

QString located(const EmoticonThemeDiagnosis::Finding &finding, const ShownPaths &shown)
{
    return finding.line > 0
        ? QStringLiteral("line %1: %2").arg(finding.line).arg(printable(shown(finding.text)))
        : printable(shown(finding.text));
}

} // namespace

bool out(const QString &text)
{
    return out(text.toUtf8());
}

bool out(const QByteArray &bytes)
{
    if (!writeError.isEmpty())
        return false;
    // A full disk or a closed pipe shows at the flush at the latest.
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0) {
        writeError = QStringLiteral("cannot write standard output: ") + systemError(errno);
        return false;
    }
    return true;
}

QString outputError()
{
    return writeError;
}

void err(const QString &text)
{
    const QByteArray bytes = QStringLiteral("glyphmorph: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int fail(const QString &message, int code)
{
    err(message);
    return code;
}

CommandLine::CommandLine(const QString &command, const QString &description)
    : m_command(command)
{
    parser.setApplicationDescription(description);
    parser.addOption(QCommandLineOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help.")));
    parser.addOption(QCommandLineOption(themesRootOption,
        QStringLiteral("Use DIR as the themes root for this run (default: "
                       "$GLYPHMORPH_THEMES_ROOT, else the system themes root)."),
        QStringLiteral("DIR")));
}

int CommandLine::parse(const QStringList &arguments)
{
    if (!parser.parse(QStringList { QStringLiteral("glyphmorph") } + arguments)) {
        err(parser.errorText());
        err(QStringLiteral("'glyphmorph %1 --help' shows the usage").arg(m_command));
        return UsageError;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out(helpText());
        return Success;
    }
    if (parser.isSet(themesRootOption))
        setThemesRoot(parser.value(themesRootOption));
    return -1;
}

QString CommandLine::helpText() const
{
    // QCommandLineParser names the program by its path; the usage line reads better with the
    // command in it.
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const int end = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(usage) && end > 0) {
        const QString name = m_command.isEmpty() ? QStringLiteral("glyphmorph")
                                                 : QStringLiteral("glyphmorph ") + m_command;
        text.replace(usage.size(), end - usage.size(), name);
    }
    return text;
}

void setThemesRoot(const QString &directory)
{
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(QFileInfo(directory).absoluteFilePath()));
}

QString printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!needsEscape(u))
            shown += c;
        else if (u == '\n')
            shown += QLatin1String("\\n");
        else if (u == '\r')
            shown += QLatin1String("\\r");
        else if (u == '\t')
            shown += QLatin1String("\\t");
        else if (u < 0x100)
            shown += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u{%1}").arg(uint(u), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

QString emoticonsText(int count)
{
    return count == 1 ? QStringLiteral("1 emoticon") : QStringLiteral("%1 emoticons").arg(count);
}

QString decode(const char *bytes, qsizetype size)
{
    // The QByteArray overload of fromUtf8 stops at the first NUL in Qt 5.
    return QString::fromUtf8(bytes, int(size));
}

bool readStandardInput(qint64 maxSize, QByteArray *bytes, QString *error)
{
    InputReader input(STDIN_FILENO);
    while (input.read(bytes)) {
        if (bytes->size() > maxSize) {
            *error = QStringLiteral("standard input holds more than %1 MiB of text")
                         .arg(maxSize / (1024 * 1024));
            return false;
        }
    }
    if (!input.error().isEmpty()) {
        *error = QStringLiteral("cannot read standard input: ") + input.error();
        return false;
    }
    return true;
}

void dropFinalLineEnd(QString *text)
{
    // Text piped from echo or a file ends with a line end that is not part of the message.
    if (text->endsWith(QLatin1Char('\n')))
        text->chop(1);
    if (text->endsWith(QLatin1Char('\r')))
        text->chop(1);
}

void joinCrLf(QString *text)
{
    if (text->contains(QLatin1Char('\r')))
        text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

EmoticonThemeManager &Library::manager()
{
    // The Glyphmorpher made it; its destructor deletes it.
    auto *&manager = SingletonBase<EmoticonThemeManager>::m_pInstance;
    if (!manager)
        manager = new EmoticonThemeManager();
    return *manager;
}

QString themeDirectory(const EmoticonTheme &theme)
{
    const QString root = QFileInfo(EmoticonThemeManager::themesRootPath()).canonicalFilePath();
    if (root.isEmpty())
        return QString();
    const QStringList images = theme.filePathToCodeSequenceMapping().keys();
    for (const QString &image : images) {
        if (image.isEmpty())
            continue;
        // Walk up from the image: the theme directory is the one right below the root.
        QDir directory = QFileInfo(image).absoluteDir();
        while (!directory.isRoot()) {
            QDir parent = directory;
            if (!parent.cdUp())
                break;
            if (QFileInfo(parent.path()).canonicalFilePath() == root)
                return directory.absolutePath();
            directory = parent;
        }
        return QString();
    }
    return QString();
}

QString imageFileProblem(const QString &path, const QStringList &allowed, QString *resolved)
{
    return UnsafeFile::problem(path, allowed, resolved);
}

/** Refuses @p diagnosis when its theme's UUID or service is another installed theme's; a theme
 *  from the diagnosed directory itself is the same theme, already installed. */
void findConflicts(EmoticonThemeDiagnosis &diagnosis, EmoticonThemeManager &manager)
{
    const EmoticonTheme theme = diagnosis.theme();
    const QString canonicalDirectory = QFileInfo(diagnosis.directory()).canonicalFilePath();
    QStringList found;
    const QHash<QString, EmoticonTheme> installed = manager.emoticonThemes();
    for (const EmoticonTheme &other : installed) {
        const QString otherDirectory = themeDirectory(other);
        if (otherDirectory.isEmpty()) {
            // Installed themes are compared with each other only; a theme with the built-in
            // theme's UUID is accepted and takes its place.
            if (other.themeUUID() == theme.themeUUID()) {
                diagnosis.add(EmoticonThemeDiagnosis::Finding::Warning,
                    QStringLiteral("the UUID %1 is the built-in theme's: once installed, this "
                                   "theme replaces the built-in theme")
                        .arg(theme.themeUUID()));
            }
            continue;
        }
        if (QFileInfo(otherDirectory).canonicalFilePath() == canonicalDirectory)
            continue;
        // The same UUID is the same theme: a new version of it, not a clash.
        if (other.themeUUID() == theme.themeUUID()) {
            diagnosis.add(EmoticonThemeDiagnosis::Finding::Warning,
                QStringLiteral("would replace the installed version '%1' in %2 (with "
                               "'glyphmorph install --replace')")
                    .arg(other.themeName(), otherDirectory));
            continue;
        }
        if (!theme.serviceUUID().isEmpty() && other.serviceUUID() == theme.serviceUUID()) {
            found << QStringLiteral("the service %1 is taken by the installed theme '%2' in %3")
                         .arg(theme.serviceUUID(), other.themeName(), otherDirectory);
        }
    }
    found.sort();
    if (!found.isEmpty())
        diagnosis.refuse(EmoticonThemeDiagnosis::ThemeTaken, found.join(QStringLiteral("; ")));
}

QString themeInUse(EmoticonThemeManager &manager)
{
    const EmoticonTheme theme = manager.themeForAccountPath(QString());
    return theme.isValid() ? theme.themeUUID() : manager.currentTheme();
}

QList<EmoticonTheme> themesNamed(
    EmoticonThemeManager &manager, const QString &wanted, bool builtInToo)
{
    QList<EmoticonTheme> matches;
    const QHash<QString, EmoticonTheme> themes = manager.emoticonThemes();
    for (const EmoticonTheme &theme : themes) {
        const QString directory = themeDirectory(theme);
        if (directory.isEmpty() && !builtInToo)
            continue;
        if (theme.themeUUID() == wanted || theme.themeName() == wanted
            || (!directory.isEmpty() && QDir(directory).dirName() == wanted))
            matches << theme;
    }
    std::sort(matches.begin(), matches.end(), [](const EmoticonTheme &a, const EmoticonTheme &b) {
        return a.themeUUID() < b.themeUUID();
    });
    return matches;
}

QString ShownPaths::operator()(const QString &text) const
{
    // The longest first: a converted theme's directory lies within the staging of its source.
    QList<QPair<QString, QString>> sorted = prefixes;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    QString shown = text;
    for (const auto &prefix : std::as_const(sorted))
        shown.replace(prefix.first, prefix.second);
    return shown;
}

QString refusalText(const EmoticonThemeDiagnosis &diagnosis, const ShownPaths &shown)
{
    QString reason = printable(shown(diagnosis.reason()));
    for (const EmoticonThemeDiagnosis::Finding &detail :
        diagnosis.findings(EmoticonThemeDiagnosis::Finding::Detail))
        reason += QStringLiteral("\n  ") + located(detail, shown);
    return reason;
}

void printDiagnosisWarnings(const EmoticonThemeDiagnosis &diagnosis, const ShownPaths &shown)
{
    const QString directory = printable(shown(diagnosis.directory()));
    for (const EmoticonThemeDiagnosis::Finding &warning :
        diagnosis.findings(EmoticonThemeDiagnosis::Finding::Warning))
        err(QStringLiteral("warning: %1: %2").arg(directory, located(warning, shown)));
}

int emoticonCount(const EmoticonTheme &theme)
{
    const QHash<QString, QString> &images = theme.filePathToCodeSequenceMapping();
    // An emoticon without a usable image leaves an entry under the empty key.
    return images.size() - (images.contains(QString()) ? 1 : 0);
}

} // namespace Tool
