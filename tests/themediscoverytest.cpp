// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The discovery pipeline on real directories: the theme directories below the root, waiting for a
// theme, the time-out's lower bound, decoding the images, the one file-system watcher that all
// pending checks share, the duplicate rule and removal.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthemedirectorywatcher.h>
#include <emoticonthemeinspector.h>
#include <emoticonthemeresourceavailabilitychecker.h>
#include <emoticonthemeresourceavailabilitychecker_p.h>
#include <emoticonthemevalidationchecker.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

using namespace GlyphmorphTest;
using Checker = EmoticonThemeResourceAvailabilityChecker;
using Watcher = EmoticonThemeDirectoryWatcher;

namespace {

const int verdictWait = 20000;
const QString builtInUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QString emojiUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");

QString xmlPath(const QString &directory)
{
    return QDir(directory).filePath(QFileInfo(directory).fileName() + QStringLiteral(".xml"));
}

// The first argument of every emission: a path, or the theme's UUID.
QStringList firsts(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy) {
        const QVariant value = arguments.at(0);
        result << (value.userType() == qMetaTypeId<EmoticonTheme>()
                ? value.value<EmoticonTheme>().themeUUID()
                : value.toString());
    }
    return result;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The names, separated by spaces, as sorted absolute paths in @p dir.
QStringList absolute(const QDir &dir, const QString &names)
{
    QStringList result;
    for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
        result << dir.absoluteFilePath(name);
    return sorted(result);
}

// With inotify every file-system watcher is a kernel instance, and a user has only 128 of them.
// -1 where the process's descriptors cannot be listed.
int inotifyInstances()
{
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists())
        return -1;
    int count = 0;
    for (const QFileInfo &entry : descriptors.entryInfoList(QDir::AllEntries | QDir::System))
        count += entry.symLinkTarget().endsWith(QLatin1String("/anon_inode:inotify"));
    return count;
}

} // namespace

class ThemeDiscoveryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QPointer<Checker> m_victim;
    int m_baseline = -1;
    int m_themes = 0;

    QString freshName(const char *stem) { return stem + QString::number(++m_themes); }
    void deleteVictim() { delete m_victim; }

private Q_SLOTS:
    // Anything made once per process (settings watches, preview directory) is made before the
    // instances are counted.
    void initTestCase()
    {
        Checker(writeTheme(m_root.path(), "WarmUp", { "uuid-w", {} })).start();
        Checker(writeTheme(m_root.path(), "WarmUpPending", { "uuid-wp", {} }, false)).start();
        m_baseline = inotifyInstances();
    }

    void cleanup() { EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(0); }

    // Changes under a root that holds Alpha (with its description), Beta, a hidden directory and
    // a file, of which the theme directories are reported at first: "+D" makes the theme directory
    // D, "-D" removes D, "D>E" renames it, "!P" writes the file P beside and renames it over, as
    // editors and package managers do.
    void followsChanges_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("addedNames");
        QTest::addColumn<QString>("removedNames");
        const auto row
            = [](const char *name, const char *changes, const char *added, const char *removed) {
                  QTest::newRow(name) << QString(changes) << QString(added) << QString(removed);
              };
        // Both in one notification: the removal is not lost behind the addition.
        row("created and deleted", "-Alpha +Gamma", "Gamma", "Alpha");
        row("renamed", "Alpha>Delta", "Delta", "Alpha");
        // The same name, another theme: what was registered under it must go.
        row("replaced in one go", "-Alpha +Alpha", "Alpha", "Alpha");
        row("description renamed over the old one", "!Alpha/Alpha.xml", "Alpha", "Alpha");
        row("first description, an image", "!Beta/Beta.xml !Alpha/a.png", "", "");
    }

    void followsChanges()
    {
        QFETCH(QString, changes);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkdir("Alpha") && dir.mkdir("Beta") && dir.mkdir(".hidden"));
        QVERIFY(writeBytes(dir.filePath("Alpha/Alpha.xml"), "<a/>"));
        QVERIFY(writeBytes(dir.filePath("file.xml"), ""));
        Watcher watcher;
        QSignalSpy added(&watcher, &Watcher::themeDirectoryAdded);
        QSignalSpy removed(&watcher, &Watcher::themeDirectoryRemoved);
        // A second call reports everything again and removes nothing.
        for (int call = 0; call < 2; ++call) {
            watcher.setEmoticonThemeDirectoryPath(root.path());
            QVERIFY(watcher.isActive());
            QCOMPARE(sorted(firsts(added)), absolute(dir, "Alpha Beta"));
            QCOMPARE(removed.count(), 0);
            added.clear();
        }

        for (const QString &change : changes.split(' ')) {
            const QString name = change.mid(1);
            if (change.startsWith('-'))
                QVERIFY(QDir(dir.filePath(name)).removeRecursively());
            else if (change.startsWith('!'))
                QVERIFY(writeBytes(dir.filePath(name), "<c/>"));
            else if (change.startsWith('+'))
                QVERIFY(dir.mkdir(name)
                    && writeBytes(dir.filePath(name + '/' + name + ".xml"), "<b/>"));
            else
                QVERIFY(dir.rename(change.section('>', 0, 0), change.section('>', 1)));
        }

        // Every notification before the sentinel's has been handled once the sentinel is seen.
        QVERIFY(dir.mkdir("Sentinel"));
        QTRY_VERIFY(firsts(added).contains(dir.absoluteFilePath("Sentinel")));
        QFETCH(QString, addedNames);
        QFETCH(QString, removedNames);
        QCOMPARE(sorted(firsts(added)), absolute(dir, addedNames + " Sentinel"));
        QCOMPARE(sorted(firsts(removed)), absolute(dir, removedNames));
    }

    void waitsForTheWholeTheme_data()
    {
        QTest::addColumn<int>("xmlPercent"); // of the description, there at first
        QTest::addColumn<bool>("imagesFirst");
        QTest::addColumn<bool>("replaced");
        // The preview image was missing when the description was read.
        QTest::newRow("images after the description") << 100 << false << false;
        QTest::newRow("description after the images") << 0 << true << false;
        // Written in place in two steps: the first, unparsable state is no verdict yet.
        QTest::newRow("description written in part first") << 50 << true << false;
        // A check still pending for a removed directory holds the path: the new directory's
        // images must still be seen.
        QTest::newRow("directory replaced under a pending check") << 100 << false << true;
    }

    void waitsForTheWholeTheme()
    {
        QFETCH(int, xmlPercent);
        QFETCH(bool, imagesFirst);
        const ThemeContent content { QStringLiteral("uuid-") + QTest::currentDataTag(), {} };
        const QString name = freshName("Smile");
        const QString directory = QDir(m_root.path()).filePath(name);
        Checker old(directory);
        QFETCH(bool, replaced);
        if (replaced) {
            QVERIFY(!writeTheme(m_root.path(), name, content, false).isEmpty());
            old.start();
            QVERIFY(QDir(directory).removeRecursively());
        }
        QVERIFY(QDir().mkpath(directory));
        const QByteArray xml = themeXml(content);
        const int split = int(xml.size()) * xmlPercent / 100;
        const auto append = [&](const QByteArray &part) {
            QFile file(xmlPath(directory));
            return part.isEmpty()
                || (file.open(QIODevice::Append) && file.write(part) == part.size());
        };
        QVERIFY(append(xml.left(split)));
        QVERIFY(!imagesFirst || writeImages(directory, content));

        Checker checker(directory);
        QSignalSpy available(&checker, &Checker::resourcesAvailable);
        QSignalSpy unavailable(&checker, &Checker::resourcesUnavailable);
        checker.start();
        // Every row lacks a part at first: a verdict comes once it arrives.
        QCOMPARE(available.count(), 0);
        QTimer::singleShot(300, [&] {
            if (append(xml.mid(split)))
                writeImages(directory, content);
        });
        QTRY_COMPARE_WITH_TIMEOUT(available.count(), 1, verdictWait);
        QCOMPARE(unavailable.count(), 0);
        QCOMPARE(available.at(0).at(0).toString(), xmlPath(directory));
        QCOMPARE(available.at(0).at(1).value<EmoticonTheme>().themeUUID(), content.uuid);
        QCOMPARE(available.at(0).at(2).value<Checker *>(), &checker);
        QVERIFY(QFileInfo::exists(
            QDir::home().filePath(".emoticonthemepreview/preview_" + content.uuid + ".png")));
    }

    // Every kind of failure waits for the time-out, never less, side by side; the verdicts come in
    // the order asked for and name the description when there is one.
    void verdictsInRequestOrder()
    {
        const int timeout = 300;
        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(timeout);
        const QDir dir(m_root.path());
        const QString empty = dir.filePath(freshName("Empty"));
        const QString malformed = dir.filePath(freshName("Malformed"));
        QVERIFY(QDir().mkpath(empty) && QDir().mkpath(malformed));
        QVERIFY(writeBytes(xmlPath(malformed), "<emoticon_theme theme_uuid="));
        const QString complete = writeTheme(dir.path(), freshName("Complete"), { "uuid-c", {} });
        const QString noImages
            = writeTheme(dir.path(), freshName("NoImages"), { "uuid-n", {} }, false);
        const QString missing = dir.filePath(freshName("Missing"));

        EmoticonThemeValidationChecker checker;
        QSignalSpy valid(&checker, &EmoticonThemeValidationChecker::emoticonThemeIsValid);
        QSignalSpy invalid(&checker, &EmoticonThemeValidationChecker::emoticonThemeIsInvalid);
        // A timer of the same length started first fires first, however busy the machine: timers
        // run in the order of their deadlines. A verdict before it came before the time-out.
        QTimer timedOut;
        timedOut.setSingleShot(true);
        timedOut.setTimerType(Qt::PreciseTimer);
        int verdictsBeforeTimeOut = 0;
        connect(&checker, &EmoticonThemeValidationChecker::emoticonThemeIsInvalid, this,
            [&] { verdictsBeforeTimeOut += timedOut.isActive(); });
        timedOut.start(timeout);
        for (const QString &directory : { missing, empty, complete, malformed, noImages })
            checker.requestValidationCheck(directory);
        QCOMPARE(valid.count(), 1);
        QCOMPARE(checker.pendingCheckCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(invalid.count(), 4, verdictWait);
        QCOMPARE(verdictsBeforeTimeOut, 0);
        QCOMPARE(firsts(invalid),
            QStringList({ missing, empty, xmlPath(malformed), xmlPath(noImages) }));
        QCOMPARE(firsts(valid), QStringList { xmlPath(complete) });
        QCOMPARE(checker.pendingCheckCount(), 0);
    }

    // Only PNG images are decoded, whatever the case of their suffix; a PNG that is missing or
    // does not decode fails the theme.
    void checkResourceValidation_data()
    {
        QTest::addColumn<QString>("suffix"); // of the second image; the preview is a PNG
        QTest::addColumn<QByteArray>("content"); // "png", "text" or "missing"
        QTest::addColumn<bool>("valid");
        QTest::newRow("every PNG decodes") << ".png" << QByteArray("png") << true;
        QTest::newRow("a PNG does not decode") << ".png" << QByteArray("text") << false;
        QTest::newRow("a PNG is missing") << ".png" << QByteArray("missing") << false;
        QTest::newRow("suffix in capitals") << ".PNG" << QByteArray("text") << false;
        QTest::newRow("other formats are not decoded") << ".gif" << QByteArray("text") << true;
    }

    void checkResourceValidation()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, content);
        const QString name = freshName("Decoded");
        const ThemeContent theme { "uuid-" + name, {} };
        const QDir directory(QDir(m_root.path()).filePath(name));
        const QString second = theme.images.at(1) + suffix;
        QVERIFY(QDir().mkpath(directory.path()));
        QVERIFY(writeBytes(xmlPath(directory.path()),
            themeXml(theme).replace(theme.images.at(1).toLatin1() + ".png", second.toLatin1())));
        QVERIFY(writeImage(directory.filePath(theme.images.at(0) + ".png")));
        if (content == "png")
            QVERIFY(writeImage(directory.filePath(second))); // a PNG whatever the suffix
        else if (content == "text")
            QVERIFY(writeBytes(directory.filePath(second), "not an image"));

        Checker checker(directory.path());
        QVERIFY(checker.scanForXmlFile());
        QFETCH(bool, valid);
        QCOMPARE(checker.checkResourceValidation(), valid);
    }

    // The slot that a directory's change notification may be connected to scans again, and a
    // checker still gives one verdict only.
    void handleDirectoryChangedScansAgain()
    {
        const QString name = freshName("Rescanned");
        const ThemeContent content { "uuid-" + name, {} };
        const QString directory = writeTheme(m_root.path(), name, content, false);
        Checker checker(directory);
        QSignalSpy available(&checker, &Checker::resourcesAvailable);
        const auto changed = [&] {
            return QMetaObject::invokeMethod(&checker, "handleDirectoryChanged");
        };
        QVERIFY(changed());
        QCOMPARE(available.count(), 0);
        QVERIFY(writeImages(directory, content));
        QVERIFY(changed());
        QCOMPARE(available.count(), 1);
        QCOMPARE(available.at(0).at(0).toString(), xmlPath(directory));
        QVERIFY(changed());
        QCOMPARE(available.count(), 1);
    }

    void pendingChecksShareOneWatcher()
    {
        if (m_baseline < 0)
            QSKIP("the process's inotify instances cannot be counted here");
        const int themes = 150;
        auto *checker = new EmoticonThemeValidationChecker;
        QSignalSpy valid(checker, &EmoticonThemeValidationChecker::emoticonThemeIsValid);
        QSignalSpy invalid(checker, &EmoticonThemeValidationChecker::emoticonThemeIsInvalid);
        QStringList directories;
        for (int i = 0; i < themes; ++i) {
            const QString name = freshName("Many");
            directories << writeTheme(m_root.path(), name, { name, {} }, false);
            checker->requestValidationCheck(directories.last());
        }
        QCOMPARE(checker->pendingCheckCount(), themes);
        // One watcher for all of them, however many.
        QCOMPARE(inotifyInstances(), m_baseline + 1);

        QStringList completed;
        for (int i = 0; i < themes; i += 10) {
            QVERIFY(writeImages(directories.at(i), ThemeContent()));
            completed << xmlPath(directories.at(i));
        }
        QTRY_COMPARE_WITH_TIMEOUT(valid.count(), completed.size(), verdictWait);
        QCOMPARE(sorted(firsts(valid)), sorted(completed));
        QCOMPARE(checker->pendingCheckCount(), themes - completed.size());
        QCOMPARE(invalid.count(), 0);

        // Checks that go away with their owner let go of the watcher.
        delete checker;
        QTRY_COMPARE(inotifyInstances(), m_baseline);
    }

    void checkerDeletedWhileSharingAPath_data()
    {
        QTest::addColumn<bool>("victimIsFirst");
        QTest::addColumn<bool>("inFirstVerdict");
        QTest::newRow("first deleted while waiting") << true << false;
        QTest::newRow("second deleted by the first's verdict") << false << true;
        QTest::newRow("first deleted by its own verdict") << true << true;
    }

    // Both watch the same directory; the first is notified first.
    void checkerDeletedWhileSharingAPath()
    {
        QFETCH(bool, victimIsFirst);
        QFETCH(bool, inFirstVerdict);
        const QString name = freshName("Shared");
        const QString directory = writeTheme(m_root.path(), name, { name, {} }, false);
        QPointer<Checker> first = new Checker(directory);
        QPointer<Checker> second = new Checker(directory);
        QSignalSpy firstAvailable(first, &Checker::resourcesAvailable);
        QSignalSpy secondAvailable(second, &Checker::resourcesAvailable);
        first->start();
        second->start();
        m_victim = victimIsFirst ? first : second;
        if (inFirstVerdict)
            connect(first, &Checker::resourcesAvailable, this, &ThemeDiscoveryTest::deleteVictim);
        else
            deleteVictim();

        QVERIFY(writeImages(directory, ThemeContent()));
        const bool firstReports = !victimIsFirst || inFirstVerdict;
        QTRY_COMPARE_WITH_TIMEOUT(firstAvailable.count() + secondAvailable.count(),
            int(firstReports) + int(victimIsFirst), verdictWait);
        QCOMPARE(firstAvailable.count(), int(firstReports));
        QCOMPARE(secondAvailable.count(), int(victimIsFirst));
        QVERIFY(!m_victim);
        delete first;
        delete second;
        if (m_baseline >= 0)
            QTRY_COMPARE(inotifyInstances(), m_baseline);
    }

    void duplicatesRenamesAndRemovals()
    {
        QTemporaryDir root;
        QVERIFY(!writeTheme(root.path(), "Smile", { "uuid-a", "service-s" }).isEmpty());
        QVERIFY(!writeTheme(root.path(), "SmileBig", { "uuid-b", {} }).isEmpty());

        EmoticonThemeInspector inspector;
        QSignalSpy added(&inspector, &EmoticonThemeInspector::themeAdded);
        QSignalSpy removed(&inspector, &EmoticonThemeInspector::themeRemoved);
        inspector.init(root.path());
        QVERIFY(inspector.isActive());
        QCOMPARE(firsts(added).first(), builtInUUID);
        QCOMPARE(
            sorted(firsts(added)), QStringList({ builtInUUID, emojiUUID, "uuid-a", "uuid-b" }));

        // A second init re-checks the directories; the themes are known and refused, and the
        // built-in themes are not announced twice, neither at once nor later.
        inspector.init(root.path());
        QCOMPARE(added.count(), 4);

        QVERIFY(!moveInTheme(root.path(), "SameUuid", { "uuid-a", {} }).isEmpty());
        QVERIFY(!moveInTheme(root.path(), "SameService", { "uuid-c", "service-s" }).isEmpty());
        QVERIFY(!moveInTheme(root.path(), "Fresh", { "uuid-d", {} }).isEmpty());
        QTRY_COMPARE(firsts(added).mid(4), QStringList { "uuid-d" });

        // Removing "Smile" must not take "SmileBig"; removing a refused theme removes nothing.
        QVERIFY(QDir(root.filePath("SameUuid")).removeRecursively());
        QVERIFY(QDir(root.filePath("Smile")).removeRecursively());
        QTRY_COMPARE(firsts(removed), QStringList { "uuid-a" });
    }
};

GLYPHMORPH_TEST_MAIN(ThemeDiscoveryTest)
#include "themediscoverytest.moc"
