// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Another process of the same user, for the tests of settings and of the platform theme.
// Arguments arrive percent-encoded (UTF-8), so any string passes whatever the locale.
//   settingswriter set KEY [VALUE]    stores VALUE, or without one unsets KEY
//   settingswriter hammer NAME COUNT  writes /test/concurrent/NAME = 0..COUNT-1 and, after each,
//                                     /test/concurrent/shared = NAME:i
//   settingswriter render THEME       switches the platform UI theme to THEME and renders the
//                                     built-in emoticon theme's images
#include "defaultemoticonthemehandler.h"
#include "mgconfitem.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QStringList args;
    for (const QString &argument : app.arguments().mid(1))
        args << QString::fromUtf8(QByteArray::fromPercentEncoding(argument.toLatin1()));
    const QString command = args.value(0);

    if (command == QLatin1String("set") && (args.size() == 2 || args.size() == 3)) {
        MGConfItem(args.at(1)).set(args.size() == 3 ? QVariant(args.at(2)) : QVariant());
        return 0;
    }
    if (command == QLatin1String("hammer") && args.size() == 3) {
        MGConfItem own(QLatin1String("/test/concurrent/") + args.at(1));
        MGConfItem shared(QStringLiteral("/test/concurrent/shared"));
        for (int i = 0; i < args.at(2).toInt(); ++i) {
            const QString value = QString::number(i);
            own.set(value);
            // Only this process writes its own key, so it must read back what was just written.
            if (own.value() != QVariant(value))
                return 1;
            shared.set(args.at(1) + QLatin1Char(':') + value);
        }
        return 0;
    }
    if (command == QLatin1String("render") && args.size() == 2) {
        MGConfItem(QStringLiteral("/meegotouch/theme/name")).set(args.at(1));
        return DefaultEmoticonThemeHandler().reloadDefaultEmoticonTheme() ? 0 : 1;
    }
    std::fprintf(
        stderr, "usage: settingswriter set KEY [VALUE] | hammer NAME COUNT | render THEME\n");
    return 2;
}
