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

#include <functional>
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

QByteArray testData(const QString &name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("data/tool/") + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing test data");
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
    if (html) {
        pieces << emoticonTag(":)") << emoticonTag("<3") << emoticonTag("br") << "<br>"
               << "<b"
               << "r>";
    }
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
    if (arguments.contains(QStringLiteral("--escape")))
        text = text.toHtmlEscaped();
    const QString lineBreak = arguments.contains(QStringLiteral("--line-break"))
        ? QStringLiteral("<br>\n")
        : QStringLiteral("<br>");
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

    QString home() const
    {
        return m_processHome ? QDir::homePath() : m_dir->filePath(QStringLiteral("home"));
    }
    QString root() const { return m_dir->filePath(QStringLiteral("themes")); }
    QString work() const { return m_dir->filePath(QStringLiteral("work")); }

    void prepare(QProcess &process) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
        environment.insert(
            QStringLiteral("XDG_RUNTIME_DIR"), m_dir->filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("GLYPHMORPH_THEMES_ROOT"), root());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(GLYPHMORPH_TOOL_PATH));
    }

    Result run(const QStringList &arguments, const QByteArray &input = QByteArray(),
        const std::function<void(QProcess &)> &setUp = nullptr) const
    {
        QProcess process;
        prepare(process);
        process.setArguments(arguments);
        if (setUp)
            setUp(process);
        process.start();
        Result result;
        if (!process.waitForStarted())
            return result;
        process.write(input);
        process.closeWriteChannel();
        // A tool that hangs fails the test instead of stopping it.
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            result.err = QStringLiteral("timed out");
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

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_processHome = false;
        for (const char *sub : { "home/.config", "themes", "runtime", "work" })
            QVERIFY(QDir().mkpath(m_dir->filePath(QLatin1String(sub))));
        QFile::setPermissions(m_dir->filePath(QStringLiteral("runtime")),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // "=" first: all of standard output; else a part of it
        QTest::addColumn<QString>("err");
        const auto row = [](const char *name, const QString &arguments, const QByteArray &input,
                             int exitCode, const QString &out, const char *err) {
            QTest::newRow(name) << arguments.split(QLatin1Char('|'), Qt::SkipEmptyParts) << input
                                << exitCode << out << QString::fromUtf8(err);
        };
        const QString happy = imageTag(QStringLiteral("$HOME"), "happy");
        row("version", "--version", {}, 0, "=glyphmorph " GLYPHMORPH_VERSION_STRING "\n", "");
        row("no command renders a sample", "", {}, 0, "Hi " + happy + " see",
            "'glyphmorph --help'");
        row("html from arguments", "html|I|<3 it", {}, 0,
            "=I " + imageTag(QStringLiteral("$HOME"), "heart") + " it\n", "");
        row("page of more than 16 MiB", "page", QByteArray(17 * 1024 * 1024, 'a'), 1, "=",
            "standard input holds more than 16 MiB");
        row("plain of a missing file", "plain|/nonexistent/file.html", {}, 1, "",
            "cannot read /nonexistent/file.html");
        row("unknown command", "frobnicate", {}, 2, "=", "unknown command 'frobnicate'");
        row("unknown option", "html|--bogus", {}, 2, "=", "bogus");
        row("use of an unknown theme", "use|nope", {}, 1, "=",
            "no registered theme has the UUID 'nope'");
        row("watch of a root that is a file", "--themes-root|/dev/null|watch", {}, 1, "=",
            "the themes root /dev/null is not a directory");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, out);
        out.replace(QStringLiteral("$HOME"), home());
        const Result result = run(arguments, input);
        QTEST(result.exitCode, "exitCode");
        if (out.startsWith(QLatin1Char('=')))
            QCOMPARE(result.out, out.mid(1));
        else
            QVERIFY2(result.out.contains(out), qPrintable(result.out));
        QFETCH(QString, err);
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
    }

    // What the library finds is its own test; these rows are about how check reports it.
    void check_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QByteArray>("installed"); // a theme in the root before the check
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // in the output, with $DIR the checked directory
        const QStringList both = { QStringLiteral("smile"), QStringLiteral("wink") };
        const QByteArray good = themeXml({ QStringLiteral("u1"), QString() });
        // One row for each exit code.
        QTest::newRow("accepted") << good << both << QByteArray() << 0
                                  << "accepted: $DIR: 'Theme u1' (u1), 2 emoticons\n";
        QTest::newRow("not well-formed")
            << QByteArray("<emoticon_theme theme_uuid='u' theme_name='n'>\n<emoticon>\n"
                          "</emoticon_theme>")
            << both << QByteArray() << 4 << "not well-formed at line 3, column";
        QTest::newRow("image missing")
            << good << QStringList { QStringLiteral("smile") } << QByteArray() << 7
            << "glyphmorph: refused: $DIR: image files missing:\n  wink.png (for :wink:)\n";
        QTest::newRow("service taken")
            << themeXml({ QStringLiteral("u1"), QStringLiteral("S") }) << both
            << themeXml({ QStringLiteral("u2"), QStringLiteral("S") }) << 8
            << "the service S is taken by the installed theme 'Theme u2'";
    }

    void check()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, images);
        QFETCH(QByteArray, installed);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        if (!installed.isEmpty()) {
            QVERIFY(QDir().mkpath(root() + QStringLiteral("/Other")));
            QVERIFY(writeBytes(root() + QStringLiteral("/Other/Other.xml"), installed));
            QVERIFY(writeImages(root() + QStringLiteral("/Other"), ThemeContent()));
        }
        const QString directory = work() + QStringLiteral("/Smile");
        QVERIFY(QDir().mkpath(directory));
        QVERIFY(writeBytes(directory + QStringLiteral("/Smile.xml"), xml));
        ThemeContent files;
        files.images = images;
        QVERIFY(writeImages(directory, files));

        const Result result = run({ QStringLiteral("check"), directory });
        QCOMPARE(result.exitCode, exitCode);
        message.replace(QStringLiteral("$DIR"), directory);
        QVERIFY2((result.err + result.out).contains(message), qPrintable(result.out + result.err));
        QCOMPARE(result.out.isEmpty(), exitCode != 0);
    }

    void installRemoveImport_data()
    {
        QTest::addColumn<QStringList>("before"); // a command run first, if any
        QTest::addColumn<QStringList>("command"); // $DATA: tests/data, $WORK: a scratch directory
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("installed"); // the root's entries afterwards
        const QStringList none;
        const QStringList tiny = { QStringLiteral("Tiny") };
        const auto install = [](const char *source) {
            return QStringList { QStringLiteral("install"),
                QStringLiteral("$DATA/") + QLatin1String(source) };
        };
        for (const char *archive :
            { "tiny.zip", "tiny.tar", "tiny.tar.gz", "tiny.tar.xz", "tiny.tar.bz2" })
            QTest::newRow(archive)
                << none << install(archive) << 0 << QStringLiteral("installed: 'Tiny'") << tiny;
        QTest::newRow("UUID installed") << install("tiny.zip") << install("tiny.tar") << 8
                                        << QStringLiteral("is installed already") << tiny;
        QTest::newRow("replaced") << install("tiny.zip")
                                  << (install("tiny.tar") << QStringLiteral("--replace")) << 0
                                  << QStringLiteral("replacing the earlier version") << tiny;
        const char *const hostile[][2] = {
            { "traversal-dotdot.tar",
                "archive entry 'Tiny/../../escaped.txt' has a \"..\" component" },
            { "absolute-path.tar",
                "archive entry '/tmp/glyphmorph-absolute.txt' has an absolute path" },
            { "symlink.tar", "archive entry 'Tiny/link.png' is a symbolic link" },
            { "hardlink.tar", "archive entry 'Tiny/hard.png' is a hard link" },
            { "device.tar", "archive entry 'Tiny/null' is a device" },
            { "bomb.zip", "archive entry 'Tiny/Tiny.xml' unpacks to more than 16777216 bytes" },
            { "not-an-archive.zip", "Unrecognized archive format" },
        };
        for (const auto &row : hostile)
            QTest::newRow(row[0]) << none << install(row[0]) << 1 << QString::fromUtf8(row[1])
                                  << none;
        QTest::newRow("KDE archive")
            << none << install("kde-kiwi.zip") << 0
            << QStringLiteral("warning: code \"8-)\" of face-glasses left out")
            << QStringList { QStringLiteral("Kiwi") };
        QTest::newRow("Pidgin directory") << none << install("../themes-import/Plum") << 0
                                          << QStringLiteral("installed: 'Plum Smileys'")
                                          << QStringList { QStringLiteral("Plum-Smileys") };
        QTest::newRow("removed by name")
            << install("tiny.zip")
            << QStringList { QStringLiteral("remove"), QStringLiteral("Tiny") } << 0
            << QStringLiteral("removed: ") << none;
        QTest::newRow("built-in theme kept")
            << none << QStringList { QStringLiteral("remove"), builtInUUID } << 1
            << QStringLiteral("the built-in theme cannot be removed") << none;
        QTest::newRow("imported, not installed")
            << none
            << QStringList { QStringLiteral("import"), QStringLiteral("$DATA/pidgin-plum.tar.gz"),
                   QStringLiteral("-o"), QStringLiteral("$WORK") }
            << 0 << QStringLiteral("imported: $WORK/Plum-Smileys") << none;
    }

    void installRemoveImport()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, command);
        QFETCH(QString, message);
        const QString data = QFileInfo(QFINDTESTDATA("data/archives/tiny.zip")).absolutePath();
        for (QStringList *arguments : { &before, &command }) {
            for (QString &argument : *arguments)
                argument.replace(QStringLiteral("$DATA"), data)
                    .replace(QStringLiteral("$WORK"), work());
        }
        if (!before.isEmpty())
            QCOMPARE(run(before).exitCode, 0);
        const Result result = run(command);
        QTEST(result.exitCode, "exitCode");
        message.replace(QStringLiteral("$WORK"), work());
        QVERIFY2((result.out + result.err).contains(message), qPrintable(result.out + result.err));
        // Whatever happened, the root holds whole themes only: no staging is left behind.
        QTEST(QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            "installed");
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/glyphmorph-absolute.txt")));
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/../escaped.txt")));
        if (command.first() == QLatin1String("import"))
            QVERIFY(QFileInfo(work() + QStringLiteral("/Plum-Smileys/Plum-Smileys.xml")).isFile());
    }

    // The listing with the directories that hold no registered theme and why; the choice of a
    // theme, which then renders the text.
    void themesAndUse()
    {
        for (const QString &twin : { QStringLiteral("Seven"), QStringLiteral("Twin") })
            QVERIFY(!writeTheme(root(), twin, { QStringLiteral("u7"), {} }).isEmpty());
        QVERIFY(QDir(root()).mkpath(QStringLiteral("Broken")));
        QVERIFY(writeBytes(root() + QStringLiteral("/Broken/Broken.xml"), "<emoticon_theme"));
        const QString listing = run({ QStringLiteral("themes"), QStringLiteral("--all") }).out;
        QVERIFY2(listing.contains(root() + QStringLiteral("/Broken\n    ") + root()
                     + QStringLiteral("/Broken/Broken.xml is not well-formed")),
            qPrintable(listing));
        QVERIFY2(listing.contains(QStringLiteral("is also the registered theme 'Theme u7'")),
            qPrintable(listing));

        const Result json = run({ QStringLiteral("themes"), QStringLiteral("--json") });
        QCOMPARE(json.exitCode, 0);
        const QJsonObject object = QJsonDocument::fromJson(json.bytes).object();
        QCOMPARE(object.value(QStringLiteral("current")).toString(), builtInUUID);
        const QJsonArray list = object.value(QStringLiteral("themes")).toArray();
        QCOMPARE(list.size(), 2);
        const QJsonObject installed
            = list.at(list.at(0).toObject().value(QStringLiteral("uuid")) == builtInUUID ? 1 : 0)
                  .toObject();
        QCOMPARE(installed.value(QStringLiteral("emoticons")).toInt(), 2);
        QVERIFY(QFile::exists(installed.value(QStringLiteral("preview")).toString()));

        const Result use = run({ QStringLiteral("use"), QStringLiteral("u7") });
        QCOMPARE(use.out, QStringLiteral("current theme: Theme u7 (u7)\n"));
        QVERIFY(
            run({ QStringLiteral("themes") }).out.contains(QStringLiteral("* Theme u7 (current)")));
        // Whichever of the twins was found first renders the text now.
        QVERIFY(run({ QStringLiteral("html"), QStringLiteral(":smile:") })
                    .out.contains(QStringLiteral("/smile.png'  width='20'")));
    }

    void watch()
    {
        // A root made only after the watch began is watched from the directory above it.
        QVERIFY(QDir(root()).removeRecursively());
        QProcess watcher;
        prepare(watcher);
        watcher.setArguments({ QStringLiteral("watch") });
        watcher.start();
        QString out;
        QTRY_VERIFY_WITH_TIMEOUT(
            seen(watcher, out,
                QStringLiteral("watching ") + root() + QStringLiteral(" (not there yet)")),
            30000);
        QVERIFY(out.contains(QStringLiteral("present  ") + builtInUUID));
        const QString late
            = writeTheme(root(), QStringLiteral("Late"), { QStringLiteral("u9"), {} });
        for (const QString &line : { QStringLiteral("added    u9  'Theme u9'  ") + late,
                 QStringLiteral("current  u9  'Theme u9'"), QStringLiteral("removed  u9"),
                 // Removing the current theme sends the user back to the built-in theme.
                 QStringLiteral("current  ") + builtInUUID }) {
            QTRY_VERIFY_WITH_TIMEOUT(seen(watcher, out, line), 15000);
            if (line.startsWith(QLatin1String("added")))
                QCOMPARE(run({ QStringLiteral("use"), QStringLiteral("u9") }).exitCode, 0);
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
        const QStringList html = { QStringLiteral("html") };
        const QStringList escaped = { QStringLiteral("html"), QStringLiteral("--escape"),
            QStringLiteral("--line-break"), QStringLiteral("<br>\\n") };
        const QStringList plain = { QStringLiteral("plain") };
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
        const QStringList files = QDir(QFINDTESTDATA("data/tool")).entryList(QDir::Files);
        QVERIFY(files.contains(QStringLiteral("nul-in-input.txt")));
        for (const QString &file : files) {
            QTest::addRow("html of %s", qPrintable(file)) << html << testData(file) << false;
            QTest::addRow("plain of %s", qPrintable(file)) << plain << testData(file) << false;
        }
    }

    void streamedAsConvertedAtOnce()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(bool, nestedCodes);
        m_processHome = true;
        if (nestedCodes) {
            const QString directory = root() + QStringLiteral("/Nested");
            QVERIFY(QDir().mkpath(directory));
            // The built-in theme's UUID: it takes that theme's place, used without choosing it.
            QVERIFY(QFile::copy(QFINDTESTDATA("data/themes-nested/Nested.xml"),
                directory + QStringLiteral("/Nested.xml")));
            ThemeContent images;
            images.images = QStringList { QStringLiteral("y"), QStringLiteral("yn"),
                QStringLiteral("n"), QStringLiteral("e") };
            QVERIFY(writeImages(directory, images));
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

    // A full disk and a directory as standard input: one line on standard error, exit 1.
    void inputAndOutputFailures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input"); // a file for standard input; empty: no input
        QTest::addColumn<QString>("output"); // a file for standard output
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QString &arguments, const char *input,
                             const char *output, const char *message) {
            QTest::newRow(name) << arguments.split(QLatin1Char('|')) << QString(input)
                                << QString(output) << QString(message);
        };
        const char *full = "/dev/full";
        const char *cannotWrite = "cannot write standard output: ";
        row("html to a full disk", "html|:)", "", full, cannotWrite);
        row("html of standard input to a full disk", "html", "$CHAT", full, cannotWrite);
        row("plain to a full disk", "plain", "$CHAT", full, cannotWrite);
        row("page to a full disk", "page|:)", "", full, cannotWrite);
        for (const char *command : { "html", "plain", "page" })
            row((QByteArray(command) + " reading a directory").constData(), command, "$DIR", "",
                "cannot read standard input: ");
    }

    void inputAndOutputFailures()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        const QString chatFile = m_dir->filePath(QStringLiteral("chat.txt"));
        QVERIFY(writeBytes(chatFile, chat(7, true)));
        input.replace(QStringLiteral("$CHAT"), chatFile).replace(QStringLiteral("$DIR"), work());
        QFETCH(QStringList, arguments);
        const Result result = run(arguments, QByteArray(), [&](QProcess &process) {
            if (!input.isEmpty())
                process.setStandardInputFile(input);
            if (!output.isEmpty())
                process.setStandardOutputFile(output);
        });
        QCOMPARE(result.exitCode, 1);
        QFETCH(QString, message);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    }

    // An image of the built-in theme's cache and one of an installed theme, both linked to a file
    // outside: the page, saved to a file, must not carry its content.
    void pageLeavesUnsafeImagesEmpty()
    {
        const QString secret = work() + QStringLiteral("/secret.png");
        QImage image(7, 7, QImage::Format_ARGB32); // unlike any image of a theme here
        image.fill(Qt::blue);
        QVERIFY(image.save(secret, "PNG"));
        QFile secretFile(secret);
        QVERIFY(secretFile.open(QIODevice::ReadOnly));
        const QByteArray leaked = secretFile.readAll().toBase64();
        // The first run fills the cache; a link put there later stays.
        QCOMPARE(run({ QStringLiteral("html"), QStringLiteral(":)") }).exitCode, 0);
        const QString happy
            = home() + QStringLiteral("/.emoticonthemecache/icon-s-messaging-smiley-happy.png");
        QVERIFY(QFile::remove(happy) && QFile::link(secret, happy));
        const QString leaky
            = writeTheme(root(), QStringLiteral("Leaky"), { QStringLiteral("u5"), {} });
        QVERIFY(QFile::remove(leaky + QStringLiteral("/wink.png")));
        QVERIFY(QFile::link(secret, leaky + QStringLiteral("/wink.png")));

        const QString file = work() + QStringLiteral("/page.html");
        const struct
        {
            const char *text, *outside, *start;
        } pages[] = { { "<b> & :) <3", "smiley-happy", "&lt;b&gt; &amp; <img src=''" },
            { ":smile: :wink:", "wink.png", "<img src='data:image/png;base64," } };
        for (const auto &page : pages) {
            const Result result = run({ QStringLiteral("page"), QStringLiteral("-o"), file,
                QString::fromUtf8(page.text) });
            QCOMPARE(result.exitCode, 0);
            QVERIFY2(result.err.contains(QLatin1String(page.outside)
                         + QStringLiteral(" resolves outside the theme directory")),
                qPrintable(result.err));
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly));
            const QByteArray bytes = written.readAll();
            QVERIFY2(bytes.contains(page.start), bytes.constData());
            QCOMPARE(bytes.count("src='data:image/png;base64,"), 1);
            const QRegularExpressionMatch shown
                = QRegularExpression(QStringLiteral("base64,([^']+)'"))
                      .match(QString::fromUtf8(bytes));
            QVERIFY(
                !QImage::fromData(QByteArray::fromBase64(shown.captured(1).toLatin1())).isNull());
            QVERIFY(!bytes.contains(leaked));
            QCOMPARE(run({ QStringLiteral("use"), QStringLiteral("u5") }).exitCode, 0);
        }
    }
};

GLYPHMORPH_TEST_MAIN(GlyphmorphToolTest)
#include "glyphmorphtooltest.moc"
