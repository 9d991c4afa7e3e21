// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The demo messenger run with scripted options: it must draw its window, emoticons included, and
// the emoji picker as the options leave it. Every GUI example answers --help and --version
// without a display.
#include "testenvironment.h"

#include <glyphmorph_version.h>

#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QProcess>

namespace {
// Whether more than a few pixels of @p area have @p colour: "yellow", which the built-in
// emoticons are and nothing else in the conversation is, or a colour of one emoji of the colour
// font, which the emoji picker shows only in some states: the purple heart 💜, the dark skin
// tone ✋🏿.
bool shows(const QImage &image, const QRect &area, const QString &colour)
{
    const QHash<QString, QColor> exact { { "purple heart", QColor(171, 71, 188) },
        { "dark skin tone", QColor(112, 83, 74) } };
    const QColor wanted = exact.value(colour);
    const auto near = [](int a, int b) {
        return qAbs(a - b) <= 8;
    };
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += colour == "yellow" ? c.red() > 200 && c.green() > 150 && c.blue() < 90
                                        : near(c.red(), wanted.red())
                    && near(c.green(), wanted.green()) && near(c.blue(), wanted.blue());
        }
    }
    return count >= 50;
}

bool hasColourFont()
{
    return QFontInfo(QFont(QStringLiteral("Noto Color Emoji"))).family()
        == QLatin1String("Noto Color Emoji");
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
        QTest::addColumn<bool>("emojiTheme");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<bool>("shown");
        QTest::newRow("code in a sent message")
            << QStringList { "--send", ":) hi" } << QSize(640, 400) << false << "yellow" << true;
        QTest::newRow("no code") << QStringList { "--send", "hi" } << QSize(640, 400) << false
                                 << "yellow" << false;
        QTest::newRow("typed, picker open, portrait")
            << QStringList { "--type", "so :D", "--open-picker" } << QSize(420, 700) << false
            << "yellow" << true;
        const QSize wide(900, 600);
        QTest::newRow("emoji picker on its first section")
            << QStringList { "--open-picker" } << wide << true << "purple heart" << false;
        QTest::newRow("emoji picker, keys search")
            << QStringList { "--picker-keys", "heart" } << wide << true << "purple heart" << true;
        QTest::newRow("emoji picker, no tone chooser")
            << QStringList { "--open-picker" } << wide << true << "dark skin tone" << false;
        QTest::newRow("emoji picker, tone chooser open")
            << QStringList { "--open-tones" } << wide << true << "dark skin tone" << true;
    }

    void screenshot()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QSize, size);
        QFETCH(bool, emojiTheme);
        QFETCH(QString, colour);
        if (emojiTheme && !hasColourFont())
            QSKIP("Noto Color Emoji is not installed (Debian: fonts-noto-color-emoji)");
        // The Emoji theme chosen as a user chooses a theme.
        const QString settings = QDir::home().filePath(".config/glyphmorph/settings.conf");
        QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
        QVERIFY(GlyphmorphTest::writeBytes(settings,
            emojiTheme ? "/Messaging/Settings/CurrentCustomEmoticonTheme="
                         "928ab845-fe9b-497d-af5f-e49ee6609415\n"
                       : ""));
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
        QTEST(shows(image, QRect(0, 70, size.width(), size.height() - 70 - 90), colour), "shown");
    }
};

// A QGuiApplication for the fonts.
GLYPHMORPH_TEST_MAIN(MessengerTest)
#include "messengertest.moc"
