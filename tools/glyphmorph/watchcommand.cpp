// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph watch: the theme manager's view of the themes, live, until SIGINT or SIGTERM.
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthememanager.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace Tool {

namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int signalPipe[2] = { -1, -1 };

void handleSignal(int)
{
    const char byte = 1;
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    static_cast<void>(written);
}

bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0
        && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

/** What is printed of a theme; a theme replaced under the same UUID prints again. */
QString describe(const EmoticonTheme &theme)
{
    // Escaped: a line feed in a name must not print as a line of its own.
    QString text = QStringLiteral("%1  '%2'")
                       .arg(printable(theme.themeUUID()), printable(theme.themeName()));
    if (!theme.serviceUUID().isEmpty())
        text += QStringLiteral("  service %1").arg(printable(theme.serviceUUID()));
    const QString directory = themeDirectory(theme);
    return text + QLatin1String("  ")
        + (directory.isEmpty() ? QStringLiteral("built in") : printable(directory));
}

using Snapshot = QMap<QString, QString>;

Snapshot snapshot(const EmoticonThemeManager &manager)
{
    Snapshot themes;
    const QHash<QString, EmoticonTheme> registered = manager.emoticonThemes();
    for (auto theme = registered.cbegin(); theme != registered.cend(); ++theme)
        themes.insert(theme.key(), describe(theme.value()));
    return themes;
}

void printChanges(const Snapshot &before, const Snapshot &after)
{
    for (auto theme = before.cbegin(); theme != before.cend(); ++theme) {
        if (after.value(theme.key()) != theme.value())
            out(QStringLiteral("removed  %1\n").arg(theme.value()));
    }
    for (auto theme = after.cbegin(); theme != after.cend(); ++theme) {
        if (before.value(theme.key()) != theme.value())
            out(QStringLiteral("added    %1\n").arg(theme.value()));
    }
}

} // namespace

int runWatch(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("watch"),
        QStringLiteral(
            "Runs the theme manager and prints every theme it registers or unregisters and every\n"
            "change of the current theme (also one made by another program), one line each:\n"
            "  present  UUID  'NAME'  [service SERVICE]  DIRECTORY    (at start)\n"
            "  added    UUID  'NAME'  [service SERVICE]  DIRECTORY\n"
            "  removed  UUID  'NAME'  [service SERVICE]  DIRECTORY\n"
            "  current  UUID  'NAME'    (the theme messages get: the chosen theme while it\n"
            "                            is registered, else the built-in theme)\n"
            "  refused  DIRECTORY  REASON    (a directory below the root without a theme)\n"
            "A theme being copied in is announced once complete (it has 10 seconds); a directory\n"
            "still without a registered theme 11 seconds after a change is reported. Stops on\n"
            "Ctrl+C (SIGINT) or SIGTERM with exit code 0; exit code 1 when the themes root is\n"
            "something other than a directory. A root that does not exist yet is waited for."));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    if (!commandLine.parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("watch takes no arguments"), UsageError);
    const QString root = EmoticonThemeManager::themesRootPath();
    if (QFileInfo::exists(root) && !QFileInfo(root).isDir()) {
        return fail(QStringLiteral("the themes root %1 is not a directory; --themes-root DIR "
                                   "names another")
                        .arg(root));
    }
    if (!installSignalHandlers())
        return fail(QStringLiteral("cannot install the signal handlers"));

    Library library;
    EmoticonThemeManager &manager = library.manager();
    Snapshot themes = snapshot(manager);
    for (const QString &theme : std::as_const(themes))
        out(QStringLiteral("present  %1\n").arg(theme));
    // The theme messages get: it changes with the choice, and when the chosen theme goes or
    // comes back.
    QString current;
    const auto reportCurrent = [&manager, &current] {
        const QString uuid = themeInUse(manager);
        if (uuid == current)
            return;
        current = uuid;
        out(QStringLiteral("current  %1  '%2'\n")
                .arg(printable(uuid), printable(manager.emoticonThemes().value(uuid).themeName())));
    };
    reportCurrent();
    // Directories the library passes over: at the start, and once a change below the root has
    // had the time a theme being copied in gets.
    QSet<QString> reported;
    const auto reportUnregistered = [&manager, &reported] {
        QSet<QString> now;
        for (const auto &directory : unregisteredDirectories(manager)) {
            const QString line = QStringLiteral("refused  %1  %2\n")
                                     .arg(printable(directory.first), printable(directory.second));
            now.insert(line);
            if (!reported.contains(line))
                out(line);
        }
        reported = now;
    };
    reportUnregistered();
    QTimer settled;
    settled.setSingleShot(true);
    settled.setInterval(11000);
    QObject::connect(&settled, &QTimer::timeout, &settled, reportUnregistered);
    QFileSystemWatcher rootChanges;
    if (QFileInfo(root).isDir())
        rootChanges.addPath(root);
    QObject::connect(&rootChanges, &QFileSystemWatcher::directoryChanged, &settled,
        QOverload<>::of(&QTimer::start));
    QObject::connect(&manager, &EmoticonThemeManager::availableThemesChanged, &settled,
        QOverload<>::of(&QTimer::start));
    out(QStringLiteral("watching %1%2\n")
            .arg(printable(root),
                QFileInfo(root).isDir() ? QString() : QStringLiteral(" (not there yet)")));

    QObject::connect(
        &manager, &EmoticonThemeManager::availableThemesChanged, &manager, [&manager, &themes] {
            const Snapshot now = snapshot(manager);
            printChanges(themes, now);
            themes = now;
        });
    // After the listing of the change that caused it.
    QObject::connect(
        &manager, &EmoticonThemeManager::availableThemesChanged, &manager, reportCurrent);
    QObject::connect(&manager, &EmoticonThemeManager::currentThemeChanged, &manager, reportCurrent);
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &notifier, [] {
        char byte;
        const ssize_t got = ::read(signalPipe[0], &byte, 1);
        static_cast<void>(got);
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    return Success;
}

} // namespace Tool
