// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthemedirectorywatcher.h>

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

QStringList paths(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.at(0).toString();
    result.sort();
    return result;
}

} // namespace

class EmoticonThemeDirectoryWatcherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsExistingDirectoriesOnly()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        for (const char *name : { "Alpha", "Beta", ".hidden" })
            QVERIFY(dir.mkdir(QLatin1String(name)));
        QFile file(dir.filePath(QStringLiteral("file.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        EmoticonThemeDirectoryWatcher watcher;
        QSignalSpy added(&watcher, SIGNAL(themeDirectoryAdded(QString)));
        QSignalSpy removed(&watcher, SIGNAL(themeDirectoryRemoved(QString)));
        watcher.setEmoticonThemeDirectoryPath(root.path());
        QVERIFY(watcher.isActive());
        const QStringList expected = { dir.absoluteFilePath(QStringLiteral("Alpha")),
            dir.absoluteFilePath(QStringLiteral("Beta")) };
        QCOMPARE(paths(added), expected);

        // A second call reports everything again and removes nothing.
        watcher.setEmoticonThemeDirectoryPath(root.path());
        QCOMPARE(added.count(), 4);
        QCOMPARE(removed.count(), 0);
    }

    void rootThatIsNoDirectory()
    {
        QTemporaryDir root;
        const QString filePath = QDir(root.path()).filePath(QStringLiteral("root"));
        QFile file(filePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        EmoticonThemeDirectoryWatcher watcher;
        QSignalSpy added(&watcher, SIGNAL(themeDirectoryAdded(QString)));
        watcher.setEmoticonThemeDirectoryPath(filePath);
        watcher.setEmoticonThemeDirectoryPath(QDir(root.path()).filePath(QStringLiteral("none")));
        QVERIFY(!watcher.isActive());
        QCOMPARE(added.count(), 0);
    }

    void followsChanges_data()
    {
        QTest::addColumn<QStringList>("create");
        QTest::addColumn<QStringList>("remove");
        QTest::addColumn<QStringList>("renameTo");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("expectedAdded");
        QTest::addColumn<QStringList>("expectedRemoved");

        const QStringList none;
        const QStringList alpha { "Alpha" };
        QTest::newRow("created") << QStringList { "Gamma" } << none << none << none
                                 << QStringList { "Gamma" } << none;
        QTest::newRow("deleted") << none << alpha << none << none << none << alpha;
        // Both in one notification: the removal is not lost behind the addition.
        QTest::newRow("created and deleted")
            << QStringList { "Gamma" } << alpha << none << none << QStringList { "Gamma" } << alpha;
        QTest::newRow("renamed") << none << none << QStringList { "Alpha", "Delta" } << none
                                 << QStringList { "Delta" } << alpha;
        QTest::newRow("file created")
            << QStringList { "notes.txt" } << none << none << none << none << none;
        // The same name, another theme: what was registered under it must go.
        QTest::newRow("replaced in one go") << alpha << alpha << none << none << alpha << alpha;
        QTest::newRow("description renamed over the old one")
            << none << none << none << QStringList { "Alpha/Alpha.xml" } << alpha << alpha;
        QTest::newRow("first description, an image")
            << none << none << none << QStringList { "Beta/Beta.xml", "Alpha/a.png" } << none
            << none;
    }

    void followsChanges()
    {
        QFETCH(QStringList, create);
        QFETCH(QStringList, remove);
        QFETCH(QStringList, renameTo);
        QFETCH(QStringList, write);
        QFETCH(QStringList, expectedAdded);
        QFETCH(QStringList, expectedRemoved);

        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkdir(QStringLiteral("Alpha")) && dir.mkdir(QStringLiteral("Beta")));
        QVERIFY(
            GlyphmorphTest::writeBytes(dir.filePath(QStringLiteral("Alpha/Alpha.xml")), "<a/>"));
        EmoticonThemeDirectoryWatcher watcher;
        watcher.setEmoticonThemeDirectoryPath(root.path());
        QSignalSpy added(&watcher, SIGNAL(themeDirectoryAdded(QString)));
        QSignalSpy removed(&watcher, SIGNAL(themeDirectoryRemoved(QString)));

        for (const QString &name : remove)
            QVERIFY(QDir(dir.filePath(name)).removeRecursively());
        for (const QString &name : create) {
            if (name.contains(QLatin1Char('.'))) {
                QFile file(dir.filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(dir.mkdir(name));
                QVERIFY(
                    GlyphmorphTest::writeBytes(dir.filePath(name + "/" + name + ".xml"), "<b/>"));
            }
        }
        // Written beside and renamed over, as editors and package managers do.
        for (const QString &name : write)
            QVERIFY(GlyphmorphTest::writeBytes(dir.filePath(name), "<c/>"));
        if (!renameTo.isEmpty())
            QVERIFY(dir.rename(renameTo.at(0), renameTo.at(1)));

        // Every notification before the sentinel's has been handled once the sentinel is seen.
        QVERIFY(dir.mkdir(QStringLiteral("Sentinel")));
        expectedAdded << QStringLiteral("Sentinel");
        const auto absolute = [&dir](QStringList names) {
            for (QString &name : names)
                name = dir.absoluteFilePath(name);
            names.sort();
            return names;
        };
        QTRY_VERIFY(paths(added).contains(dir.absoluteFilePath(QStringLiteral("Sentinel"))));
        QCOMPARE(paths(added), absolute(expectedAdded));
        QCOMPARE(paths(removed), absolute(expectedRemoved));
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoticonThemeDirectoryWatcherTest)
#include "emoticonthemedirectorywatchertest.moc"
