// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph install, remove, import and use under faults: killed at every step, on a full disk,
// run twice at once; hostile archives; and what they tell the user about themes they did not
// expect.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthemefactory.h>

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <csignal>
#include <memory>

using namespace GlyphmorphTest;

namespace {

const QString themeUUID = QStringLiteral("7c1d2b3a-1111-4a4a-9b9b-0123456789ab");

/** Version 1 has two emoticons, version 2 a third one. */
ThemeContent version(int number)
{
    ThemeContent content { themeUUID, {} };
    if (number == 2)
        content.images << QStringLiteral("grin");
    return content;
}

/** A KDE theme: emoticons.xml, each image with its codes. */
bool writeKde(const QString &directory, const QList<QPair<QString, QStringList>> &emoticons,
    bool withImages = true)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<messaging-emoticon-map>\n";
    for (const auto &emoticon : emoticons) {
        xml += "<emoticon file=\"" + emoticon.first.toHtmlEscaped().toUtf8() + "\">\n";
        for (const QString &code : emoticon.second)
            xml += "  <string>" + code.toHtmlEscaped().toUtf8() + "</string>\n";
        xml += "</emoticon>\n";
    }
    bool ok = QDir().mkpath(directory);
    for (const auto &emoticon : emoticons) {
        const QString image = QDir(directory).filePath(emoticon.first) + ".png";
        ok = ok && (!withImages || QFileInfo::exists(image) || writeImage(image));
    }
    return ok
        && writeBytes(
            QDir(directory).filePath("emoticons.xml"), xml + "</messaging-emoticon-map>\n");
}

/** A Pidgin theme: the file "theme" and the images it names. */
bool writePidgin(const QString &directory, const QByteArray &theme, const QStringList &images)
{
    bool ok = QDir().mkpath(directory);
    for (const QString &image : images)
        ok = ok && writeImage(QDir(directory).filePath(image + ".png"));
    return ok && writeBytes(QDir(directory).filePath("theme"), theme);
}

/** A native theme whose description has @p from replaced by @p to. */
bool writeEdited(const QString &parent, const QString &name, const ThemeContent &content,
    const QByteArray &from, const QByteArray &to)
{
    const QString directory = writeTheme(parent, name, content);
    return !directory.isEmpty()
        && writeBytes(directory + '/' + name + ".xml", themeXml(content).replace(from, to));
}

QByteArray utf16(const QByteArray &utf8)
{
    QByteArray bytes("\xff\xfe");
    for (const QChar c : QString::fromUtf8(utf8))
        bytes.append(char(c.cell())).append(char(c.row()));
    return bytes;
}

bool tar(const QString &archive, const QString &directory, const QStringList &entries)
{
    QProcess process;
    process.start("tar", QStringList { "-C", directory, "-cf", archive } + entries);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

/** An image of noise, which PNG cannot make much smaller, whatever the file's name. */
bool writeNoise(const QString &path, int side, quint32 seed)
{
    QImage image(side, side, QImage::Format_ARGB32);
    QRandomGenerator random(seed);
    for (int i = 0; i < side * side; ++i)
        image.setPixel(i % side, i / side, random.generate());
    return image.save(path, "PNG");
}

} // namespace

class GlyphmorphInstallTest : public QObject
{
    Q_OBJECT

    struct Result
    {
        int exitCode = -1;
        bool killed = false;
        QString out;
        QString err;
    };

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_kills = 0;

    QString root() const { return m_dir->filePath("themes"); }
    QString work() const { return m_dir->filePath("work"); }
    QString home() const { return m_dir->filePath("home"); }
    QString out() const { return m_dir->filePath("out"); }

    /** @p hook: the test points' directives, none when empty. */
    void prepare(
        QProcess &process, const QStringList &arguments, const QString &hook = QString()) const
    {
        QProcessEnvironment environment
            = GlyphmorphTest::toolEnvironment(home(), root(), m_dir->filePath("runtime"));
        environment.insert("GLYPHMORPH_TEST_HOOK", hook);
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(GLYPHMORPH_TOOL_PATH));
        process.setArguments(arguments);
    }

    static Result finish(QProcess &process)
    {
        Result result;
        // A tool that hangs fails the test instead of stopping it.
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            result.err = "timed out";
            return result;
        }
        result.killed = process.exitStatus() == QProcess::CrashExit;
        result.exitCode = result.killed ? -1 : process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    Result run(const QStringList &arguments, const QString &hook = QString()) const
    {
        QProcess process;
        prepare(process, arguments, hook);
        process.start();
        process.closeWriteChannel();
        return finish(process);
    }

    /** Starts the tool stopped at @p point; false when it did not get there. */
    bool startStopped(QProcess &process, const QStringList &arguments, const QString &point) const
    {
        prepare(process, arguments, "stop:" + point);
        process.start();
        return readUntil(process, QProcess::StandardError, "stopped at " + point)
            .contains("stopped at " + point);
    }

    /** What @p process writes on @p channel until it has written @p text or ended. The
     *  process starts slowly on a busy machine: only a process that ended, or two minutes,
     *  stop the wait. */
    static QString readUntil(
        QProcess &process, QProcess::ProcessChannel channel, const QString &text)
    {
        process.setReadChannel(channel);
        QString read;
        const QDeadlineTimer deadline(120000);
        while (!read.contains(text) && !deadline.hasExpired()) {
            if (!process.waitForReadyRead(100) && process.state() == QProcess::NotRunning)
                break;
            read += QString::fromUtf8(process.readAll());
        }
        return read;
    }

    /** "DIRECTORY:VERSION" of each theme below @p directory (the name for others than Tiny),
     *  or "DIRECTORY:refused"; hidden directories are not read, as the library does not. */
    static QStringList versions(const QString &directory)
    {
        QStringList found;
        const QStringList entries
            = QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &entry : entries) {
            const EmoticonThemeDiagnosis diagnosis
                = EmoticonThemeFactory::diagnoseTheme(QDir(directory).filePath(entry));
            if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused) {
                found << entry + ":refused";
                continue;
            }
            const EmoticonTheme theme = diagnosis.theme();
            const int emoticons = theme.filePathToCodeSequenceMapping().size();
            found << entry + ':'
                    + (theme.themeUUID() != themeUUID ? theme.themeName()
                                                      : QStringLiteral("v%1").arg(emoticons - 1));
        }
        return found;
    }

    static QStringList staging(const QString &directory)
    {
        return QDir(directory).entryList(
            { ".glyphmorph-*" }, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const char *sub : { "home/.config", "themes", "runtime", "work", "out" })
            QVERIFY(QDir().mkpath(m_dir->filePath(QLatin1String(sub))));
        QFile::setPermissions(
            m_dir->filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!writeTheme(work() + "/v1", "Tiny", version(1)).isEmpty());
        QVERIFY(!writeTheme(work() + "/v2", "Tiny", version(2)).isEmpty());
        QVERIFY(!writeTheme(work() + "/v2", "Renamed", version(2)).isEmpty());
        QVERIFY(
            !writeTheme(work(), "Other", { "0f0f0f0f-2222-4b4b-8c8c-0123456789ab", {} }).isEmpty());
        QVERIFY(tar(work() + "/tiny-v1.tar", work() + "/v1", { "Tiny" }));
        QVERIFY(writeKde(work() + "/Kiwi",
            { { "face-smile", { ":)", ":-)" } }, { "face-wink", { ";)" } },
                { "face-grin", { ":D" } } }));
        QVERIFY(writePidgin(work() + "/Plum",
            "Name=Plum Smileys\n\n[default]\nsmile.png :) :-)\nwink.png ;)\n",
            { "smile", "wink" }));
    }

    // Killed at every point it passes, the tool leaves the old or the new version, never
    // neither or both where the file system exchanges directories; the next command finishes or
    // undoes what it left, succeeds, and leaves no staging.
    void killedAtEveryStep_data()
    {
        // A kill proves what the file system is left with, which the sanitizers do not judge,
        // and costs two tool runs each, several times slower under them: the build without them
        // kills.
        if (qEnvironmentVariableIsSet("GLYPHMORPH_TEST_WITHOUT_KILLS"))
            QSKIP("kills are tested by the build without sanitizers");
        QTest::addColumn<QStringList>("setUp");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("hook");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("wholeAtOnce"); // old or new version even before the next command
        const auto row
            = [](const char *name, const QString &setUp, const QString &command, const char *hook,
                  const QString &before, const QString &after, bool wholeAtOnce) {
                  QTest::newRow(name)
                      << setUp.split('|', Qt::SkipEmptyParts) << command.split('|')
                      << QString::fromLatin1(hook) << before.split('|', Qt::SkipEmptyParts)
                      << after.split('|', Qt::SkipEmptyParts) << wholeAtOnce;
              };
        row("install of an archive", "", "install|$WORK/tiny-v1.tar", "", "", "Tiny:v1", true);
        row("install of a KDE theme", "", "install|$WORK/Kiwi", "", "", "Kiwi:Kiwi", true);
        row("replace under the same name", "install|$WORK/v1/Tiny",
            "install|--replace|$WORK/v2/Tiny", "", "Tiny:v1", "Tiny:v2", true);
        row("replace under another name", "install|$WORK/v1/Tiny",
            "install|--replace|$WORK/v2/Renamed", "", "Tiny:v1", "Renamed:v2", true);
        row("replace under the same name, without exchange", "install|$WORK/v1/Tiny",
            "install|--replace|$WORK/v2/Tiny", "no-exchange", "Tiny:v1", "Tiny:v2", false);
        row("replace under another name, without exchange", "install|$WORK/v1/Tiny",
            "install|--replace|$WORK/v2/Renamed", "no-exchange", "Tiny:v1", "Renamed:v2", false);
        row("remove", "install|$WORK/v1/Tiny", "remove|" + themeUUID, "", "Tiny:v1", "", true);
        row("import", "", "import|$WORK/Kiwi|-o|$OUT", "", "", "Kiwi:Kiwi", true);
    }

    void killedAtEveryStep()
    {
        QFETCH(QStringList, setUp);
        QFETCH(QStringList, command);
        QFETCH(QString, hook);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(bool, wholeAtOnce);
        const bool import = command.first() == QLatin1String("import");
        const QString changed = import ? out() : root();
        for (QStringList *arguments : { &setUp, &command })
            arguments->replaceInStrings("$WORK", work()).replaceInStrings("$OUT", out());
        // The next command: another theme, which must go in whatever was left.
        const QStringList next = import ? QStringList { "import", work() + "/Plum", "-o", out() }
                                        : QStringList { "install", work() + "/Other" };
        const QString nextTheme = import ? "Plum-Smileys:Plum Smileys"
                                         : "Other:Theme 0f0f0f0f-2222-4b4b-8c8c-0123456789ab";
        const QString hooks = hook.isEmpty() ? QString() : hook + ',';
        const auto reset = [&] {
            for (const QString &directory : { root(), out() })
                QVERIFY(QDir(directory).removeRecursively() && QDir().mkpath(directory));
            if (!setUp.isEmpty())
                QCOMPARE(run(setUp).exitCode, 0);
        };
        // The version counts; a replacement under another name may stand under the old name for
        // a moment.
        const auto withoutDirectories = [](QStringList states) {
            for (QString &state : states)
                state = state.section(':', 1);
            return states;
        };
        // One run to its end, telling every point it passes; then a kill at each passing.
        reset();
        const Result traced = run(command, hooks + "trace");
        QVERIFY2(traced.exitCode == 0, qPrintable(traced.err));
        QCOMPARE(versions(changed), after);
        QMap<QString, int> passed;
        const QRegularExpression tracedPoint(
            "^glyphmorph: test point: (\\S+)$", QRegularExpression::MultilineOption);
        for (auto match = tracedPoint.globalMatch(traced.err); match.hasNext();)
            ++passed[match.next().captured(1)];
        int kills = 0;
        for (auto point = passed.cbegin(); point != passed.cend(); ++point) {
            for (int n = 1; n <= point.value(); ++n, ++kills) {
                reset();
                const QString at = QStringLiteral("%1#%2").arg(point.key()).arg(n);
                const Result killed = run(command, hooks + "kill:" + at);
                QVERIFY2(killed.killed, qPrintable(at + ": " + killed.err));
                const QStringList found = withoutDirectories(versions(changed));
                QVERIFY2(!wholeAtOnce || found == withoutDirectories(before)
                        || found == withoutDirectories(after),
                    qPrintable(at + ": " + found.join(", ")));
                const Result recovered = run(next);
                QVERIFY2(recovered.exitCode == 0, qPrintable(at + ": " + recovered.err));
                QStringList now = versions(changed);
                QVERIFY2(now.removeOne(nextTheme), qPrintable(at + ": " + now.join(", ")));
                QVERIFY2(now == before || now == after, qPrintable(at + ": " + now.join(", ")));
                QVERIFY2(staging(changed).isEmpty(),
                    qPrintable(at + ": " + staging(changed).join(", ")));
            }
        }
        // No point went untaken; every row has points inside the change itself, beyond the lock
        // and the staging.
        QCOMPARE(kills, int(traced.err.count("test point: ")));
        QVERIFY2(kills >= 5, qPrintable(QString::number(kills)));
        m_kills += kills;
        qInfo("%d kills", kills);
    }

    void killCount()
    {
        if (qEnvironmentVariableIsSet("GLYPHMORPH_TEST_WITHOUT_KILLS"))
            QSKIP("kills are tested by the build without sanitizers");
        QVERIFY2(m_kills >= 100, qPrintable(QString::number(m_kills)));
    }

    // On a file system that fills up, the tool says so, publishes nothing and leaves nothing
    // half written: for every amount of free space, from none to enough.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("command"); // for the shell
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("converts");
        QTest::newRow("install, converting") << R"("$TOOL" install "$WORK/Noise")"
                                             << "themes/Noise/Noise.xml" << true;
        QTest::newRow("install of a theme directory") << R"("$TOOL" install "$WORK/Native/Noise")"
                                                      << "themes/Noise/Noise.xml" << false;
        QTest::newRow("replace") << R"("$TOOL" install "$WORK/v1/Tiny" >/dev/null || exit 98; )"
                                    R"("$TOOL" install --replace "$WORK/Native/Tiny")"
                                 << "themes/Tiny/a.png" << false;
        QTest::newRow("import") << R"("$TOOL" import "$WORK/Noise" -o "$MOUNT/out")"
                                << "out/Noise/Noise.xml" << true;
    }

    void fullDisk()
    {
        QFETCH(QString, command);
        QFETCH(QString, published);
        QFETCH(bool, converts);
        const QString mount = m_dir->filePath("mount");
        QVERIFY(QDir().mkpath(mount));
        // A tmpfs of its own in a mount namespace of its own, gone when the run ends.
        QProcess probe;
        probe.start(
            "unshare", { "-rm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs \"$0\"", mount });
        if (finish(probe).exitCode != 0)
            QSKIP("no tmpfs can be mounted here (unshare -rm and mount -t tmpfs are needed)");
        // Three images of noise, about 64 KiB each as PNG; as GIF-named sources of a KDE theme
        // they are converted, in a native theme copied.
        const QStringList images = { "a", "b", "c" };
        QVERIFY(writeKde(
            work() + "/Noise", { { "a", { ":a" } }, { "b", { ":b" } }, { "c", { ":c" } } }, false));
        QVERIFY(!writeTheme(work() + "/Native", "Noise",
            { "0e0e0e0e-3333-4c4c-8d8d-0123456789ab", {}, images }, false)
                     .isEmpty());
        QVERIFY(
            !writeTheme(work() + "/Native", "Tiny", { themeUUID, {}, images }, false).isEmpty());
        for (const QString &image : images) {
            for (const QString &file : { "Noise/" + image + ".gif",
                     "Native/Noise/" + image + ".png", "Native/Tiny/" + image + ".png" })
                QVERIFY(writeNoise(work() + '/' + file, 128, image.at(0).unicode()));
        }

        int full = 0;
        int done = 0;
        bool convertingFailed = false;
        for (int kib = 32; kib <= 1024 && done == 0; kib += 32) {
            const QString script
                = QStringLiteral("mount -t tmpfs -o size=%1k tmpfs \"$MOUNT\" && mkdir "
                                 "\"$MOUNT/themes\" || exit 99\n%2\ncode=$?\n"
                                 "(cd \"$MOUNT\" && find . -mindepth 1 | sort) > \"$LISTING\"\n"
                                 "exit $code\n")
                      .arg(kib)
                      .arg(command);
            QProcess process;
            prepare(process, {});
            QProcessEnvironment environment = process.processEnvironment();
            environment.insert("MOUNT", mount);
            environment.insert("WORK", work());
            environment.insert("TOOL", QStringLiteral(GLYPHMORPH_TOOL_PATH));
            environment.insert("LISTING", work() + "/listing");
            environment.insert("GLYPHMORPH_THEMES_ROOT", mount + "/themes");
            process.setProcessEnvironment(environment);
            process.start("unshare", { "-rm", "sh", "-c", script });
            const Result result = finish(process);
            const QStringList listing
                = QString::fromUtf8(readBytes(work() + "/listing")).split('\n', Qt::SkipEmptyParts);
            const QString where = QStringLiteral("%1 KiB: %2 %3\n%4")
                                      .arg(kib)
                                      .arg(result.exitCode)
                                      .arg(result.err, listing.join(' '));
            QVERIFY2(result.exitCode != 99 && result.exitCode != 98, qPrintable(where));
            QVERIFY2(listing.filter(".glyphmorph-install").isEmpty()
                    && listing.filter(".glyphmorph-import").isEmpty(),
                qPrintable(where));
            if (result.exitCode == 0) {
                ++done;
                QVERIFY2(listing.contains("./" + published), qPrintable(where));
                continue;
            }
            ++full;
            QVERIFY2(result.exitCode == 1 && result.err.contains("no space left on device")
                    && !result.err.contains("Unknown error"),
                qPrintable(where));
            // Named where it would have gone.
            convertingFailed = convertingFailed
                || QRegularExpression("/(themes|out)/Noise/[a-z]\\.png cannot be written: no space")
                       .match(result.err)
                       .hasMatch();
            if (!command.contains("--replace")) {
                QVERIFY2(
                    listing.filter(QRegularExpression("^\\./(themes|out)/[^/.][^/]*$")).isEmpty(),
                    qPrintable(where));
            } else {
                // The old version, whole.
                QVERIFY2(listing.contains("./themes/Tiny/Tiny.xml")
                        && !listing.contains("./themes/Tiny/a.png"),
                    qPrintable(where));
            }
        }
        QVERIFY2(full > 0 && done > 0,
            qPrintable(QStringLiteral("%1 full, %2 done").arg(full).arg(done)));
        QVERIFY(convertingFailed || !converts);
    }

    // Two installs of one theme under two directory names: the second waits for the first and
    // then finds the theme installed.
    void concurrentInstallsOfOneTheme()
    {
        QVERIFY(!writeTheme(work() + "/a", "Alpha", version(1)).isEmpty());
        QVERIFY(!writeTheme(work() + "/b", "Beta", version(2)).isEmpty());
        QProcess first;
        QVERIFY(startStopped(first, { "install", work() + "/a/Alpha" }, "decided"));
        QProcess second;
        prepare(second, { "install", work() + "/b/Beta" });
        second.start();
        const QString waiting
            = readUntil(second, QProcess::StandardError, "waiting for another glyphmorph");
        QVERIFY2(second.state() == QProcess::Running, qPrintable(waiting));
        QVERIFY2(waiting.contains("waiting for another glyphmorph that changes " + root()),
            qPrintable(waiting));
        QCOMPARE(::kill(pid_t(first.processId()), SIGCONT), 0);
        const Result a = finish(first);
        const Result b = finish(second);
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(b.exitCode, 8);
        QVERIFY2(b.err.contains("is installed already"), qPrintable(b.err));
        QCOMPARE(versions(root()), QStringList { "Alpha:v1" });
    }

    // use judges the setting by its own write, not by what the store holds later.
    void useJudgesItsOwnWrite()
    {
        for (const char *name : { "Seven", "Eight" })
            QVERIFY(!writeTheme(root(), name,
                { QStringLiteral("u%1").arg(QLatin1String(name)),
                    {} }).isEmpty());
        QProcess use;
        QVERIFY(startStopped(use, { "use", "Seven" }, "use-written"));
        // Another writer, after the write and before any read-back.
        QCOMPARE(run({ "use", "uEight" }).exitCode, 0);
        QCOMPARE(::kill(pid_t(use.processId()), SIGCONT), 0);
        const Result result = finish(use);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(result.out, QStringLiteral("current theme: Theme uSeven (uSeven)\n"));

        // A store that cannot be written.
        QVERIFY(QDir(home() + "/.config").removeRecursively());
        QVERIFY(writeBytes(home() + "/.config", "not a directory"));
        const Result unstored = run({ "use", "uSeven" });
        QCOMPARE(unstored.exitCode, 1);
        QVERIFY2(
            unstored.err.contains("the setting could not be stored"), qPrintable(unstored.err));
    }

    // What install, import, remove, check and themes say; $DATA holds the archives of
    // tests/data, $WORK is the scratch directory, $ROOT the themes root, $OUT the directory
    // imports go to.
    void messages_data()
    {
        // Arguments, texts and files are separated by "|".
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // each in standard output or error
        QTest::addColumn<QString>("unsaid");
        QTest::addColumn<QString>("files"); // that exist afterwards; "!" first: that do not
        QTest::addColumn<QString>("before"); // a command run first, if any
        const auto row = [](const char *name, const QString &command, int exitCode,
                             const QString &said, const QString &unsaid = QString(),
                             const QString &files = QString(), const QString &before = QString()) {
            QTest::newRow(name) << command << exitCode << said << unsaid << files << before;
        };
        // Archives of every kind; hostile ones leave nothing behind, in the root or outside.
        for (const char *archive :
            { "tiny.zip", "tiny.tar", "tiny.tar.gz", "tiny.tar.xz", "tiny.tar.bz2" })
            row(archive, "install|$DATA/" + QLatin1String(archive), 0, "installed: 'Tiny'", "",
                "$ROOT/Tiny/Tiny.xml");
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
        for (const auto &archive : hostile)
            row(archive[0], "install|$DATA/" + QLatin1String(archive[0]), 1, archive[1], "",
                "!$ROOT/Tiny|!$ROOT/../escaped.txt|!/tmp/glyphmorph-absolute.txt");
        row("replaced", "install|$DATA/tiny.tar|--replace", 0, "replacing the earlier version", "",
            "$ROOT/Tiny/Tiny.xml", "install|$DATA/tiny.zip");
        row("KDE archive", "install|$DATA/kde-kiwi.zip", 0,
            "Kiwi/emoticons.xml: line 11: code \"8-)\" of face-glasses left out: the emoticon on "
            "line 7 has it",
            "", "$ROOT/Kiwi");
        row("Pidgin directory", "install|$DATA/../themes-import/Plum", 0,
            "installed: 'Plum Smileys'", "", "$ROOT/Plum-Smileys");
        row("Pidgin archive imported, not installed", "import|$DATA/pidgin-plum.tar.gz|-o|$OUT", 0,
            "imported: $OUT/Plum-Smileys", "",
            "$OUT/Plum-Smileys/Plum-Smileys.xml|!$ROOT/Plum-Smileys");
        // Output the library would refuse or cut short.
        row("import of more emoticons than a description holds", "import|$WORK/Huge|-o|$OUT", 0,
            "emoticons from here on left out: a theme's description has at most 4 MiB|"
            "$WORK/Huge/emoticons.xml: line 4: code \"xxxxxxxxxxxxxxxxxxxx…\" (100000 characters) "
            "left out: codes have at most 256 characters|left out: ",
            "", "$OUT/Huge/Huge.xml");
        row("install of a code too long", "install|$WORK/Long", 0,
            "warning: $WORK/Long/emoticons.xml: line 5: code|installed: 'Long'|(left out: 1 code;");
        row("check of a code too long", "check|$WORK/Longer", 0,
            "warning: $WORK/Longer: line 5: a code of 300 characters is left out: codes have at "
            "most 256|accepted: ");
        // Images that would share a name.
        row("images of one name", "import|$WORK/Colliding|-o|$OUT", 0, "imported: ", "",
            "$OUT/Colliding/a.png|$OUT/Colliding/a-2.png|$OUT/Colliding/x-y.png|"
            "$OUT/Colliding/x-y-2.png");
        // Layouts.
        row("archive with ./ entries", "install|$WORK/dot.tar", 0, "installed: 'Theme ", "",
            "$ROOT/Tiny/Tiny.xml");
        row("hidden theme directory", "install|$WORK/hidden.tar", 0,
            "warning: the theme directory '.Tiny' is hidden|installed: ", "",
            "$ROOT/Tiny/Tiny.xml|!$ROOT/.Tiny");
        row("flat KDE archive", "install|$WORK/konqi.tar", 0, "installed: 'konqi'", "source",
            "$ROOT/konqi/konqi.xml");
        row("flat Pidgin archive", "install|$WORK/plum.tar", 0, "installed: 'Plum Smileys'",
            "source", "$ROOT/Plum-Smileys");
        row("archive of two themes", "install|$WORK/two.tar", 1,
            "$WORK/two.tar holds more than one theme: Kiwi, Plum");
        // Names that would forge lines.
        row("install of a name with a line feed", "install|$WORK/Forged", 0,
            "installed: 'Evil\\nremoved  343a7f65", "\nremoved");
        row("themes of a name with a line feed", "themes", 0, "Evil\\nremoved", "\nremoved", "",
            "install|$WORK/Forged");
        row("watch of a name with a line feed", "watch", 0,
            "present  u666  'Evil\\nremoved  343a7f65", "\nremoved", "", "install|$WORK/Forged");
        // Diagnostics.
        row("install of a theme with an image missing", "install|$WORK/Gone", 7,
            "refused: $WORK/Gone: image files missing:\n  gone.png (for :gone:)");
        row("install warnings as check prints them", "install|$WORK/Dup", 0,
            "warning: $WORK/Dup: line 9: the code ':smile:' is also the emoticon's on line 3");
        row("Pidgin code with a control character", "import|$WORK/Ctrl|-o|$OUT", 0,
            "$WORK/Ctrl/theme: line 5: code \"\\x01x\" left out: it has a control character|"
            "imported: $OUT/Ctrl: 'Ctrl'",
            "Unknown error");
        row("Pidgin file with a NUL", "import|$WORK/Nul|-o|$OUT", 0,
            "code \"\\x00\" left out: it has a control character|, 2 emoticons (left out: 1 code",
            "no [default] section");
        row("Pidgin file in UTF-16", "import|$WORK/Wide|-o|$OUT", 0,
            "imported: $OUT/Wide-Smileys: 'Wide Smileys'|, 2 emoticons");
        row("Pidgin file without [default]", "import|$WORK/None|-o|$OUT", 1,
            "$WORK/None/theme has no [default] section", "/tmp/glyphmorph-|.glyphmorph-import");
        row("Pidgin archive without [default]", "import|$WORK/none.tar|-o|$OUT", 1,
            "$WORK/none.tar:None/theme has no [default] section", ".glyphmorph-import");
        row("duplicate code of one emoticon", "import|$WORK/Twice|-o|$OUT", 0,
            "code \":)\" is given twice for the same emoticon", "an earlier emoticon");
        row("one emoticon", "check|$WORK/One", 0, ", 1 emoticon\n");
        // Names.
        row("remove of an installed theme named Default", "remove|Default", 0,
            "removed: 'Default' (u8)", "", "!$ROOT/Def", "install|$WORK/Def");
        row("remove of the built-in theme by name", "remove|Default", 1,
            "the built-in theme cannot be removed");
    }

    void messages()
    {
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(QString, unsaid);
        QFETCH(QString, files);
        QFETCH(QString, before);
        makeFixtures();
        const auto expand = [&](QString text) {
            return text.replace("$DATA", QString::fromUtf8(GLYPHMORPH_TEST_DATA "/archives"))
                .replace("$WORK", work())
                .replace("$OUT", out())
                .replace("$ROOT", root())
                .split('|', Qt::SkipEmptyParts);
        };
        if (!before.isEmpty())
            QCOMPARE(run(expand(before)).exitCode, 0);
        const QStringList arguments = expand(command);
        Result result;
        if (arguments.first() == QLatin1String("watch")) {
            QProcess watcher;
            prepare(watcher, arguments);
            watcher.start();
            const QString seen = readUntil(watcher, QProcess::StandardOutput, "watching ");
            watcher.terminate();
            result = finish(watcher);
            result.out = seen + result.out;
        } else {
            result = run(arguments);
        }
        const QString all = result.out + result.err;
        QVERIFY2(result.exitCode == exitCode, qPrintable(all));
        for (const QString &text : expand(said))
            QVERIFY2(all.contains(text), qPrintable(text + " not in:\n" + all));
        for (const QString &text : expand(unsaid))
            QVERIFY2(!all.contains(text), qPrintable(text + " in:\n" + all));
        for (const QString &file : expand(files)) {
            const bool absent = file.startsWith('!');
            QVERIFY2(QFileInfo::exists(file.mid(absent ? 1 : 0)) != absent, qPrintable(file));
        }
        if (arguments.first() == QLatin1String("import") && exitCode == 0) {
            // The library takes what import wrote.
            const QString written
                = QDir(out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
            const Result check = run({ "check", out() + '/' + written });
            QVERIFY2(check.exitCode == 0, qPrintable(check.err));
        }
        // Whatever happened, the root holds whole themes only.
        QVERIFY2(!versions(root()).join(' ').contains(":refused"),
            qPrintable(versions(root()).join(' ')));
        QVERIFY(staging(root()).isEmpty() && staging(out()).isEmpty());
    }

private:
    /** The sources the messages are about, in $WORK. */
    void makeFixtures()
    {
        const QString w = work();
        QVERIFY(writeKde(w + "/Long", { { "face", { ":)", QString(300, 'y') } } }));
        QVERIFY(writeEdited(w, "Longer", { "u3", {} }, ":smile:</charactercode>",
            ":smile:</charactercode>\n<charactercode>" + QByteArray(300, 'z')
                + "</charactercode>"));
        QVERIFY(writeKde(w + "/Colliding",
            { { "a.png", { ":a" } }, { "a.gif", { ":b" } }, { "x y.png", { ":c" } },
                { "x-y.png", { ":d" } } },
            false));
        QImage gif(20, 20, QImage::Format_ARGB32);
        gif.fill(Qt::red);
        QVERIFY(writeImage(w + "/Colliding/a.png") && writeImage(w + "/Colliding/x y.png")
            && writeImage(w + "/Colliding/x-y.png") && gif.save(w + "/Colliding/a.gif", "PNG"));
        QVERIFY(!writeTheme(w + "/hidden", ".Tiny", version(1)).isEmpty());
        QVERIFY(tar(w + "/hidden.tar", w + "/hidden", { ".Tiny" }));
        QVERIFY(tar(w + "/dot.tar", w + "/v1/Tiny", { "." }));
        QVERIFY(tar(w + "/konqi.tar", w + "/Kiwi", { "." }));
        QVERIFY(tar(w + "/plum.tar", w + "/Plum", { "." }));
        QVERIFY(tar(w + "/two.tar", w, { "Kiwi", "Plum" }));
        QVERIFY(writeEdited(w, "Forged", { "u666", {} }, "theme_name=\"Theme u666\"",
            "theme_name=\"Evil&#10;removed  343a7f65-0095-4eae-8fc2-87af7f3bf5158  'Default'  "
            "built in\""));
        QVERIFY(!writeTheme(w, "Gone", { "u4", {}, { "smile", "gone" } }).isEmpty());
        QVERIFY(QFile::remove(w + "/Gone/gone.png"));
        QVERIFY(writeEdited(w, "Dup", { "u5", {}, { "smile", "wink" } }, ":wink:</charactercode>",
            ":wink:</charactercode>\n<charactercode>:smile:</charactercode>"));
        QVERIFY(writePidgin(w + "/Ctrl",
            "Name=Ctrl\n\n[default]\nsmile.png :)\nwink.png ;) \x01x\n", { "smile", "wink" }));
        QVERIFY(writePidgin(w + "/Nul",
            QByteArray("Name=Nul\n[default]\nsmile.png :) \0\nwink.png ;)\n", 46),
            { "smile", "wink" }));
        QVERIFY(writePidgin(w + "/Wide",
            utf16("Name=Wide Smileys\r\n[default]\r\nsmile.png :) \xc3\xa9:)\r\nwink.png ;)\r\n"),
            { "smile", "wink" }));
        QVERIFY(writePidgin(w + "/None", "Name=None\n[other]\nsmile.png :)\n", { "smile" }));
        QVERIFY(tar(w + "/none.tar", w, { "None" }));
        QVERIFY(writeKde(w + "/Twice", { { "face", { ":)", ":-)", ":)" } } }));
        QVERIFY(!writeTheme(w, "One", { "u1", {}, { "smile" } }).isEmpty());
        // Two-character codes keep within the codes' budget; their emoticons do not fit 4 MiB.
        QList<QPair<QString, QStringList>> emoticons;
        emoticons.append({ "face", { QString(100000, 'x'), ":)" } });
        for (int i = 0; i < 25000; ++i)
            emoticons.append(
                { "face", { QString(QChar(0x4e00 + i / 160)) + QChar(0x4e00 + i % 160) } });
        QVERIFY(writeKde(w + "/Huge", emoticons));
        QVERIFY(writeEdited(
            w, "Def", { "u8", {} }, "theme_name=\"Theme u8\"", "theme_name=\"Default\""));
    }
};

GLYPHMORPH_TEST_MAIN(GlyphmorphInstallTest)
#include "glyphmorphinstalltest.moc"
