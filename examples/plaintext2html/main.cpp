// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Turns a message into HTML with a small code mapping of its own:
//   plaintext2html [TEXT...]     (a sample message when no text is given)
#include <emosequencesearchtree.h>
#include <emoticontheme.h>

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QHash<QString, QString> codes = {
        { QStringLiteral(":)"), QStringLiteral("/usr/share/emoticons/happy.png") },
        { QStringLiteral(":-)"), QStringLiteral("/usr/share/emoticons/happy.png") },
        { QStringLiteral(":D"), QStringLiteral("/usr/share/emoticons/very-happy.png") },
        { QStringLiteral(";)"), QStringLiteral("/usr/share/emoticons/wink.png") },
        { QStringLiteral("<3"), QStringLiteral("/usr/share/emoticons/heart.png") },
        { QStringLiteral("&lt;3"), QStringLiteral("/usr/share/emoticons/heart.png") },
    };

    EmoticonTheme theme;
    theme.setThemeUUID(QStringLiteral("example"));
    theme.setThemeName(QStringLiteral("Example"));
    theme.setCodeSequenceToFilepathMapping(codes);
    theme.setCharacterCodeSequenceSearchTree(new emoSequenceSearchTree(codes));

    QStringList words = app.arguments().mid(1);
    const QString message = words.isEmpty()
        ? QStringLiteral("Hi :) see you at 8?\nI <3 this place ;) :D")
        : words.join(QLatin1Char(' '));
    const QString html = theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
        message, 0, QStringLiteral("<br>"));
    std::printf("%s\n", html.toUtf8().constData());
    return 0;
}
