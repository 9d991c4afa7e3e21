// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The glyphmorph tool, run as a user runs it: every run with a home and a themes root of its own.
#include "testenvironment.h"
#include "themedirectory.h"

#include <glyphmorph_version.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

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
} // namespace

class GlyphmorphToolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void commandLine_data();
    void commandLine();
    void check_data();
    void check();
    void useAndThemes();
    void page();
    void watch();

private:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    void prepare(QProcess &process) const;
    Result run(const QStringList &arguments, const QByteArray &input = QByteArray()) const;
    QString home() const { return m_dir->filePath(QStringLiteral("home")); }
    QString root() const { return m_dir->filePath(QStringLiteral("themes")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void GlyphmorphToolTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const QString &sub : { QStringLiteral("home/.config"), QStringLiteral("themes"),
             QStringLiteral("runtime"), QStringLiteral("work") })
        QVERIFY(QDir().mkpath(m_dir->filePath(sub)));
    QFile::setPermissions(m_dir->filePath(QStringLiteral("runtime")),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void GlyphmorphToolTest::prepare(QProcess &process) const
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

GlyphmorphToolTest::Result GlyphmorphToolTest::run(
    const QStringList &arguments, const QByteArray &input) const
{
    QProcess process;
    prepare(process);
    process.setArguments(arguments);
    process.start();
    Result result;
    if (!process.waitForStarted())
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void GlyphmorphToolTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // "=" first: all of standard output; else a part of it
    QTest::addColumn<QString>("err");

    const QString heart = imageTag(QStringLiteral("$HOME"), "heart");
    const QString happy = imageTag(QStringLiteral("$HOME"), "happy");
    QTest::newRow("version") << QStringList { QStringLiteral("--version") } << QByteArray() << 0
                             << QStringLiteral("=glyphmorph " GLYPHMORPH_VERSION_STRING "\n")
                             << QString();
    QTest::newRow("no command renders a sample")
        << QStringList() << QByteArray() << 0
        << QStringLiteral("Hi ") + happy + QStringLiteral(" see")
        << QStringLiteral("'glyphmorph --help'");
    QTest::newRow("help lists commands and exit codes")
        << QStringList { QStringLiteral("--help") } << QByteArray() << 0
        << QStringLiteral("  watch    print themes") << QString();
    QTest::newRow("command help") << QStringList { QStringLiteral("html"),
        QStringLiteral("--help") } << QByteArray()
                                  << 0
                                  << QStringLiteral("Usage: glyphmorph html [options] [TEXT...]")
                                  << QString();
    QTest::newRow("html from arguments")
        << QStringList { QStringLiteral("html"), QStringLiteral("I"), QStringLiteral("<3 it") }
        << QByteArray() << 0 << QStringLiteral("=I ") + heart + QStringLiteral(" it\n")
        << QString();
    QTest::newRow("html from standard input, final line end dropped")
        << QStringList { QStringLiteral("html") } << QByteArray("a :)\nb\n") << 0
        << QStringLiteral("=a ") + happy + QStringLiteral("<br>b\n") << QString();
    QTest::newRow("html line break with \\n")
        << QStringList { QStringLiteral("html"), QStringLiteral("--line-break"),
               QStringLiteral("<br/>\\n"), QStringLiteral("a\n:)") }
        << QByteArray() << 0 << QStringLiteral("=a<br/>\n") + happy + QStringLiteral("\n")
        << QString();
    QTest::newRow("html escaped text keeps its codes")
        << QStringList { QStringLiteral("html"), QStringLiteral("--escape"),
               QStringLiteral("<b> <3") }
        << QByteArray() << 0 << QStringLiteral("=&lt;b&gt; ") + heart + QStringLiteral("\n")
        << QString();
    QTest::newRow("plain from standard input")
        << QStringList { QStringLiteral("plain") }
        << QByteArray("x <img src='a.png' alt=':)' width='20' height='20'><br>y") << 0
        << QStringLiteral("=x :)\ny\n") << QString();
    QTest::newRow("plain of a missing file")
        << QStringList { QStringLiteral("plain"), QStringLiteral("/nonexistent/file.html") }
        << QByteArray() << 1 << QString() << QStringLiteral("cannot read /nonexistent/file.html");
    QTest::newRow("plain of two files")
        << QStringList { QStringLiteral("plain"), QStringLiteral("a"), QStringLiteral("b") }
        << QByteArray() << 2 << QStringLiteral("=") << QStringLiteral("plain reads one file");
    QTest::newRow("unknown command")
        << QStringList { QStringLiteral("frobnicate") } << QByteArray() << 2 << QStringLiteral("=")
        << QStringLiteral("unknown command 'frobnicate'");
    QTest::newRow("unknown option")
        << QStringList { QStringLiteral("html"), QStringLiteral("--bogus") } << QByteArray() << 2
        << QStringLiteral("=") << QStringLiteral("bogus");
    QTest::newRow("option without its value")
        << QStringList { QStringLiteral("html"), QStringLiteral("--account") } << QByteArray() << 2
        << QStringLiteral("=") << QStringLiteral("account");
    QTest::newRow("use of an unknown theme")
        << QStringList { QStringLiteral("use"), QStringLiteral("nope") } << QByteArray() << 1
        << QStringLiteral("=") << QStringLiteral("no registered theme has the UUID 'nope'");
    QTest::newRow("use without a theme")
        << QStringList { QStringLiteral("use") } << QByteArray() << 2 << QStringLiteral("=")
        << QStringLiteral("exactly one");
    QTest::newRow("check of two directories")
        << QStringList { QStringLiteral("check"), QStringLiteral("a"), QStringLiteral("b") }
        << QByteArray() << 2 << QStringLiteral("=") << QStringLiteral("exactly one");
    QTest::newRow("watch of a missing root")
        << QStringList { QStringLiteral("--themes-root"), QStringLiteral("/nonexistent"),
               QStringLiteral("watch") }
        << QByteArray() << 1 << QStringLiteral("=")
        << QStringLiteral("the themes root /nonexistent is not a directory");
}

void GlyphmorphToolTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    out.replace(QStringLiteral("$HOME"), home());

    const Result result = run(arguments, input);
    QCOMPARE(result.exitCode, exitCode);
    if (out.startsWith(QLatin1Char('=')))
        QCOMPARE(result.out, out.mid(1));
    else
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
}

void GlyphmorphToolTest::check_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("xmlName");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QByteArray>("installed"); // a theme in the root before the check
    QTest::addColumn<bool>("inRoot"); // the checked directory is itself installed
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString smile = QStringLiteral("Smile.xml");
    const QStringList both = { QStringLiteral("smile"), QStringLiteral("wink") };
    const QByteArray good = themeXml({ QStringLiteral("u1"), QString() });
    const QByteArray none;
    QTest::newRow("accepted") << good << smile << both << none << false << 0
                              << QStringLiteral("'Theme u1' (u1), 2 emoticons");
    QTest::newRow("accepted when it is the installed theme itself")
        << good << smile << both << none << true << 0 << QStringLiteral("(u1), 2 emoticons");
    QTest::newRow("no theme file of the directory's name")
        << good << QStringLiteral("Other.xml") << both << none << false << 3
        << QStringLiteral("Smile/Smile.xml (named after the directory); found Other.xml instead");
    QTest::newRow("not well-formed") << QByteArray(
        "<emoticon_theme theme_uuid='u' theme_name='n'>\n<emoticon>\n</emoticon_theme>")
                                     << smile << both << none << false << 4
                                     << QStringLiteral("not well-formed at line 3, column");
    QTest::newRow("entities declared")
        << QByteArray("<!DOCTYPE t [<!ENTITY e 'x'>]>") + good.mid(good.indexOf('\n')) << smile
        << both << none << false << 4 << QStringLiteral("declares entities");
    QTest::newRow("no UUID") << QByteArray(good).replace("theme_uuid=\"u1\"", "") << smile << both
                             << none << false << 5 << QStringLiteral("lacks a UUID (theme_uuid)");
    QTest::newRow("no name") << QByteArray(good).replace("theme_name=\"Theme u1\"", "") << smile
                             << both << none << false << 5
                             << QStringLiteral("lacks a name (theme_name)");
    QTest::newRow("no emoticon with a small image")
        << QByteArray("<emoticon_theme theme_uuid='u' theme_name='n'><emoticon><charactercode "
                      "default='true'>:x:</charactercode><file size='m'>smile.png</file>"
                      "</emoticon></emoticon_theme>")
        << smile << both << none << false << 6
        << QStringLiteral("line 1: the emoticon ':x:' has no small image");
    QTest::newRow("one emoticon without a small image")
        << QByteArray(good).replace("<file size=\"s\">wink.png</file>", "") << smile << both << none
        << false << 6 << QStringLiteral("line 9: the emoticon ':wink:' has no small image");
    QTest::newRow("image missing")
        << good << smile << QStringList { QStringLiteral("smile") } << none << false << 7
        << QStringLiteral("image files missing:\n  wink.png (for :wink:)");
    QTest::newRow("UUID taken") << good << smile << both
                                << themeXml({ QStringLiteral("u1"), QString() }) << false << 8
                                << QStringLiteral(
                                       "the UUID u1 is taken by the installed theme 'Theme u1'");
    QTest::newRow("service taken")
        << themeXml({ QStringLiteral("u1"), QStringLiteral("S") }) << smile << both
        << themeXml({ QStringLiteral("u2"), QStringLiteral("S") }) << false << 8
        << QStringLiteral("the service S is taken by the installed theme 'Theme u2'");
}

void GlyphmorphToolTest::check()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, xmlName);
    QFETCH(QStringList, images);
    QFETCH(QByteArray, installed);
    QFETCH(bool, inRoot);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    if (!installed.isEmpty()) {
        const QString other = root() + QStringLiteral("/Other");
        QVERIFY(QDir().mkpath(other));
        QVERIFY(writeBytes(other + QStringLiteral("/Other.xml"), installed));
        QVERIFY(writeImages(other, ThemeContent()));
    }
    const QString directory
        = (inRoot ? root() : m_dir->filePath(QStringLiteral("work"))) + QStringLiteral("/Smile");
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(writeBytes(directory + QLatin1Char('/') + xmlName, xml));
    ThemeContent files;
    files.images = images;
    QVERIFY(writeImages(directory, files));

    const Result result = run({ QStringLiteral("check"), directory });
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? result.out : result.err).contains(message),
        qPrintable(result.out + result.err));
}

void GlyphmorphToolTest::useAndThemes()
{
    const QString seven = writeTheme(root(), QStringLiteral("Seven"), { QStringLiteral("u7"), {} });
    QVERIFY(!seven.isEmpty());
    const auto themes = [this] {
        const Result result = run({ QStringLiteral("themes"), QStringLiteral("--json") });
        return result.exitCode == 0 ? QJsonDocument::fromJson(result.out.toUtf8()).object()
                                    : QJsonObject();
    };
    QJsonObject listing = themes();
    QCOMPARE(listing.value(QStringLiteral("current")).toString(), builtInUUID);
    const QJsonArray list = listing.value(QStringLiteral("themes")).toArray();
    QCOMPARE(list.size(), 2);
    const QJsonObject installed = list.at(0).toObject().value(QStringLiteral("uuid")) == builtInUUID
        ? list.at(1).toObject()
        : list.at(0).toObject();
    QCOMPARE(installed.value(QStringLiteral("uuid")).toString(), QStringLiteral("u7"));
    QCOMPARE(installed.value(QStringLiteral("emoticons")).toInt(), 2);
    QCOMPARE(installed.value(QStringLiteral("current")).toBool(), false);
    QCOMPARE(QFileInfo(installed.value(QStringLiteral("directory")).toString()).canonicalFilePath(),
        QFileInfo(seven).canonicalFilePath());
    QVERIFY(QFile::exists(installed.value(QStringLiteral("preview")).toString()));

    const Result use = run({ QStringLiteral("use"), QStringLiteral("u7") });
    QCOMPARE(use.exitCode, 0);
    QCOMPARE(use.out, QStringLiteral("current theme: Theme u7 (u7)\n"));
    QCOMPARE(themes().value(QStringLiteral("current")).toString(), QStringLiteral("u7"));
    QVERIFY(run({ QStringLiteral("themes") }).out.contains(QStringLiteral("* Theme u7 (current)")));
    // The chosen theme renders the text now.
    QVERIFY(run({ QStringLiteral("html"), QStringLiteral(":smile:") })
                .out.startsWith(QStringLiteral("<img src='%1/smile.png'").arg(seven)));
}

void GlyphmorphToolTest::page()
{
    const QString file = m_dir->filePath(QStringLiteral("page.html"));
    const Result result
        = run({ QStringLiteral("page"), QStringLiteral("-o"), file, QStringLiteral("<b> & :)") });
    QCOMPARE(result.exitCode, 0);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(written.readAll());
    QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    QVERIFY2(html.contains(QStringLiteral("&lt;b&gt; &amp; <img src='data:image/png;base64,")),
        qPrintable(html));
    const QRegularExpressionMatch image
        = QRegularExpression(QStringLiteral("base64,([^']+)'")).match(html);
    QVERIFY(!QImage::fromData(QByteArray::fromBase64(image.captured(1).toLatin1())).isNull());
}

void GlyphmorphToolTest::watch()
{
    QProcess watcher;
    prepare(watcher);
    watcher.setArguments({ QStringLiteral("watch") });
    watcher.start();
    QString out;
    const auto seen = [&](const QString &line) {
        out += QString::fromUtf8(watcher.readAllStandardOutput());
        return out.contains(line);
    };
    QTRY_VERIFY_WITH_TIMEOUT(seen(QStringLiteral("watching ") + root()), 30000);
    QVERIFY(out.contains(QStringLiteral("present  ") + builtInUUID));

    const QString late = writeTheme(root(), QStringLiteral("Late"), { QStringLiteral("u9"), {} });
    QTRY_VERIFY_WITH_TIMEOUT(seen(QStringLiteral("added    u9  'Theme u9'  ") + late), 15000);
    QCOMPARE(run({ QStringLiteral("use"), QStringLiteral("u9") }).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(seen(QStringLiteral("current  u9  'Theme u9'")), 15000);
    QVERIFY(QDir(late).removeRecursively());
    QTRY_VERIFY_WITH_TIMEOUT(seen(QStringLiteral("removed  u9")), 15000);
    // Removing the current theme sends the user back to the built-in theme.
    QTRY_VERIFY_WITH_TIMEOUT(seen(QStringLiteral("current  ") + builtInUUID), 15000);

    watcher.terminate();
    QVERIFY(watcher.waitForFinished(30000));
    QCOMPARE(watcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watcher.exitCode(), 0);
}

GLYPHMORPH_TEST_GUILESS_MAIN(GlyphmorphToolTest)
#include "glyphmorphtooltest.moc"
