// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The built-in Emoji theme: registration, its codes, the settings that shape it, images drawn
// from the colour emoji font on first use, and no theme where no such font is installed.
#include "emojiimages_p.h"
#include "emojitheme_p.h"
#include "emosequencesearchtree_p.h"
#include "emoticontheme_p.h"
#include "testenvironment.h"

#include <defaultemoticonthemehandler.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mtextedit.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextDocument>
#include <QThread>

#include <memory>
#include <vector>

namespace {

const QString emojiUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
const QString defaultUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QString shortcodeKey = QStringLiteral("/Messaging/Settings/Emoji/ShortcodeSet");
const QString asciiKey = QStringLiteral("/Messaging/Settings/Emoji/AsciiSmileys");
const QString currentKey = QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme");
// Set in the copy of this test that runs without a colour font.
const char withoutFontMarker[] = "GLYPHMORPH_TEST_WITHOUT_COLOUR_FONT";

QString emojiDirectory()
{
    return EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absoluteFilePath("emoji");
}

// Runs @p program with @p arguments and a fontconfig that rejects every colour font; its exit
// code, or -1, and in @p output what it printed.
int runWithoutColourFonts(const QString &program, const QStringList &arguments, QString *output)
{
    const QString conf = QDir::home().filePath("fonts-without-colour.conf");
    GlyphmorphTest::writeBytes(conf,
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig><include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
        "<selectfont><rejectfont><pattern><patelt name=\"color\"><bool>true</bool></patelt>"
        "</pattern></rejectfont></selectfont></fontconfig>\n");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", conf);
    environment.insert(withoutFontMarker, "1");
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(300000);
    *output = QString::fromUtf8(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString htmlWithTheme(const QString &text)
{
    return Glyphmorpher::m_pInstance->transformPlainTextToHTML(text, "/account/emoji", 0, "<br>");
}

QString imgTag(const QString &fileName)
{
    return "<img src='" + emojiDirectory() + '/' + fileName + "'  width='20' height='20'>";
}

// The part of @p image that is not transparent.
QRect opaqueBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool hasColour(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && c.saturation() > 60)
                return true;
        }
    }
    return false;
}

} // namespace

class EmojiThemeTest : public QObject
{
    Q_OBJECT

    EmoticonThemeManager *manager() const { return EmoticonThemeManager::m_pInstance; }
    EmoticonTheme emojiTheme() const { return manager()->emoticonThemes().value(emojiUUID); }

    // Sets @p key in another process of the user; waits until this process has heard of it.
    void setInOtherProcess(const QString &key, const QString &value, bool changesTheme)
    {
        MGConfItem item(key);
        QSignalSpy changed(&item, &MGConfItem::valueChanged);
        QSignalSpy announced(manager(), &EmoticonThemeManager::availableThemesChanged);
        QStringList arguments { "set", QString::fromLatin1(key.toUtf8().toPercentEncoding()) };
        if (!value.isNull())
            arguments << QString::fromLatin1(value.toUtf8().toPercentEncoding());
        QCOMPARE(QProcess::execute(SETTINGSWRITER, arguments), 0);
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() > 0, 20000);
        // The handler's item was told in the same round: its notice is queued already.
        QCoreApplication::processEvents();
        QCOMPARE(announced.count(), changesTheme ? 2 : 0); // removed, then added
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet(withoutFontMarker))
            return;
        QVERIFY2(!EmojiImages::colourFontFamily().isEmpty(),
            "no colour emoji font: install fonts-noto-color-emoji (scripts/deps does)");
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(QDir::home().filePath("themes")));
        MGConfItem(currentKey).set(emojiUUID);
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    }

    void cleanupTestCase()
    {
        delete Glyphmorpher::m_pInstance;
        Glyphmorpher::m_pInstance = nullptr;
    }

    void registeredBesideTheBuiltInTheme()
    {
        const QHash<QString, EmoticonTheme> themes = manager()->emoticonThemes();
        QCOMPARE(themes.value(emojiUUID).themeName(), QStringLiteral("Emoji"));
        QVERIFY(themes.value(emojiUUID).isValid());
        QVERIFY(themes.value(defaultUUID).isValid());
        // Its thousands of codes are made by the first conversion that needs them.
        QVERIFY(EmoticonThemePrivate::isContentDeferred(themes.value(emojiUUID)));
        QCOMPARE(manager()->themeForAccountPath("/account/emoji").themeUUID(), emojiUUID);
        // Its images are drawn when used, never at start: only the preview is.
        QVERIFY(QDir(emojiDirectory()).entryList(QDir::Files).isEmpty());
        const QImage preview(EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->filePath(
            themes.value(emojiUUID).previewPixmapName() + ".png"));
        QCOMPARE(preview.size(), QSize(100, 100));
        QVERIFY(hasColour(preview));
    }

    void codes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("image"); // empty: no code of the theme
        const auto row = [](const char *name, const char *code, const char *image) {
            QTest::newRow(name) << QString(code) << QString(image);
        };
        row("fully-qualified, emoji by default", "👍", "1f44d.png");
        row("fully-qualified, text by default with FE0F", "☺️", "263a.png");
        row("minimally-qualified", "👁️‍🗨", "1f441-200d-1f5e8.png");
        row("unqualified ZWJ sequence", "👁‍🗨", "1f441-200d-1f5e8.png");
        row("unqualified keycap", "1⃣", "31-20e3.png");
        row("with a skin tone", "👍🏽", "1f44d-1f3fd.png");
        row("flag", "🇩🇪", "1f1e9-1f1ea.png");
        // Text by default without FE0F; a component; code points no line of the data has alone.
        row("bare ☺", "☺", "");
        row("skin tone component", "🏽", "");
        row("bare digit", "1", "");
        row("lone regional indicator", "🇩", "");
    }

    void codes()
    {
        QFETCH(QString, code);
        QFETCH(QString, image);
        const QHash<QString, QString> &codes = emojiTheme().codeSequenceToFilepathMapping();
        QCOMPARE(codes.value(code), image.isEmpty() ? QString() : emojiDirectory() + '/' + image);
    }

    // Through the settings, changed by another process as a settings application would.
    void shortcodeSets_data()
    {
        QTest::addColumn<QString>("set"); // null: unset
        QTest::addColumn<bool>("changesTheme");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QStringList>("images"); // of each code, empty for none

        // GitHub's ☔ and Slack's ☂️ share the name "umbrella".
        QTest::newRow("slack") << "slack" << true
                               << QStringList { ":thumbsup:", ":umbrella:", ":thumbs_up:" }
                               << QStringList { "1f44d.png", "2602.png", "" };
        QTest::newRow("cldr") << "cldr" << true
                              << QStringList { ":thumbs_up:", ":thumbsup:", ":+1:" }
                              << QStringList { "1f44d.png", "", "" };
        QTest::newRow("github") << "github" << true
                                << QStringList { ":thumbsup:", ":+1:", ":umbrella:", ":thumbs_up:" }
                                << QStringList { "1f44d.png", "1f44d.png", "2614.png", "" };
        QTest::newRow("unknown set is GitHub's")
            << "mastodon" << false << QStringList { ":+1:" } << QStringList { "1f44d.png" };
        QTest::newRow("unset is GitHub's")
            << QString() << false << QStringList { ":+1:" } << QStringList { "1f44d.png" };
    }

    void shortcodeSets()
    {
        QFETCH(QString, set);
        QFETCH(bool, changesTheme);
        QFETCH(QStringList, codes);
        QFETCH(QStringList, images);
        setInOtherProcess(shortcodeKey, set, changesTheme);
        const QHash<QString, QString> &mapping = emojiTheme().codeSequenceToFilepathMapping();
        for (int i = 0; i < codes.size(); ++i) {
            QCOMPARE(mapping.value(codes.at(i)),
                images.at(i).isEmpty() ? QString() : emojiDirectory() + '/' + images.at(i));
        }
    }

    void asciiSmileys_data()
    {
        QTest::addColumn<QString>("value"); // null: unset
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        const auto row
            = [](const char *name, const char *value, const char *text, const QString &html) {
                  QTest::newRow(name) << QString(value) << QString(text) << html;
              };
        row("off by default", nullptr, ":) <3 :D", ":) <3 :D");
        row("on", "true", ":) <3 :D",
            imgTag("1f642.png") + ' ' + imgTag("2764.png") + ' ' + imgTag("1f603.png"));
        row("escaped heart", "true", "&lt;3", imgTag("2764.png"));
        // The longest code wins: ":s" of the built-in theme must not take the shortcode apart.
        row(":smile: with smileys", "true", ":smile:", imgTag("1f604.png"));
        row("any other value is off", "yes", ":)", ":)");
        row(":smile: without smileys", "false", ":smile:", imgTag("1f604.png"));
    }

    void asciiSmileys()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(QString, html);
        MGConfItem item(asciiKey);
        item.set(value.isNull() ? QVariant() : QVariant(value));
        const bool on = value == QLatin1String("true");
        QTRY_COMPARE(emojiTheme().codeSequenceToFilepathMapping().contains(":)"), on);
        QCOMPARE(htmlWithTheme(text), html);
    }

    // The built-in theme reads the ":s" of ":smile:" as its worried smiley; the Emoji theme
    // never does, ASCII smileys or not (above).
    void smileShortcodeWithTheBuiltInTheme()
    {
        manager()->setCurrentTheme(defaultUUID);
        const QString html = htmlWithTheme(":smile:");
        manager()->setCurrentTheme(emojiUUID);
        QVERIFY2(html.contains("smiley-worried") && html.endsWith("mile:"), qPrintable(html));
    }

    void imageDrawnOnFirstUse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("torn"); // a crash left the file empty and its twin cut short
        const auto row = [](const char *name, const char *text, const char *image, bool torn) {
            QTest::newRow(name) << QString(text) << QString(image) << torn;
        };
        row("emoji after a word", "great👍", "1f44d.png", false);
        row("FE0F left out of the name", "peace ✌️", "270c.png", false);
        row("flag, wider than a face", "🇩🇪", "1f1e9-1f1ea.png", false);
        row("ZWJ sequence with FE0F, one glyph", "👩‍❤️‍👨",
            "1f469-200d-2764-200d-1f468.png", false);
        row("keycap", "1️⃣", "31-20e3.png", false);
        row("shortcode", ":tada:", "1f389.png", false);
        row("torn by a crash, drawn again", "🦄", "1f984.png", true);
    }

    void imageDrawnOnFirstUse()
    {
        QFETCH(QString, text);
        QFETCH(QString, image);
        QFETCH(bool, torn);
        const QString path = emojiDirectory() + '/' + image;
        const QString twin = path.chopped(4) + "@2x.png";
        if (torn) {
            QVERIFY(QDir().mkpath(emojiDirectory()));
            QVERIFY(GlyphmorphTest::writeBytes(path, QByteArray()));
            QVERIFY(GlyphmorphTest::writeBytes(twin, "\x89PNG\r\n"));
        }
        QCOMPARE(QFileInfo::exists(path), torn);
        const QStringList before = QDir(emojiDirectory()).entryList(QDir::Files);

        const QString html = htmlWithTheme(text);
        QVERIFY2(html.contains(imgTag(image)), qPrintable(html));
        // That image and its twin, no other.
        QCOMPARE(
            QDir(emojiDirectory()).entryList(QDir::Files).size(), before.size() + (torn ? 0 : 2));
        for (const auto &[file, size] : { std::pair { path, 20 }, std::pair { twin, 40 } }) {
            const QImage drawn(file, "PNG");
            QCOMPARE(drawn.size(), QSize(size, size));
            QVERIFY2(hasColour(drawn), qPrintable(file));
            // Centred, and one glyph: pieces side by side would be shrunk into a strip.
            const QRect box = opaqueBounds(drawn);
            QVERIFY2(qAbs(box.left() - (size - 1 - box.right())) <= 1, qPrintable(file));
            QVERIFY2(qAbs(box.top() - (size - 1 - box.bottom())) <= 1, qPrintable(file));
            QVERIFY2(qMax(box.width(), box.height()) >= size * 8 / 10, qPrintable(file));
            QVERIFY2(qMin(box.width(), box.height()) >= size * 6 / 10, qPrintable(file));
        }
        // The built-in theme's cache clean-up leaves the emoji alone.
        QVERIFY(DefaultEmoticonThemeHandler().deleteEmoticonCache());
        QVERIFY(QFileInfo::exists(path) && QFileInfo::exists(twin));
    }

    // An editor shows the image as the emoji or its shortcode is typed.
    void imageDrawnForTheEditor()
    {
        MTextEdit edit;
        edit.setText("unicorn 🦄 and :dragon:");
        Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
            &edit, "/account/emoji", true);
        QCOMPARE(edit.document()->toHtml().count("<img"), 2);
        for (const char *image : { "1f984.png", "1f409.png" })
            QCOMPARE(QImage(emojiDirectory() + '/' + image).size(), QSize(20, 20));
        // What is sent: the shortcode as its emoji.
        QCOMPARE(Glyphmorpher::m_pInstance->transformTextEditContentToPlainText(&edit),
            QStringLiteral("unicorn 🦄 and 🐉"));
    }

    // Round-trip HTML names each image by its emoji, in the application's language, and reads
    // back as the code that was written.
    void roundTripTitles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("emoji") << QString("👍") << QString("thumbs up");
        QTest::newRow("unqualified emoji")
            << QString("👁‍🗨") << QString("eye in speech bubble");
        QTest::newRow("shortcode") << QString(":+1:") << QString("thumbs up");
    }

    void roundTripTitles()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        Glyphmorpher *morpher = Glyphmorpher::m_pInstance;
        const QString html = morpher->transformPlainTextToHTML(
            text, "/account/emoji", 0, "<br>", Glyphmorpher::RoundTrip);
        QVERIFY2(html.contains(" title='" + title + "' alt='" + text + "'"), qPrintable(html));
        QCOMPARE(morpher->transformHTMLToPlainText(html, Glyphmorpher::RoundTrip), text);
    }

    // Conversions on several threads at once, each naming the same new images first.
    void imagesDrawnFromSeveralThreads()
    {
        QTemporaryDir directory;
        const EmoticonTheme theme = EmojiTheme::create({}, directory.path());
        const QString text = "🐙 🦑 🦀 🐡 🐠 🐟 🐬 🐳 🐋 🦈";
        std::vector<std::unique_ptr<QThread>> threads;
        for (int i = 0; i < 4; ++i) {
            threads.emplace_back(QThread::create([&theme, &text] {
                theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
                    text, 0, "<br>");
            }));
            threads.back()->start();
        }
        for (const auto &thread : threads)
            QVERIFY(thread->wait(240000));
        const QStringList files = QDir(directory.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 20);
        for (const QString &file : files) {
            const QImage image(directory.filePath(file), "PNG");
            QCOMPARE(image.width(), file.contains("@2x") ? 40 : 20);
            QVERIFY2(hasColour(image), qPrintable(file));
        }
    }

    // Without a colour emoji font the theme would be all missing images: emoji stay text. Run in a
    // copy of this test whose fontconfig lists no colour font.
    void noThemeWithoutColourFont()
    {
        if (!qEnvironmentVariableIsSet(withoutFontMarker)) {
            QString output;
            QVERIFY2(runWithoutColourFonts(QCoreApplication::applicationFilePath(),
                         { "noThemeWithoutColourFont" }, &output)
                    == 0,
                qPrintable(output));
            return;
        }
        QVERIFY(EmojiImages::colourFontFamily().isEmpty());
        QVERIFY(EmojiImages::draw("👍", 20).isNull());
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(QDir::home().filePath("themes")));
        MGConfItem(currentKey).set(emojiUUID);
        Glyphmorpher::m_pInstance = new Glyphmorpher;
        QVERIFY(!manager()->emoticonThemes().contains(emojiUUID));
        QVERIFY(manager()->emoticonThemes().contains(defaultUUID));
        QCOMPARE(htmlWithTheme("great 👍 :)"),
            "great 👍 "
                + manager()
                      ->emoticonThemes()
                      .value(defaultUUID)
                      .characterCodeSequenceSearchTree()
                      ->performPlainText2HTMLReplacement(":)", 0, "<br>"));
        // The user's other processes may well draw the theme: the choice stays.
        QCOMPARE(MGConfItem(currentKey).value().toString(), emojiUUID);
        QVERIFY(!QFileInfo::exists(emojiDirectory()));
    }

    void toolSaysWhetherOffered_data()
    {
        QTest::addColumn<bool>("colourFont");
        QTest::addColumn<QString>("expected");

        QTest::newRow("offered") << true << "Emoji (current)\n    uuid:       " + emojiUUID;
        QTest::newRow("not offered")
            << false
            << "The Emoji theme is not offered: no colour emoji font found; install "
               "fonts-noto-color-emoji to get it\n";
    }

    void toolSaysWhetherOffered()
    {
        QFETCH(bool, colourFont);
        QFETCH(QString, expected);
        if (qEnvironmentVariableIsSet(withoutFontMarker))
            QSKIP("run by the test with the font");
        QString output;
        const QStringList arguments { "themes", "--all" };
        if (colourFont) {
            QProcess tool;
            tool.start(GLYPHMORPH_TOOL_PATH, arguments);
            QVERIFY(tool.waitForFinished(300000));
            QCOMPARE(tool.exitCode(), 0);
            output = QString::fromUtf8(tool.readAllStandardOutput());
        } else {
            QCOMPARE(runWithoutColourFonts(GLYPHMORPH_TOOL_PATH, arguments, &output), 0);
        }
        QVERIFY2(output.contains(expected), qPrintable(output));
        QCOMPARE(output.contains("not offered"), !colourFont);
    }
};

GLYPHMORPH_TEST_MAIN(EmojiThemeTest)

#include "emojithemetest.moc"
