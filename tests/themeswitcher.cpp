// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A second process for defaultemoticonthemehandlertest: another application of the user switches
// the platform UI theme and renders the built-in theme's images again.
//   themeswitcher THEME    sets "/meegotouch/theme/name" to THEME, then renders
#include <defaultemoticonthemehandler.h>
#include <mgconfitem.h>

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: themeswitcher THEME\n");
        return 2;
    }
    MGConfItem(QStringLiteral("/meegotouch/theme/name")).set(args.at(1));
    DefaultEmoticonThemeHandler handler;
    return handler.reloadDefaultEmoticonTheme() ? 0 : 1;
}
