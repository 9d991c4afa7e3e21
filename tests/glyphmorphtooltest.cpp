// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The glyphmorph tool, run as a user runs it: every run with a home and a themes root of its own.
#include "testenvironment.h"
#include "themedirectory.h"

#include <glyphmorph_version.h>
#include <glyphmorpher.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <memory>

using namespace GlyphmorphTest;

namespace {
const QString builtInUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");

QString imageTag(const QString &home, const char *name)
{
    return QStringLiteral("<img src='%1/.emoticonthemecache/icon-s-messaging-smiley-%2'  "
                          "width='20' height='20'>")
        .arg(home, QLatin1String(name));
}

QByteArray emoticonTag(const QByteArray &code)
{
    return "<img src='/p/i.png' alt='" + code + "' width='20' height='20'>";
}

/** Chat text (or emoticon HTML) full of what the conversions treat specially: codes, codes
 *  within codes, line ends of every kind, NUL, malformed UTF-8, tags whole and in parts. */
QByteArray chat(quint32 seed, bool html, int longLines = 0)
{
    QRandomGenerator random(seed);
    QList<QByteArray> pieces = { "hi", "x", ":)", ":-)", "<3", ";)", ":D", ":->", ">)", "&lt;3",
        "(y)", "(y)(n)", "(y)(n)!", "(n)", ":\xc3\xa9", "caf\xc3\xa9", "\xf0\x9f\x91\x8d", "&",
        "<b>", "\xe2\x80\xa8", QByteArray("\0", 1), "\xff", "\xe2\x82", " ", " ", " ", "  " };
    const QList<QByteArray> lineEnds = { "\n", "\r", "\r\n", "\n\n" };
    if (html)
        pieces += { emoticonTag(":)"), emoticonTag("<3"), emoticonTag("br"), "<br>", "<b", "r>" };
    // Parts of tags would join the lines over 1 MiB into one unfinished tag, and "<br>" would cut
    // them short.
    const QList<QByteArray> parts
        = { "<img src=", "alt='", "' width='20' height='20'>", ">", "'>" };
    QByteArray text;
    const auto add = [&](qsizetype size, bool lineEndsToo) {
        const qsizetype end = text.size() + size;
        while (text.size() < end) {
            const quint32 pick = random.bounded(100);
            if (lineEndsToo && pick < 12)
                text += lineEnds.at(int(random.bounded(lineEnds.size())));
            else if (lineEndsToo && html && pick < 16)
                text += parts.at(int(random.bounded(parts.size())));
            else if (const QByteArray &piece = pieces.at(int(random.bounded(pieces.size())));
                     lineEndsToo || (piece != "<br>" && piece != "r>"))
                text += piece;
        }
    };
    add(150 * 1024, true);
    for (int line = 0; line < longLines; ++line) {
        text += '\n';
        add(1300 * 1024, false);
        text += '\n';
        add(20 * 1024, true);
    }
    const QList<QByteArray> endings = { "", "\n", "\r\n", "\r", "\n\r", "\n\n" };
    return text + endings.at(int(random.bounded(endings.size())));
}

/** What the tool prints for @p input, converted at once by the library in this process. */
QByteArray convertedAtOnce(const QStringList &arguments, const QByteArray &input)
{
    Glyphmorpher morpher;
    // The QByteArray overload stops at the first NUL in Qt 5.
    QString text = QString::fromUtf8(input.constData(), qMax(0, int(input.size())));
    if (arguments.first() == QLatin1String("plain")) {
        QString plain = morpher.transformHTMLToPlainText(text);
        if (!plain.isEmpty() && !plain.endsWith(QLatin1Char('\n')))
            plain += QLatin1Char('\n');
        return plain.toUtf8();
    }
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (arguments.contains("--escape"))
        text = text.toHtmlEscaped();
    const QString lineBreak = arguments.contains("--line-break") ? "<br>\n" : "<br>";
    return (morpher.transformPlainTextToHTML(text, QString(), 0, lineBreak) + QLatin1Char('\n'))
        .toUtf8();
}

} // namespace

class GlyphmorphToolTest : public QObject
{
    Q_OBJECT

    struct Result
    {
        int exitCode = -1;
        QByteArray bytes;
        QString out;
        QString err;
    };

    std::unique_ptr<QTemporaryDir> m_dir;
    // The home of this process, so that the library here finds the images where the tool does.
    bool m_processHome = false;

    QString home() const { return m_processHome ? QDir::homePath() : m_dir->filePath("home"); }
    QString root() const { return m_dir->filePath("themes"); }
    QString work() const { return m_dir->filePath("work"); }

    void prepare(QProcess &process, const QStringList &arguments = {}) const
    {
        process.setArguments(arguments);
        process.setProcessEnvironment(toolEnvironment(home(), root(), m_dir->filePath("runtime")));
        process.setProgram(QStringLiteral(GLYPHMORPH_TOOL_PATH));
        // A file the tool writes by mistake lands in the scratch directory.
        process.setWorkingDirectory(work());
    }

    /** Runs the tool; "</PATH" and ">/PATH" among @p arguments redirect standard input and
     *  output as in a shell, and NAME=VALUE sets a variable of the environment. */
    Result run(QStringList arguments, const QByteArray &input = QByteArray()) const
    {
        QProcess process;
        prepare(process);
        QProcessEnvironment environment = process.processEnvironment();
        for (const QString &special : arguments.filter(QRegularExpression("^([<>]/|[A-Z_]+=)"))) {
            arguments.removeOne(special);
            if (special.startsWith(QLatin1Char('<')))
                process.setStandardInputFile(special.mid(1));
            else if (special.startsWith(QLatin1Char('>')))
                process.setStandardOutputFile(special.mid(1));
            else
                environment.insert(special.section('=', 0, 0), special.section('=', 1));
        }
        process.setProcessEnvironment(environment);
        process.setArguments(arguments);
        process.start();
        Result result;
        if (!process.waitForStarted())
            return result;
        // Standard input read from a file takes no writes.
        if (!input.isEmpty())
            process.write(input);
        process.closeWriteChannel();
        // A tool that hangs fails the test instead of stopping it.
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            result.err = "timed out";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.bytes = process.readAllStandardOutput();
        // qMax: GCC cannot see that the size is never negative, so strlen would never run.
        result.out = QString::fromUtf8(result.bytes.constData(), qMax(0, int(result.bytes.size())));
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // Reads standard output of @p watcher into @p out until it holds @p line.
    static bool seen(QProcess &watcher, QString &out, const QString &line)
    {
        out += QString::fromUtf8(watcher.readAllStandardOutput());
        return out.contains(line);
    }

    // Exit code and error text as the row says; the output whole when the row's starts with '=',
    // else a part of it. A failure is told in one line.
    static void verifyResult(
        const Result &result, int exitCode, const QString &out, const QString &err)
    {
        QCOMPARE(result.exitCode, exitCode);
        if (out.startsWith(QLatin1Char('=')))
            QCOMPARE(result.out, out.mid(1));
        else
            QVERIFY2(result.out.contains(out), qPrintable(result.out));
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
        if (exitCode == 1)
            QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_processHome = false;
        for (const char *sub : { "home/.config", "themes", "runtime", "work" })
            QVERIFY(QDir().mkpath(m_dir->filePath(QLatin1String(sub))));
        QFile::setPermissions(
            m_dir->filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // $WORK is a scratch directory; work/Smile holds smile.png, wink.png and the row's input as
    // its description, and an installed theme has the service S.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // as run() takes them
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // "=" first: all of standard output; else a part of it
        QTest::addColumn<QString>("err");
        const auto row = [](const char *name, const QString &arguments, const QByteArray &input,
                             int exitCode, const QString &out, const char *err) {
            QTest::newRow(name) << arguments.split(QLatin1Char('|'), Qt::SkipEmptyParts) << input
                                << exitCode << out << QString::fromUtf8(err);
        };
        const QString happy = imageTag("$HOME", "happy");
        row("version", "--version", {}, 0, "=glyphmorph " GLYPHMORPH_VERSION_STRING "\n", "");
        row("no command renders a sample", "", {}, 0, "Hi " + happy + " see",
            "'glyphmorph --help'");
        row("html from arguments", "html|I|<3 it", {}, 0,
            "=I " + imageTag("$HOME", "heart") + " it\n", "");
        // A text file's CR LF is one line end; the library reads two.
        row("html of CR LF lines", "html", "a :)\r\nb\r\n", 0, "=a " + happy + "<br>b\n", "");
        row("page to standard output", "page|-o|-|:)", {}, 0, "<!DOCTYPE html>", "");
        row("page of more than 16 MiB", "page", QByteArray(17 * 1024 * 1024, 'a'), 1, "=",
            "standard input holds more than 16 MiB");
        row("plain of a missing file", "plain|/nonexistent/file.html", {}, 1, "",
            "cannot read /nonexistent/file.html");
        row("unknown command", "frobnicate", {}, 2, "=", "unknown command 'frobnicate'");
        row("unknown option", "html|--bogus", {}, 2, "=", "bogus");
        row("round trip of escaped text", "html|--round-trip|--escape|x", {}, 2, "=",
            "leave out --escape");
        row("round trip with a line break that does not read back",
            "html|--round-trip|--line-break|<p>|x", {}, 2, "=", "needs a line break");
        row("strict code ends", "html|--strict|:Default|:D", {}, 0, ":Default <img", "");
        // Every code with an emoji gives it, strict code ends still apply, and a code that has
        // none stays an image.
        row("emoji text", "html|--emoji-text|--strict|:) <3 :)x &lt;3", {}, 0,
            "=\U0001F642 \u2764\uFE0F :)x \u2764\uFE0F\n", "");
        row("use of an unknown theme", "use|nope", {}, 1, "=",
            "no registered theme has the UUID or name 'nope'");
        row("watch of a root that is a file", "--themes-root|/dev/null|watch", {}, 1, "=",
            "the themes root /dev/null is not a directory");
        // Written at the end, or piece by piece as the input is read.
        const char *cannotWrite = "cannot write standard output: ";
        row("html to a full disk", "html|:)|>/dev/full", {}, 1, "", cannotWrite);
        row("html of standard input to a full disk", "html|<$WORK/chat.txt|>/dev/full", {}, 1, "",
            cannotWrite);
        row("plain to a full disk", "plain|<$WORK/chat.txt|>/dev/full", {}, 1, "", cannotWrite);
        // html and plain read in pieces, page at once.
        row("html reading a directory", "html|<$WORK", {}, 1, "", "cannot read standard input: ");
        row("page reading a directory", "page|<$WORK", {}, 1, "", "cannot read standard input: ");
        // What the library finds is its own test; these rows, one for each exit code of check, are
        // about how it reports it.
        row("check, accepted", "check|$WORK/Smile", themeXml({ "u1", {} }), 0,
            "=accepted: $WORK/Smile: 'Theme u1' (u1), 2 emoticons\n", "");
        row("check, not well-formed", "check|$WORK/Smile",
            "<emoticon_theme theme_uuid='u' theme_name='n'>\n<emoticon>\n</emoticon_theme>", 4, "=",
            "not well-formed at line 3, column");
        row("check, image missing", "check|$WORK/Smile",
            themeXml({ "u1", {}, { "smile", "wink", "gone" } }), 7, "=",
            "glyphmorph: refused: $WORK/Smile: image files missing:\n  gone.png (for :gone:)\n");
        row("check, service taken", "check|$WORK/Smile", themeXml({ "u1", "S" }), 8, "=",
            "the service S is taken by the installed theme 'Theme u2'");
        row("emoji name in German", "emoji|name|👍|--lang|de", {}, 0, "=Daumen hoch\n", "");
        row("emoji name without FE0F", "emoji|name|❤|--lang|fr", {}, 0, "=cœur rouge\n", "");
        row("emoji name of a shortcode", "emoji|name|:umbrella:|--lang|en", {}, 0,
            "=umbrella with rain drops\n", "");
        row("emoji name in a locale without names", "emoji|name|👍|--lang|xx", {}, 0, "=thumbs up\n",
            "no emoji names for locale 'xx'");
        row("emoji name of no emoji", "emoji|name|xyz", {}, 1, "=",
            "'xyz' is not an emoji sequence");
        row("emoji name of two emoji", "emoji|name|👍|👎", {}, 2, "=", "exactly one emoji");
        row("emoji search", "emoji|search|DÄUMEN|--lang|de|--limit|2", {}, 0,
            "=👍\tDaumen hoch\n👎\tDaumen runter\n", "");
        row("emoji search of several words", "emoji|search|heart|eyes|cat|--lang|en", {}, 0,
            "=😻\tsmiling cat with heart-eyes\n", "");
        row("emoji search without a match", "emoji|search|qqqzzz|--lang|en", {}, 0, "=",
            "no emoji matches 'qqqzzz'");
        row("emoji search with a negative limit", "emoji|search|cat|--limit|-3", {}, 2, "=",
            "--limit needs a number of 0 or more");
        row("emoji search with a limit that is no number", "emoji|search|cat|--limit|many", {}, 2,
            "=", "not 'many'");
        row("emoji search without words", "emoji|search", {}, 2, "=", "needs a word");
        row("emoji json outside search", "emoji|name|👍|--json", {}, 2, "=",
            "'emoji complete' only");
        row("emoji tones", "emoji|tones|👍|--lang|en", {}, 0,
            "=👍🏻\tthumbs up: light skin tone\n👍🏼\tthumbs up: medium-light skin tone\n"
            "👍🏽\tthumbs up: medium skin tone\n👍🏾\tthumbs up: medium-dark skin tone\n"
            "👍🏿\tthumbs up: dark skin tone\n",
            "");
        row("emoji tones of an emoji without", "emoji|tones|😀|--lang|en", {}, 1, "=",
            "😀 (grinning face) has no skin-tone variants");
        row("emoji info", "emoji|info", {}, 0, "Unicode emoji: 15.0\nCLDR: 41\n", "");
        row("emoji complete", "emoji|complete|thumbs|--lang|en", {}, 0,
            "=👍\t:thumbsup:\tthumbs up\n👎\t:thumbsdown:\tthumbs down\n", "");
        row("emoji complete in Slack's set",
            "emoji|complete|umbrella|--preset|slack|--limit|1|--lang|en", {}, 0,
            "=☂️\t:umbrella:\tumbrella\n", "");
        row("emoji complete contained after beginning",
            "emoji|complete|rella|--preset|cldr|--limit|1", {}, 0, ":umbrella", "");
        row("emoji complete one character", "emoji|complete|:p", {}, 0, "=",
            "completion starts at 2 characters");
        row("emoji complete without a match", "emoji|complete|qzx", {}, 0, "=",
            "no shortcode contains 'qzx'");
        row("emoji complete with an unknown preset", "emoji|complete|sm|--preset|discord", {}, 2,
            "=", "--preset is github, slack or cldr, not 'discord'");
        row("emoji preset outside complete", "emoji|search|cat|--preset|slack", {}, 2, "=",
            "'emoji complete' only");
        row("emoji tone out of range", "emoji|tone|6", {}, 2, "=",
            "the skin tone is a number from 0 (none) to 5 (dark), not '6'");
        row("emoji tone no number", "emoji|tone|dark", {}, 2, "=", "not 'dark'");
        row("emoji tone twice", "emoji|tone|1|2", {}, 2, "=", "at most one tone");
        row("emoji clear outside recent", "emoji|tone|--clear", {}, 2, "=", "'emoji recent' only");
        row("emoji no subcommand", "emoji", {}, 2, "=", "emoji needs a subcommand");
        row("emoji unknown subcommand", "emoji|frob", {}, 2, "=",
            "unknown emoji subcommand 'frob'");
        // Without locale files names are English, and the tool says where it looked.
        row("emoji info without locale files", "GLYPHMORPH_EMOJI_LOCALE_DIR=$WORK|emoji|info", {},
            0, "locales: 1 (en built in; the others in $WORK)", "no locale files found in $WORK");
        row("emoji name without locale files",
            "GLYPHMORPH_EMOJI_LOCALE_DIR=$WORK|emoji|name|👍|--lang|de", {}, 0, "=thumbs up\n", "");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QVERIFY(writeBytes(work() + "/chat.txt", chat(7, true)));
        QVERIFY(!writeTheme(root(), "Other", { "u2", "S" }).isEmpty());
        QVERIFY(writeBytes(writeTheme(work(), "Smile", {}) + "/Smile.xml", input));
        for (QString *text : { &out, &err })
            text->replace("$HOME", home()).replace("$WORK", work());
        arguments.replaceInStrings("$WORK", work());
        const Result result = run(arguments, input);
        verifyResult(result, exitCode, out, err);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!QFileInfo::exists(work() + "/-"));
    }

    // What html --round-trip writes, plain --round-trip reads back byte for byte.
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("html");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("chat") << QStringList()
                              << QByteArray("a <3 & \"b\" 'c'\r\n<i>\u00e9 :)\n\n");
        QTest::newRow("strict, line break")
            << QStringList { "--strict", "--line-break", "<br>\\n" } << QByteArray(":Dx :D\r\n");
        QTest::newRow("no final line end") << QStringList() << QByteArray("\r:)");
        // Longer than the tool's pieces, without a space to cut at.
        QTest::newRow("long line") << QStringList() << "x" + QByteArray(1200000, '&') + " :)\n";
    }

    void roundTrip()
    {
        QFETCH(QStringList, html);
        QFETCH(QByteArray, input);
        const Result there = run(QStringList { "html", "--round-trip" } + html, input);
        QCOMPARE(there.exitCode, 0);
        const Result back = run({ "plain", "--round-trip" }, there.bytes);
        QCOMPARE(back.exitCode, 0);
        QCOMPARE(back.bytes, input);
    }

    // The listing with the directories that hold no registered theme and why; the choice of a
    // theme, which then renders the text.
    void themesAndUse()
    {
        for (const char *twin : { "Seven", "Twin" })
            QVERIFY(!writeTheme(root(), twin, { "u7", {} }).isEmpty());
        QVERIFY(QDir(root()).mkpath("Broken"));
        QVERIFY(writeBytes(root() + "/Broken/Broken.xml", "<emoticon_theme"));
        const QString listing = run({ "themes", "--all" }).out;
        QVERIFY2(listing.contains(
                     root() + "/Broken\n    " + root() + "/Broken/Broken.xml is not well-formed"),
            qPrintable(listing));
        QVERIFY2(listing.contains("is also the registered theme 'Theme u7'"), qPrintable(listing));

        const Result json = run({ "themes", "--json" });
        QCOMPARE(json.exitCode, 0);
        const QJsonObject object = QJsonDocument::fromJson(json.bytes).object();
        QCOMPARE(object.value("current").toString(), builtInUUID);
        // The built-in theme, the Emoji theme and the one of the twins found first.
        const QJsonArray list = object.value("themes").toArray();
        QCOMPARE(list.size(), 3);
        QJsonObject installed;
        for (const QJsonValue &theme : list) {
            if (!theme.toObject().value("directory").isNull())
                installed = theme.toObject();
        }
        QCOMPARE(installed.value("emoticons").toInt(), 2);
        QVERIFY(QFile::exists(installed.value("preview").toString()));

        const Result use = run({ "use", "u7" });
        QCOMPARE(use.out, QStringLiteral("current theme: Theme u7 (u7)\n"));
        QVERIFY(run({ "themes" }).out.contains("* Theme u7 (current)"));
        // Whichever of the twins was found first renders the text now.
        QVERIFY(run({ "html", ":smile:" }).out.contains("/smile.png'  width='20'"));

        // The chosen theme removed by another program: every command that names the current
        // theme names the built-in one.
        for (const char *twin : { "Seven", "Twin" })
            QVERIFY(QDir(root() + '/' + twin).removeRecursively());
        QVERIFY(run({ "themes" }).out.contains("* Default (current)"));
        QVERIFY(run({ "themes", "--json" }).out.contains("\"current\": \"" + builtInUUID + '"'));
        QProcess watcher;
        prepare(watcher, { "watch" });
        watcher.start();
        QString out;
        QTRY_VERIFY_WITH_TIMEOUT(seen(watcher, out, "watching "), 30000);
        QVERIFY2(out.contains("current  " + builtInUUID + "  'Default'\n"), qPrintable(out));
        watcher.terminate();
        QVERIFY(watcher.waitForFinished(30000));
    }

    void watch()
    {
        // A root made only after the watch began is watched from the directory above it.
        QVERIFY(QDir(root()).removeRecursively());
        QProcess watcher;
        prepare(watcher, { "watch" });
        watcher.start();
        QString out;
        QTRY_VERIFY_WITH_TIMEOUT(
            seen(watcher, out, "watching " + root() + " (not there yet)"), 30000);
        QVERIFY(out.contains("present  " + builtInUUID));
        const QString late = writeTheme(root(), "Late", { "u9", {} });
        for (const QString &line : QStringList { "added    u9  'Theme u9'  " + late,
                 "current  u9  'Theme u9'", "removed  u9",
                 // Removing the current theme sends the user back to the built-in theme, after
                 // the grace period of ten seconds: the wait leaves a busy machine room.
                 "current  " + builtInUUID }) {
            QTRY_VERIFY_WITH_TIMEOUT(seen(watcher, out, line), 60000);
            if (line.startsWith(QLatin1String("added")))
                QCOMPARE(run({ "use", "u9" }).exitCode, 0);
            else if (line.startsWith(QLatin1String("current  u9")))
                QVERIFY(QDir(late).removeRecursively());
        }
        watcher.terminate();
        QVERIFY(watcher.waitForFinished(30000));
        QCOMPARE(watcher.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watcher.exitCode(), 0);
    }

    // Streamed message by message, the output is what the library makes of the whole input.
    void streamedAsConvertedAtOnce_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("nestedCodes");
        const QStringList html = { "html" };
        const QStringList escaped = { "html", "--escape", "--line-break", "<br>\\n" };
        const QStringList plain = { "plain" };
        for (quint32 seed = 1; seed <= 3; ++seed) {
            QTest::addRow("html, seed %u", seed) << html << chat(seed, false) << false;
            QTest::addRow("html escaped, seed %u", seed) << escaped << chat(seed, false) << false;
            QTest::addRow("plain, seed %u", seed) << plain << chat(seed, true) << false;
        }
        QTest::newRow("html, codes within codes") << html << chat(4, false) << true;
        // Cuts are rare, so that they may fall anywhere these put a case to watch at every line
        // end.
        QTest::newRow("html, codes within codes at every line end")
            << html << QByteArray("a (y)(n)\n").repeated(40000) << true;
        QTest::newRow("plain, every line feed inside an image tag")
            << plain
            << QByteArray("x <img src='/p/a.png'\nalt=':)' width='20' height='20'> y ")
                   .repeated(8000)
            << false;
        QTest::newRow("html, lines over 1 MiB") << html << chat(5, false, 2) << false;
        QTest::newRow("plain, lines over 1 MiB") << plain << chat(6, true, 2) << false;
        const QByteArray unbroken = QByteArray("x\xc3\xa9").repeated(700 * 1024) + " :)\n";
        QTest::newRow("html, 2 MiB without a space") << html << unbroken << false;
        QTest::newRow("plain, 2 MiB without a space") << plain << unbroken << false;
        const QDir data(QString::fromUtf8(GLYPHMORPH_TEST_DATA "/tool"));
        QVERIFY(data.exists("nul-in-input.txt"));
        for (const QString &file : data.entryList(QDir::Files)) {
            const QByteArray input = readBytes(data.filePath(file));
            QTest::addRow("html of %s", qPrintable(file)) << html << input << false;
            QTest::addRow("plain of %s", qPrintable(file)) << plain << input << false;
        }
    }

    void streamedAsConvertedAtOnce()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(bool, nestedCodes);
        m_processHome = true;
        if (nestedCodes) {
            // The built-in theme's UUID: it takes that theme's place, used without choosing it.
            const QString directory
                = writeTheme(root(), "Nested", { {}, {}, { "y", "yn", "n", "e" } });
            QVERIFY(writeBytes(directory + "/Nested.xml",
                readBytes(QString::fromUtf8(GLYPHMORPH_TEST_DATA "/themes-nested/Nested.xml"))));
        }
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(root()));
        const QByteArray expected = convertedAtOnce(arguments, input);
        QVERIFY(!nestedCodes || expected.contains("/Nested/n.png"));

        const Result result = run(arguments, input);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
        QCOMPARE(result.bytes.size(), expected.size());
        QCOMPARE(result.bytes, expected);
        // Independent of the library: text to HTML loses no NUL and adds none.
        if (arguments.first() == QLatin1String("html"))
            QCOMPARE(result.bytes.count('\0'), input.count('\0'));
    }

    // An image of the built-in theme's cache and one of an installed theme, both linked to a file
    // outside: the page, saved to a file, must not carry its content.
    void pageLeavesUnsafeImagesEmpty()
    {
        const QString secret = work() + "/secret.png";
        QImage image(7, 7, QImage::Format_ARGB32); // unlike any image of a theme here
        image.fill(Qt::blue);
        QVERIFY(image.save(secret, "PNG"));
        const QByteArray leaked = readBytes(secret).toBase64();
        // The first run fills the cache; a link put there later stays.
        QCOMPARE(run({ "html", ":)" }).exitCode, 0);
        const QString happy = home() + "/.emoticonthemecache/icon-s-messaging-smiley-happy.png";
        QVERIFY(QFile::remove(happy) && QFile::link(secret, happy));
        const QString leaky = writeTheme(root(), "Leaky", { "u5", {} });
        QVERIFY(QFile::remove(leaky + "/wink.png"));
        QVERIFY(QFile::link(secret, leaky + "/wink.png"));

        const QString file = work() + "/page.html";
        const struct
        {
            const char *text, *outside, *start;
        } pages[] = { { "<b> & :) <3", "smiley-happy",
                          "&lt;b&gt; &amp; <span class=\"e0\"></span> <span class=\"e1\">" },
            { ":smile: :wink:", "wink.png", "<span class=\"e0\"></span> <span class=\"e1\">" } };
        for (const auto &page : pages) {
            const Result result = run({ "page", "-o", file, QString::fromUtf8(page.text) });
            QCOMPARE(result.exitCode, 0);
            QVERIFY2(result.err.contains(
                         QLatin1String(page.outside) + " resolves outside the theme directory"),
                qPrintable(result.err));
            const QByteArray bytes = readBytes(file);
            QVERIFY2(bytes.contains(page.start), bytes.constData());
            QCOMPARE(bytes.count("url(\"data:image/png;base64,"), 1);
            const QRegularExpressionMatch shown
                = QRegularExpression("base64,([^\"]+)\"").match(QString::fromUtf8(bytes));
            QVERIFY(
                !QImage::fromData(QByteArray::fromBase64(shown.captured(1).toLatin1())).isNull());
            QVERIFY(!bytes.contains(leaked));
            QCOMPARE(run({ "use", "u5" }).exitCode, 0);
        }
    }

    // Each distinct image is in the page once, in the style, however often the text shows it:
    // the page grows with the text, not with its images. A CR LF is one line end.
    void pageInlinesEachImageOnce()
    {
        const QByteArray line = ":) x ;) :) <3\r\n";
        const int lines = 2000;
        const Result result = run({ "page" }, line.repeated(lines));
        QCOMPARE(result.exitCode, 0);
        const QString page = result.out;
        const QRegularExpression rule(
            "\\.message \\.(e\\d+) \\{[^}]*background-image: url\\(\"data:image/png;base64,"
            "([A-Za-z0-9+/=]+)\"\\);");
        QSet<QString> styled;
        for (QRegularExpressionMatchIterator it = rule.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            styled.insert(match.captured(1));
            QVERIFY(
                !QImage::fromData(QByteArray::fromBase64(match.captured(2).toLatin1())).isNull());
        }
        QCOMPARE(styled.size(), 3);
        QCOMPARE(result.bytes.count("data:"), 3);
        const QRegularExpression span("<span class=\"(e\\d+)\"></span>");
        int spans = 0;
        for (QRegularExpressionMatchIterator it = span.globalMatch(page); it.hasNext(); ++spans)
            QVERIFY(styled.contains(it.next().captured(1)));
        QCOMPARE(spans, 4 * lines);
        QCOMPARE(result.bytes.count("<br>\n"), lines - 1);
        QVERIFY(!result.bytes.contains("<br>\n<br>"));
    }

    void emojiSearchAsJson()
    {
        const Result result
            = run({ "emoji", "search", "thumbs", "--lang", "en_GB", "--limit", "3", "--json" });
        QCOMPARE(result.exitCode, 0);
        const QJsonObject document = QJsonDocument::fromJson(result.bytes).object();
        QCOMPARE(document.value("locale").toString(), QStringLiteral("en_GB"));
        const QJsonArray results = document.value("results").toArray();
        QCOMPARE(results.size(), 3);
        const QJsonObject first = results.first().toObject();
        QCOMPARE(first.value("emoji").toString(), QString::fromUtf8("👍"));
        QCOMPARE(first.value("name").toString(), QStringLiteral("thumbs up"));
        QCOMPARE(first.value("group").toString(), QStringLiteral("People & Body"));
        QVERIFY(first.value("shortcodes").toArray().contains(QStringLiteral("+1")));
    }

    // Tone and recent emoji stay from run to run, in the user's settings, and completion follows
    // them; a recent list that another program wrote is read as it stands.
    void emojiPreferencesAcrossRuns()
    {
        const QString settings = home() + "/.config/glyphmorph/settings.conf";
        QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
        QVERIFY(writeBytes(settings, "/Messaging/Settings/Emoji/Recent=👎:2 junk 😀:1\n"));
        verifyResult(run({ "emoji", "tone", "4" }), 0, "=4\tmedium-dark skin tone\t👍🏾\n", "");
        verifyResult(run({ "emoji", "tone" }), 0, "=4\tmedium-dark skin tone\t👍🏾\n", "");
        verifyResult(run({ "emoji", "recent", "--lang", "en" }), 0,
            "=👎\tthumbs down\n😀\tgrinning face\n", "");
        verifyResult(run({ "emoji", "complete", "thu", "--limit", "2", "--lang", "en" }), 0,
            "=👎🏾\t:thumbsdown:\tthumbs down\n👍🏾\t:thumbsup:\tthumbs up\n", "");
        const Result json = run({ "emoji", "complete", "thu", "--limit", "1", "--json" });
        QCOMPARE(json.exitCode, 0);
        const QJsonObject document = QJsonDocument::fromJson(json.bytes).object();
        QCOMPARE(document.value("query").toString(), QStringLiteral("thu"));
        QCOMPARE(document.value("preset").toString(), QStringLiteral("github"));
        const QJsonObject first = document.value("results").toArray().first().toObject();
        QCOMPARE(first.value("emoji").toString(), QString::fromUtf8("👎🏾"));
        QCOMPARE(first.value("shortcode").toString(), QStringLiteral("thumbsdown"));
        verifyResult(run({ "emoji", "recent", "--clear" }), 0, "=", "");
        verifyResult(run({ "emoji", "recent" }), 0, "=", "no emoji used yet");
        verifyResult(run({ "emoji", "tone", "0" }), 0, "=0\tnone\t👍\n", "");
    }
};

GLYPHMORPH_TEST_MAIN(GlyphmorphToolTest)
#include "glyphmorphtooltest.moc"
