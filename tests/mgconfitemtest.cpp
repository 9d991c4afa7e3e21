// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The per-user files of the settings store: settings, from this process and others, and accounts;
// the platform's catalogue of texts.
#include "mgconfitem.h"
#include "accountservicemapper.h"
#include "settingsfile_p.h"
#include "testenvironment.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

const int signalTimeout = 20000;
// Its default is "night" in the defaults file that this test names.
const QString themeKey = QStringLiteral("/meegotouch/theme/name");

QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/glyphmorph/settings.conf");
}

void startHelper(QProcess &process, const QStringList &arguments)
{
    QStringList encoded;
    for (const QString &argument : arguments)
        encoded << QString::fromLatin1(argument.toUtf8().toPercentEncoding());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(SETTINGSWRITER), encoded);
}

bool ranCleanly(QProcess &process)
{
    process.waitForFinished(60000);
    return process.state() == QProcess::NotRunning && process.error() != QProcess::FailedToStart
        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

const QString account = QStringLiteral("/org/freedesktop/Telepathy/Account/gabble/jabber/alice0");

// In place, as an editor that keeps the file would; a given modification time is set back after.
void writeAccounts(const QByteArray &content, const QDateTime &modified = QDateTime())
{
    QVERIFY(QDir().mkpath(QFileInfo(AccountServiceMapper::accountsFilePath()).path()));
    QFile file(AccountServiceMapper::accountsFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
    QVERIFY(file.flush());
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class MGConfItemTest : public QObject
{
    Q_OBJECT

    int m_sentinels = 0;

    // Emissions are queued in order, so once the sentinel's arrives, all earlier ones have.
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
        // Defaults are read once a process, before the first item; helpers inherit the file.
        const QString defaults = QDir::home().filePath("defaults.conf");
        QVERIFY(GlyphmorphTest::writeBytes(
            defaults, "# other defaults\n" + themeKey.toUtf8() + "=night\n"));
        qputenv("GLYPHMORPH_SETTINGS_DEFAULTS", QFile::encodeName(defaults));
        QVERIFY(QDir().mkpath(QFileInfo(storePath()).path()));
    }

    void valuesAndEmissions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<bool>("emits");

        const QString key = QStringLiteral("/test/values/%1");
        const QVariant none;
        const QVariant a(QStringLiteral("a"));
        const QVariant night(QStringLiteral("night"));
        QTest::newRow("new value") << key.arg(1) << none << none << a << true;
        QTest::newRow("same value") << key.arg(3) << none << a << a << false;
        QTest::newRow("set(QVariant())") << key.arg(4) << none << a << none << true;
        QTest::newRow("over the default") << themeKey << night << none << a << true;
        QTest::newRow("back to the default") << themeKey << night << a << none << true;
        QTest::newRow("the default's own value") << themeKey << night << none << night << false;
    }

    void valuesAndEmissions()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, defaultValue);
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(bool, emits);
        const QVariant fallback(QStringLiteral("fallback"));
        const QVariant whenUnset = defaultValue.isValid() ? defaultValue : fallback;

        MGConfItem item(key);
        QCOMPARE(item.value(fallback), whenUnset);
        if (before.isValid())
            item.set(before);
        QVERIFY(settle());
        MGConfItem sibling(key);
        MGConfItem other(key + QStringLiteral("/other"));
        // Its queued emission must be dropped with it.
        auto *deleted = new MGConfItem(key);
        QSignalSpy spy(&item, &MGConfItem::valueChanged);
        QSignalSpy siblingSpy(&sibling, &MGConfItem::valueChanged);
        QSignalSpy otherSpy(&other, &MGConfItem::valueChanged);

        item.set(after);
        delete deleted;
        QCOMPARE(spy.count(), 0);
        QCOMPARE(siblingSpy.count(), 0);
        const QVariant expected = after.isValid() ? after : defaultValue;
        QCOMPARE(item.value(), expected);
        QCOMPARE(sibling.value(), expected);
        QCOMPARE(SettingsFile::parse(GlyphmorphTest::readBytes(storePath())).values.contains(key),
            after.isValid());
        QVERIFY(settle());
        QCOMPARE(spy.count(), int(emits));
        QCOMPARE(siblingSpy.count(), int(emits));
        QCOMPARE(otherSpy.count(), 0);

        item.unset();
        QCOMPARE(item.value(fallback), whenUnset);
    }

    // Each write replaces the store file, so every change must renew the watch.
    void changesByAnotherProcess()
    {
        MGConfItem item(themeKey);
        QSignalSpy spy(&item, &MGConfItem::valueChanged);

        const QString tricky = QString::fromUtf8("Grüße 😀\nx=y");
        const QList<QPair<QStringList, QVariant>> steps { { { "set", themeKey, "day" }, "day" },
            { { "set", themeKey, tricky }, tricky }, { { "set", themeKey }, "night" } };
        for (int i = 0; i < steps.size(); ++i) {
            QProcess helper;
            startHelper(helper, steps.at(i).first);
            QTRY_COMPARE_WITH_TIMEOUT(spy.count(), i + 1, signalTimeout);
            QVERIFY(ranCleanly(helper));
            QCOMPARE(item.value(), steps.at(i).second);
        }
    }

    // Unreadable lines among good ones: any other bytes are the settings file fuzz target's.
    void damagedStoreFile()
    {
        const QByteArray content = "/test/damaged/kept=yes\nno separator\n/bad\\q=x\n"
                                   "/test/damaged/written=dangling\\";
        QVERIFY(GlyphmorphTest::writeBytes(storePath(), content));
        MGConfItem kept(QStringLiteral("/test/damaged/kept"));
        MGConfItem written(QStringLiteral("/test/damaged/written"));
        QCOMPARE(kept.value(), QVariant("yes"));
        QCOMPARE(written.value(), QVariant());

        written.set(QStringLiteral("new"));
        const SettingsFile::Content after
            = SettingsFile::parse(GlyphmorphTest::readBytes(storePath()));
        QVERIFY(after.clean);
        QCOMPARE(after.values.value(written.key()), QStringLiteral("new"));
        QCOMPARE(after.values.value(kept.key()), QStringLiteral("yes"));
        // The rewrite drops the unreadable lines, so the old file is kept for the user.
        QCOMPARE(GlyphmorphTest::readBytes(storePath() + ".corrupt"), content);
    }

    void concurrentWritersLoseNothing()
    {
        const int writes = 100;
        const QString prefix = QStringLiteral("/test/concurrent/");
        const QString names[2] = { QStringLiteral("a"), QStringLiteral("b") };
        QVERIFY(GlyphmorphTest::writeBytes(storePath(), "# before the writers\n"));
        QProcess writers[2];
        for (int i = 0; i < 2; ++i)
            startHelper(
                writers[i], { QStringLiteral("hammer"), names[i], QString::number(writes) });

        // While they run, every state of the file parses whole.
        const QDeadlineTimer deadline(240000);
        while (writers[0].state() != QProcess::NotRunning
            || writers[1].state() != QProcess::NotRunning) {
            QVERIFY2(!deadline.hasExpired(), "the writers did not finish");
            const QByteArray bytes = GlyphmorphTest::readBytes(storePath());
            QVERIFY2(SettingsFile::parse(bytes).clean && bytes.endsWith('\n'), bytes.constData());
            for (QProcess &writer : writers)
                writer.waitForFinished(5);
        }
        for (QProcess &writer : writers)
            QVERIFY(ranCleanly(writer));

        const QString last = QString::number(writes - 1);
        const SettingsFile::Content content
            = SettingsFile::parse(GlyphmorphTest::readBytes(storePath()));
        QCOMPARE(content.values.value(prefix + names[0]), last);
        QCOMPARE(content.values.value(prefix + names[1]), last);
        const QString shared = content.values.value(prefix + QStringLiteral("shared"));
        QVERIFY2(shared == names[0] + u':' + last || shared == names[1] + u':' + last,
            qPrintable(shared));
    }

    void mapping_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("service");
        // '@' stands for the account looked up.
        const auto row = [](const char *name, const char *content, const char *service) {
            QTest::newRow(name) << QByteArray(content).replace('@', account.toUtf8())
                                << QString(service);
        };
        row("spaces, comments", "# accounts\n\n  @ \t=  jabber  # at work\n", "jabber");
        row("'=' in the service, no final newline", "@=skype=legacy", "skype=legacy");
        row("last row wins, CRLF line ends", "@=first\r\n@=msn\r\n/other=x\r\n", "msn");
        row("commented out, empty or malformed", "# @=hidden\n@=\nno separator\n=orphan\n",
            nullptr);
    }

    void mapping()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, service);
        writeAccounts(content);
        const QString mapped = AccountServiceMapper().ssoServiceIDForTpAccount(account);
        QCOMPARE(mapped, service);
        QCOMPARE(mapped.isNull(), service.isNull());
        QVERIFY(AccountServiceMapper().ssoServiceIDForTpAccount(QString()).isNull());
    }

    void rereadsAfterChange()
    {
        QFile::remove(AccountServiceMapper::accountsFilePath());
        AccountServiceMapper mapper;
        QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());

        const QDateTime lastWeek = QDateTime::currentDateTimeUtc().addDays(-7);
        writeAccounts(account.toUtf8() + "=one\n", lastWeek);
        QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("one"));
        // Same size and modification time as the content read before: only the content differs.
        writeAccounts(account.toUtf8() + "=two\n", lastWeek);
        QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("two"));

        QVERIFY(QFile::remove(AccountServiceMapper::accountsFilePath()));
        QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());
    }

    void idReadsAsItsText_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("text");

        // Every message of the source catalogue, so none is lost on the way into the library; the
        // texts themselves are checked where they show (the picker's title, the theme's name).
        QFile source(QStringLiteral(GLYPHMORPH_CATALOGUE_SOURCE));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&source);
        QString id;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("message")) {
                id = xml.attributes().value(QLatin1String("id")).toString();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString text = xml.readElementText();
                QTest::newRow(qPrintable(QStringLiteral("catalogue: ") + id)) << id << text;
                ++messages;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages >= 2);
    }

    // The library installs its catalogue by itself, as it is loaded.
    void idReadsAsItsText()
    {
        QFETCH(QString, id);
        QVERIFY(!id.isEmpty());
        QTEST(qtTrId(id.toUtf8().constData()), "text");
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(MGConfItemTest)
#include "mgconfitemtest.moc"
