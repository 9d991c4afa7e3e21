// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A small messenger on the platform layer: type, pick emoticons, send, switch themes.
//   glyphmorph-messenger [--send TEXT]... [--receive TEXT]... [--type TEXT] [--open-picker]
//                        [--picker-keys TEXT] [--open-tones] [--size WxH] [--screenshot FILE]
//                        [--account PATH]
#include "conversationview.h"
#include "messengerwindow.h"

#include "helpwithoutdisplay.h"

#include <glyphmorph_version.h>
#include <glyphmorpher.h>
#include <mapplication.h>

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {
// --send and --receive in the order given, so that a scripted conversation reads as written.
void fillConversation(ConversationView *conversation, const QStringList &arguments,
    QStringList sent, QStringList received)
{
    for (const QString &argument : arguments) {
        const bool isSend
            = argument == QLatin1String("--send") || argument.startsWith(QLatin1String("--send="));
        const bool isReceive = argument == QLatin1String("--receive")
            || argument.startsWith(QLatin1String("--receive="));
        if (isSend && !sent.isEmpty())
            conversation->addMessage(sent.takeFirst(), ConversationView::Outgoing);
        else if (isReceive && !received.isEmpty())
            conversation->addMessage(received.takeFirst(), ConversationView::Incoming);
    }
}

// Lets the layouts and the dialog settle, and the window system make the window active: keys
// reach the picker, and the editor shows its completion list, only through the window's focus.
void settle(MessengerWindow *window)
{
    QElapsedTimer waited;
    waited.start();
    while (!window->isActiveWindow() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

// A key as the keyboard gives it, to what has the focus in the window.
void pressKey(MessengerWindow *window, int key, Qt::KeyboardModifiers modifiers,
    const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(window, &release);
}

void typeKeys(MessengerWindow *window, const QString &text)
{
    for (const QChar c : text) {
        // Qt's key codes of the printable ASCII characters are their upper-case code points.
        const int key = c.unicode() < 0x80 ? c.toUpper().unicode() : int(Qt::Key_unknown);
        pressKey(window, key, Qt::NoModifier, QString(c));
    }
}

// Writes what the screen shows where the window is, so that the completion list, a window of its
// own, is in the picture too.
bool saveScreenshot(MessengerWindow *window, const QString &fileName)
{
    settle(window);
    QScreen *screen = window->screen();
    const QPoint at = window->mapToGlobal(QPoint());
    QPixmap shot = screen ? screen->grabWindow(0, at.x(), at.y(), window->width(), window->height())
                          : QPixmap();
    // Where the platform cannot read the screen back.
    if (shot.isNull())
        shot = window->grab();
    if (shot.isNull() || !shot.save(fileName, "PNG")) {
        std::fprintf(stderr, "glyphmorph-messenger: cannot write %s\n", qPrintable(fileName));
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("glyphmorph-messenger"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHMORPH_VERSION_STRING));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A messenger showing graphical emoticons."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption send(QStringLiteral("send"),
        QStringLiteral("Puts a sent message into the conversation (repeatable)."),
        QStringLiteral("text"));
    const QCommandLineOption receive(QStringLiteral("receive"),
        QStringLiteral("Puts a received message into the conversation (repeatable)."),
        QStringLiteral("text"));
    const QCommandLineOption type(QStringLiteral("type"),
        QStringLiteral("Types text into the editor."), QStringLiteral("text"));
    const QCommandLineOption openPicker(
        QStringLiteral("open-picker"), QStringLiteral("Opens the emoticon picker."));
    const QCommandLineOption pickerKeys(QStringLiteral("picker-keys"),
        QStringLiteral("Opens the emoticon picker and types text into it; in the emoji picker "
                       "it goes to the search field."),
        QStringLiteral("text"));
    const QCommandLineOption openTones(QStringLiteral("open-tones"),
        QStringLiteral("Opens the emoji picker's skin tone chooser (Ctrl+T in the picker)."));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Writes the window to a PNG file once shown, then quits."),
        QStringLiteral("file"));
    const QCommandLineOption size(QStringLiteral("size"),
        QStringLiteral("Window size (default 900x600)."), QStringLiteral("WxH"),
        QStringLiteral("900x600"));
    const QCommandLineOption account(QStringLiteral("account"),
        QStringLiteral("Messaging account path whose emoticon theme applies."),
        QStringLiteral("path"),
        QStringLiteral("/org/freedesktop/Telepathy/Account/demo/jabber/me"));
    parser.addOptions(
        { send, receive, type, openPicker, pickerKeys, openTones, screenshot, size, account });
    answerHelpAndVersion(argc, argv, parser);
    MApplication app(argc, argv);
    parser.process(app);

    const QRegularExpressionMatch sizeMatch
        = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(parser.value(size));
    if (!sizeMatch.hasMatch()) {
        std::fprintf(stderr, "glyphmorph-messenger: --size needs WIDTHxHEIGHT, like 900x600\n");
        return 2;
    }

    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;

    int status = 0;
    {
        MessengerWindow window(parser.value(account));
        window.resize(sizeMatch.captured(1).toInt(), sizeMatch.captured(2).toInt());
        fillConversation(window.conversation(), QCoreApplication::arguments(), parser.values(send),
            parser.values(receive));
        window.show();
        // Without a window manager (a bare X server, for screenshots) nothing else would.
        window.activateWindow();
        if (parser.isSet(type))
            window.type(parser.value(type));
        const bool keys = parser.isSet(pickerKeys) || parser.isSet(openTones);
        if (parser.isSet(openPicker) || keys)
            window.openPicker();

        QTimer::singleShot(
            0, &window, [&window, &parser, &pickerKeys, &openTones, &screenshot, keys] {
                if (keys) {
                    settle(&window);
                    typeKeys(&window, parser.value(pickerKeys));
                    if (parser.isSet(openTones))
                        pressKey(&window, Qt::Key_T, Qt::ControlModifier);
                }
                if (parser.isSet(screenshot))
                    QCoreApplication::exit(
                        saveScreenshot(&window, parser.value(screenshot)) ? 0 : 1);
            });
        status = app.exec();
    }
    // After the window: its picker still talks to the theme manager while it goes.
    delete Glyphmorpher::m_pInstance;
    Glyphmorpher::m_pInstance = nullptr;
    return status;
}
