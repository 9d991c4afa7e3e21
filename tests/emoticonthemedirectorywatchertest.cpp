// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <emoticonthemedirectorywatcher.h>

#include <QSignalSpy>

using GlyphmorphTest::writeBytes;
using Watcher = EmoticonThemeDirectoryWatcher;

namespace {

QStringList paths(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.at(0).toString();
    result.sort();
    return result;
}

// The names, separated by spaces, as sorted absolute paths in @p dir.
QStringList absolute(const QDir &dir, const QString &names)
{
    QStringList result;
    for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
        result << dir.absoluteFilePath(name);
    result.sort();
    return result;
}

} // namespace

class EmoticonThemeDirectoryWatcherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
            QCOMPARE(paths(added), absolute(dir, "Alpha Beta"));
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
        QTRY_VERIFY(paths(added).contains(dir.absoluteFilePath("Sentinel")));
        QFETCH(QString, addedNames);
        QFETCH(QString, removedNames);
        QCOMPARE(paths(added), absolute(dir, addedNames + " Sentinel"));
        QCOMPARE(paths(removed), absolute(dir, removedNames));
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoticonThemeDirectoryWatcherTest)
#include "emoticonthemedirectorywatchertest.moc"
