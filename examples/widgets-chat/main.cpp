// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A chat window on Qt Widgets: a QTextEdit whose codes become emoticons as they are typed, a
// picker dialog, and a conversation of messages rendered as HTML.
//   glyphmorph-widgets-chat [--account PATH] [--screenshot FILE]
// --screenshot fills in a sample conversation, draws the window and the picker into FILE (PNG)
// and quits; it works offscreen (QT_QPA_PLATFORM=offscreen).
#include "chatwindow.h"
#include "emoticonpickerdialog.h"

#include "helpwithoutdisplay.h"

#include <glyphmorph_version.h>
#include <glyphmorpher.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QTextCursor>
#include <QTextEdit>

namespace {

void fillSample(ChatWindow &window)
{
    window.addMessage(QStringLiteral("Hi! :) Are you back from the coast?"), false);
    window.addMessage(QStringLiteral("Yes :D the sea was lovely <3"), true);
    window.addMessage(QStringLiteral("Ha B-) pictures or it didn't happen ;)"), false);
    // Typed key by key, as the user would: each key is one change for the walk.
    for (const QChar c : QStringLiteral("Sending them tonight :P promise :-)"))
        window.input()->textCursor().insertText(QString(c));
}

bool saveScreenshot(ChatWindow &window, const QString &fileName)
{
    window.resize(560, 420);
    window.show();
    EmoticonPickerDialog picker(QString(), &window);
    picker.show();
    const QPixmap chat = window.grab();
    const QPixmap dialog = picker.grab();
    QPixmap both(chat.width() + 16 + dialog.width(), qMax(chat.height(), dialog.height()));
    both.fill(window.palette().color(QPalette::Window));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, chat);
    painter.drawPixmap(chat.width() + 16, 0, dialog);
    painter.end();
    return both.save(fileName, "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("glyphmorph-widgets-chat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHMORPH_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A Qt Widgets chat window with emoticons"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption account(QStringLiteral("account"),
        QStringLiteral("The messaging account's path."), QStringLiteral("PATH"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Draw a sample conversation into FILE and quit."), QStringLiteral("FILE"));
    parser.addOptions({ account, screenshot });
    answerHelpAndVersion(argc, argv, parser);
    QApplication app(argc, argv);
    parser.process(app);

    Glyphmorpher::m_pInstance = new Glyphmorpher;
    int result = 0;
    {
        ChatWindow window(parser.value(account));
        if (parser.isSet(screenshot)) {
            fillSample(window);
            if (!saveScreenshot(window, parser.value(screenshot))) {
                qWarning("glyphmorph-widgets-chat: cannot write %s",
                    qPrintable(parser.value(screenshot)));
                result = 1;
            }
        } else {
            window.resize(480, 560);
            window.show();
            result = app.exec();
        }
    }
    delete Glyphmorpher::m_pInstance;
    return result;
}
