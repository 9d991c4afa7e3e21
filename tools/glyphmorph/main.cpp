// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph: emoticon HTML, themes and theme checks from the command line.
#include "tool.h"

#include <emosequencesearchtree.h>
#include <emoticontheme.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <glyphmorph_version.h>

#include <QApplication>

#include <new>

namespace {

struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

const Command commands[] = {
    { "html", "plain text to HTML with emoticon images", Tool::runHtml },
    { "plain", "emoticon HTML back to plain text", Tool::runPlain },
    { "page", "a self-contained HTML page showing the rendered text", Tool::runPage },
    { "themes", "the registered themes and which one is current", Tool::runThemes },
    { "use", "make a registered theme the current theme", Tool::runUse },
    { "check", "tell whether a theme directory would be accepted, and why not", Tool::runCheck },
    { "install", "install a theme directory or archive (KDE and Pidgin themes too)",
        Tool::runInstall },
    { "remove", "remove an installed theme", Tool::runRemove },
    { "import", "convert a KDE or Pidgin theme without installing it", Tool::runImport },
    { "watch", "print themes as they are added or removed, until interrupted", Tool::runWatch },
    { "emoji", "Unicode emoji names, search and skin tones in 100+ languages", Tool::runEmoji },
};

const char sampleMessage[] = "Hi :) see you at 8?\nI <3 this place ;) :D";

QString mainDescription()
{
    QString text = QStringLiteral(
        "Graphical emoticons for messaging applications: renders message text with the\n"
        "emoticon theme of an account, and lists, chooses and checks emoticon themes.\n"
        "Without a command, renders a sample message with the built-in theme.\n\nCommands:\n");
    for (const Command &command : commands) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(command.name), -7)
                    .arg(QLatin1String(command.summary));
    }
    text += QStringLiteral(
        "'glyphmorph COMMAND --help' describes each command.\n\n"
        "Exit codes:\n"
        "  0  success (check: the theme directory would be accepted)\n"
        "  1  failure: unreadable input, unknown theme, output not written\n"
        "  2  bad command, option or argument\n"
        "  3-9  check: the theme directory would be refused (see 'glyphmorph check --help')\n\n"
        "Environment: GLYPHMORPH_THEMES_ROOT names the themes root; HOME and\n"
        "XDG_CONFIG_HOME locate the per-user image caches and settings.");
    return text;
}

int renderSample()
{
    Tool::Library library;
    EmoticonTheme theme
        = library.manager().emoticonThemes().value(EmoticonThemeManager::defaultThemeUUID());
    if (!theme.isValid())
        theme = EmoticonThemeFactory::defaultEmoticonTheme();
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    if (!tree)
        return Tool::fail(QStringLiteral("the built-in theme is not available"));
    Tool::out(tree->performPlainText2HTMLReplacement(
                  QLatin1String(sampleMessage), 0, QStringLiteral("<br>"))
        + QLatin1Char('\n'));
    Tool::err(QStringLiteral("a sample message rendered with the built-in theme; "
                             "'glyphmorph --help' lists the commands"));
    return Tool::Success;
}

int dispatch(const QStringList &arguments)
{
    Tool::CommandLine commandLine(QString(), mainDescription());
    QCommandLineParser &parser = commandLine.parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption(QCommandLineOption({ QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the version of glyphmorph and its library.")));
    parser.addPositionalArgument(QStringLiteral("command"),
        QStringLiteral("One of the commands above."), QStringLiteral("[command [arguments...]]"));
    const int parsed = commandLine.parse(arguments.mid(1));
    if (parsed >= 0)
        return parsed;
    if (parser.isSet(QStringLiteral("version"))) {
        Tool::out(QStringLiteral("glyphmorph %1\n").arg(QLatin1String(GLYPHMORPH_VERSION_STRING)));
        return Tool::Success;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return renderSample();
    const QString name = positional.first();
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(positional.mid(1));
    }
    return Tool::fail(
        QStringLiteral("unknown command '%1'; 'glyphmorph --help' lists the commands").arg(name),
        Tool::UsageError);
}

} // namespace

int main(int argc, char *argv[])
{
    // The library renders pixmaps, which needs a GUI platform; without a display, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyphmorph"));
    QApplication::setApplicationVersion(QLatin1String(GLYPHMORPH_VERSION_STRING));
    int code = Tool::Failure;
    try {
        code = dispatch(QApplication::arguments());
    } catch (const std::bad_alloc &) {
        return Tool::fail(QStringLiteral("out of memory"));
    }
    // Commands that write as they go report a failed write themselves; the others end here.
    if (code == Tool::Success && !Tool::outputError().isEmpty())
        return Tool::fail(Tool::outputError());
    return code;
}
