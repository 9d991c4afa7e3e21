// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A chat window in QML with the Glyphmorph 1.0 module: messages as rich text, a TextEdit whose
// codes become emoticons as they are typed and whose shortcodes (":thu") complete to emoji, and
// the emoticon picker (the emoji picker with the Emoji theme).
//   glyphmorph-qml-chat [--screenshot FILE]
// --screenshot fills in a sample conversation, opens the picker, saves the window as FILE (PNG)
// and quits; it works offscreen (QT_QPA_PLATFORM=offscreen).
#include "helpwithoutdisplay.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>

namespace {

void fillSample(QQuickWindow *window)
{
    const struct
    {
        const char *text;
        bool mine;
    } messages[] = { { "Hi! :) Are you back from the coast?", false },
        { "Yes :D the sea was lovely <3", true },
        { "Ha B-) pictures or it didn't happen ;)", false } };
    for (const auto &message : messages) {
        QMetaObject::invokeMethod(window, "addMessage",
            Q_ARG(QVariant, QString::fromUtf8(message.text)), Q_ARG(QVariant, message.mine));
    }
    // Typed piece by piece, as keys come: each one is a change for the replacer.
    QObject *edit = window->findChild<QObject *>(QStringLiteral("edit"));
    for (const QChar c : QStringLiteral("Sending them tonight :P promise :-)")) {
        const int end = edit->property("length").toInt();
        QMetaObject::invokeMethod(edit, "insert", Q_ARG(int, end), Q_ARG(QString, QString(c)));
    }
    window->setProperty("pickerOpen", true);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("glyphmorph-qml-chat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHMORPH_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A QML chat window with emoticons"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Draw a sample conversation into FILE and quit."), QStringLiteral("FILE"));
    parser.addOption(screenshot);
    answerHelpAndVersion(argc, argv, parser);
    QGuiApplication app(argc, argv);
    parser.process(app);
    if (parser.isSet(screenshot))
        QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));

    QQmlApplicationEngine engine;
#ifdef GLYPHMORPH_QML_BUILD_DIR
    // Run from the build tree: the module is there, not yet installed.
    engine.addImportPath(QStringLiteral(GLYPHMORPH_QML_BUILD_DIR));
#endif
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window || !parser.isSet(screenshot))
        return app.exec();

    fillSample(window);
    int result = 1;
    // A moment for the layout and the images before the picture is taken.
    QTimer::singleShot(500, &app, [&] {
        const QString fileName = parser.value(screenshot);
        // The screen's copy of what was drawn: the software renderer's own grab comes back empty
        // on the offscreen platform.
        QImage image = window->screen()->grabWindow(window->winId()).toImage();
        if (image.isNull())
            image = window->grabWindow();
        if (image.save(fileName, "PNG"))
            result = 0;
        else
            qWarning("glyphmorph-qml-chat: cannot write %s", qPrintable(fileName));
        app.quit();
    });
    app.exec();
    return result;
}
