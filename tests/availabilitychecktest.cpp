// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The availability check on its own: the time-out's lower bound, and the one file-system watcher
// that all pending checks share.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthemeresourceavailabilitychecker.h>
#include <emoticonthemeresourceavailabilitychecker_p.h>
#include <emoticonthemevalidationchecker.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

using GlyphmorphTest::ThemeContent;
using GlyphmorphTest::writeTheme;

namespace {

const int verdictWait = 20000;
const int shortTimeout = 300;

// With inotify every file-system watcher is a kernel instance, and a user has only 128 of them.
// -1 where the process's descriptors cannot be listed.
int inotifyInstances()
{
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists())
        return -1;
    int count = 0;
    const QStringList entries = descriptors.entryList(QDir::AllEntries | QDir::System);
    for (const QString &entry : entries) {
        char target[64] = {};
        const QByteArray path = QFile::encodeName(descriptors.filePath(entry));
        if (::readlink(path.constData(), target, sizeof target - 1) > 0
            && QByteArray(target) == "anon_inode:inotify")
            ++count;
    }
    return count;
}

QSignalSpy *availableSpy(EmoticonThemeResourceAvailabilityChecker *checker)
{
    return new QSignalSpy(checker,
        SIGNAL(resourcesAvailable(
            QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)));
}

} // namespace

class AvailabilityCheckTest : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void deleteVictim() { delete victim; }

private Q_SLOTS:
    // Anything made once per process (settings watches, preview directory) is made before the
    // instances are counted.
    void initTestCase()
    {
        QVERIFY(root.isValid());
        const QString complete = writeTheme(
            root.path(), QStringLiteral("WarmUp"), ThemeContent { QStringLiteral("uuid-w"), {} });
        EmoticonThemeResourceAvailabilityChecker(complete).start();
        const QString incomplete = writeTheme(root.path(), QStringLiteral("WarmUpPending"),
            ThemeContent { QStringLiteral("uuid-wp"), {} }, false);
        EmoticonThemeResourceAvailabilityChecker(incomplete).start();
        baseline = inotifyInstances();
    }

    void cleanup() { EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(0); }

    void timeoutNeverComesEarly_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("carriesDescription");
        QTest::newRow("no directory") << "none" << false;
        QTest::newRow("empty directory") << "empty" << false;
        QTest::newRow("description without its images") << "no images" << true;
        QTest::newRow("unparsable description") << "unparsable" << true;
    }

    void timeoutNeverComesEarly()
    {
        QFETCH(QString, content);
        QFETCH(bool, carriesDescription);
        const QString name = QStringLiteral("Late") + QString::number(++themeCount);
        const QString directory = QDir(root.path()).filePath(name);
        const QString xml = QDir(directory).filePath(name + QStringLiteral(".xml"));
        if (content != QLatin1String("none"))
            QVERIFY(QDir().mkpath(directory));
        if (content == QLatin1String("no images"))
            QVERIFY(!writeTheme(root.path(), name, ThemeContent { name, {} }, false).isEmpty());
        if (content == QLatin1String("unparsable"))
            QVERIFY(GlyphmorphTest::writeBytes(xml, "<emoticon_theme theme_uuid="));

        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(shortTimeout);
        EmoticonThemeResourceAvailabilityChecker checker(directory);
        const std::unique_ptr<QSignalSpy> available(availableSpy(&checker));
        QSignalSpy unavailable(&checker,
            SIGNAL(resourcesUnavailable(QString, EmoticonThemeResourceAvailabilityChecker *)));
        QElapsedTimer clock;
        clock.start();
        checker.start();
        QVERIFY(unavailable.wait(verdictWait));
        QVERIFY2(clock.elapsed() >= shortTimeout, QByteArray::number(clock.elapsed()));
        QCOMPARE(unavailable.at(0).at(0).toString(), carriesDescription ? xml : directory);
        QCOMPARE(available->count(), 0);
        QCOMPARE(unavailable.count(), 1);
    }

    void pendingChecksShareOneWatcher()
    {
        if (baseline < 0)
            QSKIP("the process's inotify instances cannot be counted here");
        const int themes = 150;
        EmoticonThemeValidationChecker *checker = new EmoticonThemeValidationChecker;
        QSignalSpy valid(checker, SIGNAL(emoticonThemeIsValid(QString, EmoticonTheme)));
        QSignalSpy invalid(checker, SIGNAL(emoticonThemeIsInvalid(QString)));
        QStringList directories;
        for (int i = 0; i < themes; ++i) {
            const QString name = QStringLiteral("Many") + QString::number(i);
            directories << writeTheme(root.path(), name, ThemeContent { name, {} }, false);
            QVERIFY(!directories.last().isEmpty());
            checker->requestValidationCheck(directories.last());
        }
        QCOMPARE(checker->pendingCheckCount(), themes);
        // One watcher for all of them, however many.
        QCOMPARE(inotifyInstances(), baseline + 1);

        QStringList completed;
        for (int i = 0; i < themes; i += 10) {
            QVERIFY(GlyphmorphTest::writeImages(
                directories.at(i), ThemeContent { QStringLiteral("images"), {} }));
            completed << directories.at(i) + QLatin1Char('/')
                    + QFileInfo(directories.at(i)).fileName() + QStringLiteral(".xml");
        }
        QTRY_COMPARE_WITH_TIMEOUT(valid.count(), completed.size(), verdictWait);
        QStringList reported;
        for (const QList<QVariant> &arguments : valid)
            reported << arguments.at(0).toString();
        reported.sort();
        completed.sort();
        QCOMPARE(reported, completed);
        QCOMPARE(checker->pendingCheckCount(), themes - completed.size());
        QCOMPARE(invalid.count(), 0);

        // Checks that go away with their owner let go of the watcher.
        delete checker;
        QTRY_COMPARE(inotifyInstances(), baseline);
    }

    void checkerDeletedWhileSharingAPath_data()
    {
        QTest::addColumn<bool>("victimIsFirst");
        QTest::addColumn<bool>("inFirstVerdict");
        QTest::newRow("first deleted while waiting") << true << false;
        QTest::newRow("second deleted while waiting") << false << false;
        QTest::newRow("second deleted by the first's verdict") << false << true;
        QTest::newRow("first deleted by its own verdict") << true << true;
    }

    // Both watch the same directory; the first is notified first.
    void checkerDeletedWhileSharingAPath()
    {
        QFETCH(bool, victimIsFirst);
        QFETCH(bool, inFirstVerdict);
        const QString name = QStringLiteral("Shared") + QString::number(++themeCount);
        const ThemeContent content { name, {} };
        const QString directory = writeTheme(root.path(), name, content, false);
        QVERIFY(!directory.isEmpty());
        QPointer<EmoticonThemeResourceAvailabilityChecker> first
            = new EmoticonThemeResourceAvailabilityChecker(directory);
        QPointer<EmoticonThemeResourceAvailabilityChecker> second
            = new EmoticonThemeResourceAvailabilityChecker(directory);
        const std::unique_ptr<QSignalSpy> firstAvailable(availableSpy(first));
        const std::unique_ptr<QSignalSpy> secondAvailable(availableSpy(second));
        first->start();
        second->start();
        victim = victimIsFirst ? first : second;
        if (inFirstVerdict)
            connect(first,
                SIGNAL(resourcesAvailable(
                    QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)),
                this, SLOT(deleteVictim()));
        else
            deleteVictim();

        QVERIFY(GlyphmorphTest::writeImages(directory, content));
        const bool firstReports = !victimIsFirst || inFirstVerdict;
        QTRY_COMPARE_WITH_TIMEOUT(firstAvailable->count() + secondAvailable->count(),
            int(firstReports) + int(victimIsFirst), verdictWait);
        QCOMPARE(firstAvailable->count(), int(firstReports));
        QCOMPARE(secondAvailable->count(), int(victimIsFirst));
        QVERIFY(!victim);
        delete first;
        delete second;
        if (baseline >= 0)
            QTRY_COMPARE(inotifyInstances(), baseline);
    }

    // A check still pending for a removed directory holds the path when a new one of that name
    // is checked: the new directory's images must still be seen.
    void directoryReplacedUnderAPendingCheck()
    {
        const QString name = QStringLiteral("Replaced");
        const ThemeContent content { name, {} };
        const QString directory = writeTheme(root.path(), name, content, false);
        EmoticonThemeResourceAvailabilityChecker old(directory);
        old.start();
        QVERIFY(QDir(directory).removeRecursively());
        QVERIFY(!writeTheme(root.path(), name, content, false).isEmpty());
        EmoticonThemeResourceAvailabilityChecker fresh(directory);
        const std::unique_ptr<QSignalSpy> available(availableSpy(&fresh));
        QSignalSpy unavailable(&fresh,
            SIGNAL(resourcesUnavailable(QString, EmoticonThemeResourceAvailabilityChecker *)));
        fresh.start();
        // Once the removal was seen.
        QTimer::singleShot(300, [&] { GlyphmorphTest::writeImages(directory, content); });
        QTRY_COMPARE_WITH_TIMEOUT(available->count() + unavailable.count(), 1, verdictWait);
        QCOMPARE(available->count(), 1);
    }

private:
    QTemporaryDir root;
    QPointer<EmoticonThemeResourceAvailabilityChecker> victim;
    int baseline = -1;
    int themeCount = 0;
};

GLYPHMORPH_TEST_GUILESS_MAIN(AvailabilityCheckTest)
#include "availabilitychecktest.moc"
