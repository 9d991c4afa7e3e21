// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph themes and glyphmorph use.
#include "rootchange.h"
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <mgconfitem.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace Tool {

namespace {

QList<EmoticonTheme> sortedThemes(const QHash<QString, EmoticonTheme> &themes)
{
    QList<EmoticonTheme> list = themes.values();
    std::sort(list.begin(), list.end(), [](const EmoticonTheme &a, const EmoticonTheme &b) {
        const int byName = a.themeName().compare(b.themeName(), Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.themeUUID() < b.themeUUID();
    });
    return list;
}

QString previewFile(const EmoticonTheme &theme)
{
    if (theme.previewPixmapName().isEmpty())
        return QString();
    const QString path = EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->filePath(
        theme.previewPixmapName() + QLatin1String(".png"));
    return QFileInfo::exists(path) ? path : QString();
}

QJsonValue nullable(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QString themesAsJson(const QList<EmoticonTheme> &themes, const QString &current)
{
    QJsonArray list;
    for (const EmoticonTheme &theme : themes) {
        list.append(QJsonObject {
            { QStringLiteral("uuid"), theme.themeUUID() },
            { QStringLiteral("name"), theme.themeName() },
            { QStringLiteral("service"), nullable(theme.serviceUUID()) },
            { QStringLiteral("emoticons"), emoticonCount(theme) },
            { QStringLiteral("preview"), nullable(previewFile(theme)) },
            { QStringLiteral("directory"), nullable(themeDirectory(theme)) },
            { QStringLiteral("current"), theme.themeUUID() == current },
        });
    }
    const QJsonObject document {
        { QStringLiteral("themesRoot"), EmoticonThemeManager::themesRootPath() },
        { QStringLiteral("current"), current },
        { QStringLiteral("themes"), list },
    };
    return QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

QString themesAsText(
    const QList<EmoticonTheme> &themes, const QString &current, const QString &chosen)
{
    const QString root = EmoticonThemeManager::themesRootPath();
    QString text
        = QStringLiteral("themes root: %1%2\n")
              .arg(printable(root),
                  QFileInfo(root).isDir() ? QString() : QStringLiteral(" (not a directory)"));
    bool chosenFound = false;
    for (const EmoticonTheme &theme : themes) {
        const bool isCurrent = theme.themeUUID() == current;
        chosenFound = chosenFound || theme.themeUUID() == chosen;
        const QString directory = themeDirectory(theme);
        const QString preview = previewFile(theme);
        text += QStringLiteral("\n%1 %2%3\n")
                    .arg(isCurrent ? QLatin1Char('*') : QLatin1Char(' '))
                    .arg(printable(theme.themeName()),
                        isCurrent ? QStringLiteral(" (current)") : QString());
        text += QStringLiteral("    uuid:       %1\n").arg(printable(theme.themeUUID()));
        text += QStringLiteral("    service:    %1\n")
                    .arg(theme.serviceUUID().isEmpty() ? QStringLiteral("none")
                                                       : printable(theme.serviceUUID()));
        text += QStringLiteral("    emoticons:  %1\n").arg(emoticonCount(theme));
        text += QStringLiteral("    preview:    %1\n")
                    .arg(preview.isEmpty() ? QStringLiteral("none") : printable(preview));
        text += QStringLiteral("    directory:  %1\n")
                    .arg(directory.isEmpty() ? QStringLiteral("built in") : printable(directory));
    }
    if (!chosenFound) {
        text += QStringLiteral("\nThe chosen theme %1 is not registered (it may be being copied "
                               "in); messages get the built-in theme meanwhile.\n")
                    .arg(printable(chosen));
    }
    return text;
}

// The library offers the Emoji theme wherever a colour emoji font draws its images.
const QLatin1String emojiThemeUUID("928ab845-fe9b-497d-af5f-e49ee6609415");
const QLatin1String emojiThemeMissing(
    "no colour emoji font found; install fonts-noto-color-emoji to get it");

QString unregisteredAsText(const QList<QPair<QString, QString>> &directories)
{
    QString text;
    if (!directories.isEmpty())
        text += QStringLiteral("\nDirectories without a registered theme:\n");
    for (const auto &directory : directories)
        text += QStringLiteral("  %1\n    %2\n")
                    .arg(printable(directory.first), printable(directory.second));
    return text;
}

} // namespace

QList<QPair<QString, QString>> unregisteredDirectories(EmoticonThemeManager &manager)
{
    QHash<QString, EmoticonTheme> registered; // by canonical directory
    const QHash<QString, EmoticonTheme> themes = manager.emoticonThemes();
    for (const EmoticonTheme &theme : themes) {
        const QString directory = themeDirectory(theme);
        if (!directory.isEmpty())
            registered.insert(QFileInfo(directory).canonicalFilePath(), theme);
    }
    QList<QPair<QString, QString>> found;
    const QFileInfoList entries
        = QDir(EmoticonThemeManager::themesRootPath())
              .entryInfoList(QDir::AllDirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (registered.contains(entry.canonicalFilePath()))
            continue;
        const EmoticonThemeDiagnosis diagnosis
            = EmoticonThemeFactory::diagnoseTheme(entry.absoluteFilePath());
        QString reason = diagnosis.reason().section(QLatin1Char('\n'), 0, 0);
        if (reason.isEmpty()) {
            // Accepted by the rules: the registry chose another theme, or waits for files.
            const EmoticonTheme theme = diagnosis.theme();
            const EmoticonTheme other = themes.value(theme.themeUUID());
            reason = other.isValid()
                ? QStringLiteral(
                    "its UUID %1 is also the registered theme '%2', which was found first")
                      .arg(theme.themeUUID(), other.themeName())
                : QStringLiteral("accepted by check, but not registered: its service is "
                                 "another theme's, or it is still being copied in");
        }
        found.append({ entry.absoluteFilePath(), reason });
    }
    return found;
}

int runThemes(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("themes"),
        QStringLiteral(
            "Lists the registered themes, the built-in theme and every complete theme below the\n"
            "themes root, sorted by name: UUID, name, the messaging service a theme is bound\n"
            "to, number of emoticons, preview image file, theme directory. The current theme,\n"
            "the one messages get, is marked with *: the chosen theme while it is registered,\n"
            "else the built-in theme."));
    const QCommandLineOption json(QStringLiteral("json"),
        QStringLiteral("Print a JSON object instead: themesRoot, current (the UUID of the theme "
                       "messages get) and themes, an "
                       "array of {uuid, name, service, emoticons, preview, directory, current}; "
                       "absent values are null."));
    commandLine.parser.addOption(json);
    const QCommandLineOption all(QStringLiteral("all"),
        QStringLiteral("Also list the directories below the themes root that hold no registered "
                       "theme, and why, and say why the built-in Emoji theme is not offered when "
                       "it is not (JSON: unregistered, an array of {directory, reason}, and "
                       "notOffered, an array of {uuid, name, reason})."));
    commandLine.parser.addOption(all);
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (!commandLine.parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("themes takes no arguments"), UsageError);

    Library library;
    const QList<EmoticonTheme> themes = sortedThemes(library.manager().emoticonThemes());
    // The theme messages get, which is not the stored choice while that is not registered.
    const QString current = themeInUse(library.manager());
    const QList<QPair<QString, QString>> unregistered = commandLine.parser.isSet(all)
        ? unregisteredDirectories(library.manager())
        : QList<QPair<QString, QString>>();
    const bool emojiMissing = commandLine.parser.isSet(all)
        && !library.manager().emoticonThemes().contains(emojiThemeUUID);
    if (!commandLine.parser.isSet(json)) {
        out(themesAsText(themes, current, library.manager().currentTheme())
            + unregisteredAsText(unregistered)
            + (emojiMissing ? QLatin1String("\nThe Emoji theme is not offered: ")
                        + emojiThemeMissing + QLatin1Char('\n')
                            : QString()));
        return Success;
    }
    QJsonObject document = QJsonDocument::fromJson(themesAsJson(themes, current).toUtf8()).object();
    if (commandLine.parser.isSet(all)) {
        QJsonArray list;
        for (const auto &directory : unregistered) {
            list.append(QJsonObject { { QStringLiteral("directory"), directory.first },
                { QStringLiteral("reason"), directory.second } });
        }
        document.insert(QStringLiteral("unregistered"), list);
        QJsonArray notOffered;
        if (emojiMissing) {
            notOffered.append(QJsonObject { { QStringLiteral("uuid"), emojiThemeUUID },
                { QStringLiteral("name"), QStringLiteral("Emoji") },
                { QStringLiteral("reason"), emojiThemeMissing } });
        }
        document.insert(QStringLiteral("notOffered"), notOffered);
    }
    out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    return Success;
}

int runUse(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("use"),
        QStringLiteral(
            "Makes the registered theme THEME the current theme of this user, in every\n"
            "application. THEME is a UUID, a theme's name or its directory name, as\n"
            "'glyphmorph themes' lists them; the built-in theme's UUID is\n"
            "343a7f65-0095-4eae-8fc2-87af7f3bf5158. A THEME that no registered theme has, or\n"
            "that names several, is refused (exit code 1)."));
    commandLine.parser.addPositionalArgument(QStringLiteral("theme"),
        QStringLiteral("The theme's UUID, name or directory name."), QStringLiteral("THEME"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("use needs exactly one THEME; 'glyphmorph use --help' "
                                   "shows the usage"),
            UsageError);

    const QString wanted = positional.first();
    Library library;
    QList<EmoticonTheme> matches = themesNamed(library.manager(), wanted, true);
    // A UUID names one theme, whatever other themes are called.
    for (const EmoticonTheme &theme : std::as_const(matches)) {
        if (theme.themeUUID() == wanted)
            matches = { theme };
    }
    if (matches.isEmpty()) {
        return fail(QStringLiteral("no registered theme has the UUID or name '%1'; 'glyphmorph "
                                   "themes' lists them")
                        .arg(printable(wanted)));
    }
    if (matches.size() > 1) {
        QStringList uuids;
        for (const EmoticonTheme &theme : std::as_const(matches))
            uuids << theme.themeUUID();
        return fail(QStringLiteral("'%1' names %2 themes (%3): give the UUID")
                        .arg(printable(wanted))
                        .arg(matches.size())
                        .arg(printable(uuids.join(QStringLiteral(", ")))));
    }
    const EmoticonTheme theme = matches.first();
    // The write's own result: reading the key back could show another writer's later change.
    MGConfItem current(QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme"));
    const bool stored = current.set(theme.themeUUID());
    testPoint("use-written");
    if (!stored)
        return fail(QStringLiteral("the setting could not be stored"));
    out(QStringLiteral("current theme: %1 (%2)\n")
            .arg(printable(theme.themeName()), printable(theme.themeUUID())));
    return Success;
}

} // namespace Tool
