// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The discovery pipeline on real directories: waiting for a theme, the verdicts, the duplicate
// rule and removal.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthemeinspector.h>
#include <emoticonthemeresourceavailabilitychecker.h>
#include <emoticonthemevalidationchecker.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using GlyphmorphTest::ThemeContent;
using GlyphmorphTest::writeTheme;

namespace {

const int verdictWait = 20000;

QString xmlPath(const QString &directory)
{
    return QDir(directory).filePath(QFileInfo(directory).fileName() + QStringLiteral(".xml"));
}

QStringList uuids(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy) {
        const QVariant value = arguments.at(0);
        result << (value.canConvert<EmoticonTheme>() && value.userType() != QMetaType::QString
                ? value.value<EmoticonTheme>().themeUUID()
                : value.toString());
    }
    return result;
}

// Writes a complete theme beside the root and moves it in with one rename.
QString moveInTheme(const QTemporaryDir &root, const QString &name, const ThemeContent &content)
{
    const QString staging = writeTheme(root.path() + QStringLiteral("-staging"), name, content);
    const QString target = QDir(root.path()).filePath(name);
    return !staging.isEmpty() && QDir().rename(staging, target) ? target : QString();
}

} // namespace

class ThemeDiscoveryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void waitsForTheWholeTheme_data()
    {
        QTest::addColumn<QString>("arrival");
        QTest::addColumn<QString>("uuid");
        QTest::newRow("complete at start") << "complete"
                                           << "uuid-complete";
        // The preview image was missing when the description was read.
        QTest::newRow("images after the description") << "images later"
                                                      << "uuid-images-later";
        QTest::newRow("description after the images") << "description later"
                                                      << "uuid-xml-later";
        // Written in place in two steps: the first, unparsable state is no verdict yet.
        QTest::newRow("description written in part first") << "partial description"
                                                           << "uuid-partial";
    }

    void waitsForTheWholeTheme()
    {
        QFETCH(QString, arrival);
        QFETCH(QString, uuid);
        QTemporaryDir root;
        const ThemeContent content { uuid, QString() };
        const QString directory = QDir(root.path()).filePath(QStringLiteral("Smile"));
        QVERIFY(QDir().mkpath(directory));
        const QByteArray xml = GlyphmorphTest::themeXml(content);
        if (arrival == QLatin1String("complete"))
            QVERIFY(!writeTheme(root.path(), QStringLiteral("Smile"), content).isEmpty());
        if (arrival == QLatin1String("images later"))
            QVERIFY(GlyphmorphTest::writeBytes(xmlPath(directory), xml));
        if (arrival == QLatin1String("description later"))
            QVERIFY(GlyphmorphTest::writeImages(directory, content));
        if (arrival == QLatin1String("partial description")) {
            QVERIFY(GlyphmorphTest::writeImages(directory, content));
            QFile file(xmlPath(directory));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(xml.left(xml.size() / 2));
        }

        EmoticonThemeResourceAvailabilityChecker checker(directory);
        QSignalSpy available(&checker,
            SIGNAL(resourcesAvailable(
                QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)));
        QSignalSpy unavailable(&checker,
            SIGNAL(resourcesUnavailable(QString, EmoticonThemeResourceAvailabilityChecker *)));
        checker.start();
        QCOMPARE(available.count(), arrival == QLatin1String("complete") ? 1 : 0);

        if (arrival == QLatin1String("images later"))
            QTimer::singleShot(300, [&] { GlyphmorphTest::writeImages(directory, content); });
        if (arrival == QLatin1String("description later"))
            QTimer::singleShot(300, [&] { GlyphmorphTest::writeBytes(xmlPath(directory), xml); });
        if (arrival == QLatin1String("partial description")) {
            QTimer::singleShot(300, [&] {
                QFile file(xmlPath(directory));
                if (file.open(QIODevice::Append))
                    file.write(xml.mid(xml.size() / 2));
            });
        }
        QTRY_COMPARE_WITH_TIMEOUT(available.count(), 1, verdictWait);
        QCOMPARE(unavailable.count(), 0);
        QCOMPARE(available.at(0).at(0).toString(), xmlPath(directory));
        QCOMPARE(available.at(0).at(1).value<EmoticonTheme>().themeUUID(), content.uuid);
        QCOMPARE(
            available.at(0).at(2).value<EmoticonThemeResourceAvailabilityChecker *>(), &checker);
        QVERIFY(QFileInfo::exists(QDir::home().filePath(
            QStringLiteral(".emoticonthemepreview/preview_") + uuid + QStringLiteral(".png"))));
    }

    // The only slow test: every kind of failure waits for the same time-out, side by side.
    void verdictsInRequestOrder()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkdir(QStringLiteral("Empty")));
        const QString complete = writeTheme(root.path(), QStringLiteral("Complete"),
            ThemeContent { QStringLiteral("uuid-complete"), QString() });
        const QString malformed = dir.filePath(QStringLiteral("Malformed"));
        QVERIFY(dir.mkdir(QStringLiteral("Malformed")));
        QVERIFY(GlyphmorphTest::writeBytes(xmlPath(malformed), "<emoticon_theme theme_uuid="));
        const QString noImages = writeTheme(root.path(), QStringLiteral("NoImages"),
            ThemeContent { QStringLiteral("uuid-noimages"), QString() }, false);

        EmoticonThemeValidationChecker checker;
        QSignalSpy valid(&checker, SIGNAL(emoticonThemeIsValid(QString, EmoticonTheme)));
        QSignalSpy invalid(&checker, SIGNAL(emoticonThemeIsInvalid(QString)));
        for (const char *name : { "Empty", "Complete", "Malformed", "NoImages" }) {
            checker.requestValidationCheck(dir.filePath(QLatin1String(name)));
            if (QLatin1String(name) == QLatin1String("Complete"))
                QCOMPARE(valid.count(), 1);
        }
        QCOMPARE(checker.pendingCheckCount(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(invalid.count(), 3, verdictWait);
        QCOMPARE(uuids(invalid),
            QStringList(
                { dir.filePath(QStringLiteral("Empty")), xmlPath(malformed), xmlPath(noImages) }));
        QCOMPARE(valid.at(0).at(0).toString(), xmlPath(complete));
        QCOMPARE(checker.pendingCheckCount(), 0);
    }

    void duplicatesRenamesAndRemovals()
    {
        QTemporaryDir root;
        QVERIFY(!writeTheme(root.path(), QStringLiteral("Smile"),
            ThemeContent { QStringLiteral("uuid-a"), QStringLiteral("service-s") })
                     .isEmpty());
        QVERIFY(!writeTheme(root.path(), QStringLiteral("SmileBig"),
            ThemeContent { QStringLiteral("uuid-b"), QString() })
                     .isEmpty());

        EmoticonThemeInspector inspector;
        QSignalSpy added(&inspector, SIGNAL(themeAdded(EmoticonTheme)));
        QSignalSpy removed(&inspector, SIGNAL(themeRemoved(QString)));
        inspector.init(root.path());
        QVERIFY(inspector.isActive());
        QStringList announced = uuids(added);
        announced.sort();
        QCOMPARE(announced,
            QStringList({ "343a7f65-0095-4eae-8fc2-87af7f3bf5158", "uuid-a", "uuid-b" }));
        QCOMPARE(uuids(added).first(), QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158"));

        // A second init re-checks the directories; the themes are known and refused, and the
        // built-in theme is not announced twice.
        inspector.init(root.path());
        added.clear();

        QVERIFY(!moveInTheme(
            root, QStringLiteral("SameUuid"), ThemeContent { QStringLiteral("uuid-a"), QString() })
                     .isEmpty());
        QVERIFY(!moveInTheme(root, QStringLiteral("SameService"),
            ThemeContent { QStringLiteral("uuid-c"), QStringLiteral("service-s") })
                     .isEmpty());
        QVERIFY(!moveInTheme(
            root, QStringLiteral("Fresh"), ThemeContent { QStringLiteral("uuid-d"), QString() })
                     .isEmpty());
        QTRY_COMPARE(uuids(added), QStringList { QStringLiteral("uuid-d") });

        // Removing "Smile" must not take "SmileBig"; removing a refused theme removes nothing.
        QVERIFY(QDir(QDir(root.path()).filePath(QStringLiteral("SameUuid"))).removeRecursively());
        QVERIFY(QDir(QDir(root.path()).filePath(QStringLiteral("Smile"))).removeRecursively());
        QTRY_COMPARE(uuids(removed), QStringList { QStringLiteral("uuid-a") });

        // A renamed theme does not stay registered with files that are gone; its description
        // no longer bears the directory's name, so it does not come back.
        QVERIFY(QDir(root.path()).rename(QStringLiteral("SmileBig"), QStringLiteral("Renamed")));
        QTRY_COMPARE(uuids(removed), QStringList({ "uuid-a", "uuid-b" }));
    }

    void rootThatIsAFile()
    {
        QTemporaryDir root;
        const QString file = QDir(root.path()).filePath(QStringLiteral("root"));
        QVERIFY(GlyphmorphTest::writeBytes(file, "not a directory"));
        EmoticonThemeInspector inspector;
        QSignalSpy added(&inspector, SIGNAL(themeAdded(EmoticonTheme)));
        inspector.init(file);
        QVERIFY(!inspector.isActive());
        QCOMPARE(
            uuids(added), QStringList { QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158") });
    }
};

GLYPHMORPH_TEST_MAIN(ThemeDiscoveryTest)
#include "themediscoverytest.moc"
