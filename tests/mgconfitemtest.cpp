// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mgconfitem.h"
#include "settingsfile_p.h"
#include "testenvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const int signalTimeout = 20000;
const QString defaultValue = QStringLiteral("from the defaults");
const QString themeKey = QStringLiteral("/meegotouch/theme/name");

QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/glyphmorph/settings.conf");
}

QByteArray readStore()
{
    QFile file(storePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

template<int N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

void startHelper(QProcess &process, const QString &command, const QStringList &operands)
{
    QStringList arguments { command };
    for (const QString &operand : operands)
        arguments << QString::fromLatin1(operand.toUtf8().toPercentEncoding());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(SETTINGSWRITER), arguments);
}

QString finished(QProcess &process)
{
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(60000))
        return QStringLiteral("settingswriter did not finish: ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("settingswriter failed with exit code %1").arg(process.exitCode());
    return QString();
}

/** Runs the helper to its end; an empty result means success. */
QString runHelper(const QString &command, const QStringList &operands, QByteArray *output = nullptr,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    startHelper(process, command, operands);
    const QString problem = finished(process);
    if (output)
        *output = process.readAllStandardOutput();
    return problem;
}

QByteArray helperOutput(const QVariant &value)
{
    return value.isValid() ? "value:" + value.toString().toUtf8() : QByteArray("unset");
}

} // namespace

class MGConfItemTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    int m_sentinels = 0;

    // Notifications are posted in order, so once the sentinel's arrives, all earlier ones have.
    bool settle()
    {
        MGConfItem sentinel(QStringLiteral("/test/sentinel/%1").arg(++m_sentinels));
        QSignalSpy spy(&sentinel, &MGConfItem::valueChanged);
        sentinel.set(QStringLiteral("reached"));
        return spy.wait(signalTimeout);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        const QString defaults = m_scratch.filePath(QStringLiteral("defaults.conf"));
        QByteArray text = "# defaults of this test\n";
        for (const char *key : { "override", "invalid", "equal", "emission-equal",
                 "emission-restore", "other-process" })
            text += "/test/defaulted/" + QByteArray(key) + '=' + defaultValue.toUtf8() + '\n';
        QVERIFY(writeFile(defaults, text));
        // Read once, when the first item is made.
        qputenv("GLYPHMORPH_SETTINGS_DEFAULTS", QFile::encodeName(defaults));
    }

    void userValuesAndDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("initial");
        QTest::addColumn<QString>("userValue");
        QTest::addColumn<bool>("unsetWithInvalidVariant");

        const QVariant none;
        QTest::newRow("no default, unset()") << "/test/values/unset" << none << "user" << false;
        QTest::newRow("no default, set(QVariant())")
            << "/test/values/invalid" << none << "user" << true;
        QTest::newRow("default, unset()")
            << "/test/defaulted/override" << QVariant(defaultValue) << "user" << false;
        QTest::newRow("default, set(QVariant())")
            << "/test/defaulted/invalid" << QVariant(defaultValue) << "user" << true;
        QTest::newRow("user value equal to the default")
            << "/test/defaulted/equal" << QVariant(defaultValue) << defaultValue << false;
    }

    void userValuesAndDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, initial);
        QFETCH(QString, userValue);
        QFETCH(bool, unsetWithInvalidVariant);
        const QVariant fallback(QStringLiteral("fallback"));

        MGConfItem item(key);
        QCOMPARE(item.key(), key);
        QCOMPARE(item.value(), initial);
        QCOMPARE(item.value(fallback), initial.isValid() ? initial : fallback);

        item.set(userValue);
        QCOMPARE(item.value(), QVariant(userValue));
        QCOMPARE(item.value(fallback), QVariant(userValue));
        QCOMPARE(MGConfItem(key).value(), QVariant(userValue));
        QCOMPARE(SettingsFile::parse(readStore()).values.value(key), userValue);

        if (unsetWithInvalidVariant)
            item.set(QVariant());
        else
            item.unset();
        QCOMPARE(item.value(), initial);
        QVERIFY(!SettingsFile::parse(readStore()).values.contains(key));
    }

    void defaultsFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("defaults");
        QTest::addColumn<QByteArray>("userStore");
        QTest::addColumn<QVariant>("expected");

        const QVariant none;
        QTest::newRow("built-in") << "built-in" << QByteArray() << QByteArray() << QVariant("base");
        QTest::newRow("user value over built-in")
            << "built-in" << QByteArray() << QByteArray("/meegotouch/theme/name=night\n")
            << QVariant("night");
        QTest::newRow("another file") << "file" << QByteArray("/meegotouch/theme/name=night\n")
                                      << QByteArray() << QVariant("night");
        QTest::newRow("empty file") << "file" << QByteArray() << QByteArray() << none;
        QTest::newRow("file without the key")
            << "file" << QByteArray("# none\n/other=base\n") << QByteArray() << none;
        QTest::newRow("missing file") << "missing" << QByteArray() << QByteArray() << none;
        QTest::newRow("empty variable") << "empty" << QByteArray() << QByteArray() << none;
    }

    // Defaults are read once a process, so each row asks a process of its own.
    void defaultsFile()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, defaults);
        QFETCH(QByteArray, userStore);
        QFETCH(QVariant, expected);

        QTemporaryDir configHome;
        QVERIFY(configHome.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.path());
        const QString variable = QStringLiteral("GLYPHMORPH_SETTINGS_DEFAULTS");
        const QString defaultsPath = configHome.filePath(QStringLiteral("defaults.conf"));
        if (source == QLatin1String("built-in")) {
            environment.remove(variable);
        } else if (source == QLatin1String("file")) {
            QVERIFY(writeFile(defaultsPath, defaults));
            environment.insert(variable, defaultsPath);
        } else if (source == QLatin1String("missing")) {
            environment.insert(variable, defaultsPath);
        } else {
            environment.insert(variable, QString());
        }
        if (!userStore.isEmpty()) {
            QVERIFY(QDir(configHome.path()).mkpath(QStringLiteral("glyphmorph")));
            QVERIFY(writeFile(
                configHome.filePath(QStringLiteral("glyphmorph/settings.conf")), userStore));
        }

        QByteArray output;
        const QString problem
            = runHelper(QStringLiteral("get"), { themeKey }, &output, environment);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(output, helperOutput(expected));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        const QString key = QStringLiteral("/test/roundtrip/%1");
        QTest::newRow("plain") << key.arg(1) << "hello";
        QTest::newRow("empty string") << key.arg(2) << "";
        QTest::newRow("line feed") << key.arg(3) << "first\nsecond\n";
        QTest::newRow("carriage returns") << key.arg(4) << "a\r\nb\r";
        QTest::newRow("equals signs") << key.arg(5) << "=a=b==";
        QTest::newRow("escape lookalikes") << key.arg(6) << "C:\\new\\raw \\n \\\\ \\";
        QTest::newRow("quotes") << key.arg(7) << "\"double\" and 'single'";
        QTest::newRow("comment sign") << key.arg(8) << "# not a comment";
        QTest::newRow("surrounding spaces") << key.arg(9) << "  padded \t";
        QTest::newRow("non-ASCII") << key.arg(10) << QString::fromUtf8("Grüße, 日本語, 😀");
        QTest::newRow("NUL character")
            << key.arg(11) << QString(QChar(0)) + QStringLiteral("after");
        QTest::newRow("key with = and #") << "/test/roundtrip/a=b#c"
                                          << "v";
        QTest::newRow("key with line feed and backslash") << "/test/roundtrip/a\nb\\"
                                                          << "v";
        QTest::newRow("key starting with #") << "#/test/roundtrip"
                                             << "v";
        QTest::newRow("key starting with spaces") << "  /test/roundtrip/spaced"
                                                  << "v";
        QTest::newRow("empty key") << ""
                                   << "v";
    }

    void roundTrip()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);

        MGConfItem item(key);
        item.set(value);
        QVERIFY(item.value().isValid());
        QCOMPARE(item.value().toString(), value);

        const SettingsFile::Content content = SettingsFile::parse(readStore());
        QVERIFY(content.clean);
        QVERIFY(content.values.contains(key));
        QCOMPARE(content.values.value(key), value);

        QByteArray output;
        const QString problem = runHelper(QStringLiteral("get"), { key }, &output);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(output, helperOutput(value));
    }

    void valueChangedReachesEveryItemOfTheKey()
    {
        const QString key = QStringLiteral("/test/signals/key");
        MGConfItem first(key);
        MGConfItem second(key);
        MGConfItem other(QStringLiteral("/test/signals/other"));
        QSignalSpy firstSpy(&first, &MGConfItem::valueChanged);
        QSignalSpy secondSpy(&second, &MGConfItem::valueChanged);
        QSignalSpy otherSpy(&other, &MGConfItem::valueChanged);

        first.set(QStringLiteral("one"));
        QCOMPARE(firstSpy.count(), 0);
        QCOMPARE(secondSpy.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(firstSpy.count(), 1, signalTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(secondSpy.count(), 1, signalTimeout);
        QCOMPARE(second.value(), QVariant(QStringLiteral("one")));

        QVERIFY(settle());
        QCOMPARE(firstSpy.count(), 1);
        QCOMPARE(secondSpy.count(), 1);
        QCOMPARE(otherSpy.count(), 0);
    }

    void emissions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<bool>("emits");

        const QString key = QStringLiteral("/test/emissions/%1");
        const QVariant none;
        const QVariant a(QStringLiteral("a"));
        QTest::newRow("new value") << key.arg(1) << none << a << true;
        QTest::newRow("same value") << key.arg(2) << a << a << false;
        QTest::newRow("changed value") << key.arg(3) << a << QVariant("b") << true;
        QTest::newRow("unset of a set key") << key.arg(4) << a << none << true;
        QTest::newRow("unset of an unset key") << key.arg(5) << none << none << false;
        QTest::newRow("empty string on an unset key") << key.arg(6) << none << QVariant("") << true;
        QTest::newRow("value equal to the default")
            << "/test/defaulted/emission-equal" << none << QVariant(defaultValue) << false;
        QTest::newRow("unset back to the default")
            << "/test/defaulted/emission-restore" << a << none << true;
    }

    void emissions()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(bool, emits);

        MGConfItem item(key);
        if (before.isValid())
            item.set(before);
        QVERIFY(settle());
        QSignalSpy spy(&item, &MGConfItem::valueChanged);

        item.set(after);
        QCOMPARE(spy.count(), 0);
        QVERIFY(settle());
        QCOMPARE(spy.count(), emits ? 1 : 0);
    }

    void itemDestroyedWithEmissionQueued()
    {
        auto *item = new MGConfItem(QStringLiteral("/test/destroyed"));
        item->set(QStringLiteral("x"));
        delete item;
        QVERIFY(settle());
    }

    void changeByAnotherProcess_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("operands");
        QTest::addColumn<QVariant>("expected");

        const QString key = QStringLiteral("/test/other-process/%1");
        const QVariant none;
        const QVariant ours(QStringLiteral("ours"));
        const QString theirs = QStringLiteral("theirs");
        QTest::newRow("set") << key.arg(1) << none << "set" << QStringList { key.arg(1), theirs }
                             << QVariant(theirs);
        QTest::newRow("changed") << key.arg(2) << ours << "set"
                                 << QStringList { key.arg(2), theirs } << QVariant(theirs);
        QTest::newRow("unset") << key.arg(3) << ours << "unset" << QStringList { key.arg(3) }
                               << none;
        QTest::newRow("unset back to the default")
            << "/test/defaulted/other-process" << ours << "unset"
            << QStringList { QStringLiteral("/test/defaulted/other-process") }
            << QVariant(defaultValue);
        const QString tricky = QString::fromUtf8("Grüße 😀\nx=y");
        QTest::newRow("non-ASCII and newline")
            << key.arg(4) << none << "set" << QStringList { key.arg(4), tricky }
            << QVariant(tricky);
    }

    void changeByAnotherProcess()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, before);
        QFETCH(QString, command);
        QFETCH(QStringList, operands);
        QFETCH(QVariant, expected);

        MGConfItem item(key);
        if (before.isValid()) {
            item.set(before);
            QVERIFY(settle());
        }
        MGConfItem sibling(key);
        QSignalSpy spy(&item, &MGConfItem::valueChanged);
        QSignalSpy siblingSpy(&sibling, &MGConfItem::valueChanged);

        QProcess helper;
        startHelper(helper, command, operands);
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, signalTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(siblingSpy.count(), 1, signalTimeout);
        const QString problem = finished(helper);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(item.value(), expected);
        QCOMPARE(sibling.value(), expected);
    }

    // The store file is replaced on every write, so its watch must be renewed each time.
    void repeatedChangesByAnotherProcess()
    {
        const QString key = QStringLiteral("/test/other-process/repeated");
        MGConfItem item(key);
        MGConfItem other(QStringLiteral("/test/other-process/unrelated"));
        QSignalSpy spy(&item, &MGConfItem::valueChanged);
        QSignalSpy otherSpy(&other, &MGConfItem::valueChanged);

        for (int i = 1; i <= 3; ++i) {
            QProcess helper;
            startHelper(helper, QStringLiteral("set"), { key, QString::number(i) });
            QTRY_COMPARE_WITH_TIMEOUT(spy.count(), i, signalTimeout);
            QCOMPARE(item.value(), QVariant(QString::number(i)));
            const QString problem = finished(helper);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }

        // A change of another key in the same file does not reach this item.
        QProcess helper;
        startHelper(helper, QStringLiteral("set"), { other.key(), QStringLiteral("changed") });
        QTRY_COMPARE_WITH_TIMEOUT(otherSpy.count(), 1, signalTimeout);
        const QString problem = finished(helper);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(settle());
        QCOMPARE(spy.count(), 3);
    }

    // A file changed behind the store's back, even keeping its size and time stamp, is read
    // without waiting for the event loop; its change is still announced.
    void readsFollowTheFile()
    {
        const QString key = QStringLiteral("/test/external");
        MGConfItem item(key);
        QSignalSpy spy(&item, &MGConfItem::valueChanged);

        QVERIFY(writeFile(storePath(), "/test/external=1\n"));
        QCOMPARE(item.value(), QVariant(QStringLiteral("1")));
        const QDateTime stamp = QFileInfo(storePath()).lastModified();

        QVERIFY(writeFile(storePath(), "/test/external=2\n"));
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(QFileInfo(storePath()).lastModified(), stamp);
        QCOMPARE(item.value(), QVariant(QStringLiteral("2")));

        QVERIFY(QFile::remove(storePath()));
        QCOMPARE(item.value(), QVariant());
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 1, signalTimeout);
    }

    void unreadableStoreFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QVariant>("kept");

        QTest::newRow("binary garbage") << bytes("\x00\xff\xfe\x01\n\\=\\\n\xc3\x28") << QVariant();
        QTest::newRow("malformed lines among good ones")
            << bytes("/test/corrupt/kept=yes\nno separator\n/bad\\qescape=x\n")
            << QVariant(QStringLiteral("yes"));
        QTest::newRow("dangling backslash at the end")
            << bytes("/test/corrupt/kept=yes\n/test/corrupt/written=old\\")
            << QVariant(QStringLiteral("yes"));
    }

    void unreadableStoreFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariant, kept);

        QVERIFY(writeFile(storePath(), content));
        MGConfItem keptItem(QStringLiteral("/test/corrupt/kept"));
        MGConfItem written(QStringLiteral("/test/corrupt/written"));
        QCOMPARE(keptItem.value(), kept);
        QCOMPARE(written.value(), QVariant());

        written.set(QStringLiteral("new"));
        QCOMPARE(written.value(), QVariant(QStringLiteral("new")));
        QCOMPARE(keptItem.value(), kept);
        const SettingsFile::Content after = SettingsFile::parse(readStore());
        QVERIFY(after.clean);
        QCOMPARE(after.values.value(written.key()), QStringLiteral("new"));
        QCOMPARE(after.values.value(keptItem.key()), kept.toString());

        QFile backup(storePath() + QStringLiteral(".corrupt"));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), content);
    }

    void concurrentWritersLoseNothing()
    {
        const int writes = 200;
        const QString prefix = QStringLiteral("/test/concurrent/");
        const QStringList keys { prefix + QStringLiteral("a"), prefix + QStringLiteral("b") };
        MGConfItem shared(prefix + QStringLiteral("shared"));
        QSignalSpy sharedSpy(&shared, &MGConfItem::valueChanged);

        QProcess writers[2];
        startHelper(
            writers[0], QStringLiteral("hammer"), { QStringLiteral("a"), QString::number(writes) });
        startHelper(
            writers[1], QStringLiteral("hammer"), { QStringLiteral("b"), QString::number(writes) });

        // While they run, every state of the file is whole, and no write is ever undone.
        const QRegularExpression sharedPattern(QStringLiteral("^[ab]:\\d+$"));
        int lastSeen[2] = { -1, -1 };
        bool sharedSeen = false;
        QElapsedTimer timer;
        timer.start();
        while (writers[0].state() != QProcess::NotRunning
            || writers[1].state() != QProcess::NotRunning) {
            QVERIFY2(timer.elapsed() < 240000, "the writers did not finish");
            const QByteArray text = readStore();
            if (!text.isEmpty()) {
                const SettingsFile::Content content = SettingsFile::parse(text);
                QVERIFY2(content.clean && text.endsWith('\n'), text.constData());
                for (int i = 0; i < 2; ++i) {
                    const int index = content.values.value(keys[i], QStringLiteral("-1")).toInt();
                    QVERIFY2(index >= lastSeen[i] && index < writes, text.constData());
                    lastSeen[i] = index;
                }
                const auto sharedValue = content.values.constFind(shared.key());
                QVERIFY2(sharedValue != content.values.constEnd()
                        ? sharedPattern.match(*sharedValue).hasMatch()
                        : !sharedSeen,
                    text.constData());
                sharedSeen = sharedValue != content.values.constEnd();
            }
            for (QProcess &writer : writers)
                writer.waitForFinished(5);
        }
        for (QProcess &writer : writers) {
            const QString problem = finished(writer);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }

        const QString last = QString::number(writes - 1);
        const SettingsFile::Content content = SettingsFile::parse(readStore());
        QVERIFY(content.clean);
        QCOMPARE(content.values.value(keys[0]), last);
        QCOMPARE(content.values.value(keys[1]), last);
        const QStringList lastShared { QLatin1String("a:") + last, QLatin1String("b:") + last };
        QVERIFY2(
            lastShared.contains(shared.value().toString()), qPrintable(shared.value().toString()));
        QTRY_VERIFY_WITH_TIMEOUT(sharedSpy.count() >= 1, signalTimeout);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(MGConfItemTest)
#include "mgconfitemtest.moc"
