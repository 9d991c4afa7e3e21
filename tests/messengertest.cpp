// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The demo messenger run with scripted options: it must draw its window, emoticons included.
// Every GUI example answers --help and --version without a display.
#include "testenvironment.h"

#include <glyphmorph_version.h>

#include <QImage>
#include <QProcess>

namespace {
// The built-in emoticons are yellow; nothing else in the conversation is.
bool hasYellow(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 150 && c.blue() < 90)
                return true;
        }
    }
    return false;
}
} // namespace

class MessengerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpAndVersionWithoutDisplay_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("out");
        QStringList programs = { GLYPHMORPH_MESSENGER_PATH, GLYPHMORPH_WIDGETS_CHAT_PATH,
            GLYPHMORPH_TEXTEDITWINDOW_PATH };
#ifdef GLYPHMORPH_QML_CHAT_PATH
        programs << GLYPHMORPH_QML_CHAT_PATH;
#endif
        for (const QString &program : programs) {
            const QString name = QFileInfo(program).fileName();
            QTest::addRow("%s --help", qPrintable(name)) << program << "--help"
                                                         << "Usage: ";
            QTest::addRow("%s --version", qPrintable(name))
                << program << "--version" << name + " " GLYPHMORPH_VERSION_STRING "\n";
        }
    }

    void helpAndVersionWithoutDisplay()
    {
        QFETCH(QString, program);
        QFETCH(QString, option);
        // The platform a desktop session would give, with nothing to connect to.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QDir::homePath());
        process.start(program, { option });
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == 0, qPrintable(err));
        const QString printed = QString::fromUtf8(process.readAllStandardOutput());
        QFETCH(QString, out);
        QVERIFY2(printed.contains(out), qPrintable(printed));
    }

    void screenshot_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("emoticon");
        QTest::newRow("code in a sent message")
            << QStringList { "--send", ":) hi" } << QSize(640, 400) << true;
        QTest::newRow("no code") << QStringList { "--send", "hi" } << QSize(640, 400) << false;
        QTest::newRow("typed, picker open, portrait")
            << QStringList { "--type", "so :D", "--open-picker" } << QSize(420, 700) << true;
    }

    void screenshot()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QSize, size);
        // In the test's own home, offscreen, with no theme installed.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GLYPHMORPH_THEMES_ROOT", QDir::home().filePath("themes"));
        const QString shot = QDir::home().filePath(QTest::currentDataTag() + QString(".png"));
        arguments << "--size" << QString("%1x%2").arg(size.width()).arg(size.height())
                  << "--screenshot" << shot;

        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(GLYPHMORPH_MESSENGER_PATH, arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QImage image(shot);
        QCOMPARE(image.size(), size);
        // Between the header and the input bar, which holds the smiley button.
        QTEST(hasYellow(image, QRect(0, 70, size.width(), size.height() - 70 - 90)), "emoticon");
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(MessengerTest)
#include "messengertest.moc"
