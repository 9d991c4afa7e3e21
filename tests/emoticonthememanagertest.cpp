// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"
#include "themedirectory.h"

#include <accountservicemapper.h>
#include <emoticonthememanager.h>
#include <emoticonthemeresourceavailabilitychecker_p.h>
#include <mgconfitem.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using GlyphmorphTest::ThemeContent;
using GlyphmorphTest::writeTheme;

namespace {

const QString defaultUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QString currentKey = QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme");

QVariant storedCurrentTheme()
{
    return MGConfItem(currentKey).value();
}

// Records the manager's signals in the order they are emitted.
class SignalLog : public QObject
{
    Q_OBJECT

public:
    explicit SignalLog(EmoticonThemeManager *manager)
    {
        connect(manager, &EmoticonThemeManager::themeAdded, this,
            [this](const QString &service, const QString &uuid) {
                entries << QStringLiteral("added ") + service + QLatin1Char(' ') + uuid;
            });
        connect(manager, &EmoticonThemeManager::themeRemoved, this,
            [this](const QString &uuid) { entries << QStringLiteral("removed ") + uuid; });
        connect(manager, &EmoticonThemeManager::currentThemeChanged, this,
            [this](const QString &uuid) { entries << QStringLiteral("current ") + uuid; });
        connect(manager, &EmoticonThemeManager::availableThemesChanged, this,
            [this] { entries << QStringLiteral("available"); });
    }

    QStringList entries;
};

} // namespace

class EmoticonThemeManagerTest : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_root;

    QString themeDirectory(const QString &name) const
    {
        return QDir(m_root->path()).filePath(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString accounts = AccountServiceMapper::accountsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(accounts).path()));
        QVERIFY(GlyphmorphTest::writeBytes(accounts, "/account/jabber=service-s\n"));
    }

    void init()
    {
        m_root.reset(new QTemporaryDir);
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root->path()));
        MGConfItem(currentKey).unset();
    }

    void freshUserGetsTheBuiltInTheme()
    {
        EmoticonThemeManager manager;
        QCOMPARE(manager.currentTheme(), defaultUUID);
        QCOMPARE(manager.emoticonThemes().keys(), QList<QString> { defaultUUID });
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("/account/unknown")).themeUUID(),
            defaultUUID);
        QVERIFY(!storedCurrentTheme().isValid());
    }

    void serviceThemesTakePrecedence()
    {
        QVERIFY(!writeTheme(m_root->path(), QStringLiteral("Jabber"),
            ThemeContent { QStringLiteral("uuid-jabber"), QStringLiteral("service-s") })
                     .isEmpty());
        QVERIFY(!writeTheme(m_root->path(), QStringLiteral("One"),
            ThemeContent { QStringLiteral("uuid-one"), QStringLiteral("Service1") })
                     .isEmpty());
        EmoticonThemeManager manager;
        QCOMPARE(manager.emoticonThemes().size(), 3);
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("/account/jabber")).themeUUID(),
            QStringLiteral("uuid-jabber"));
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("Service1")).themeUUID(),
            QStringLiteral("uuid-one"));
        QCOMPARE(
            manager.themeForAccountPath(QStringLiteral("/account/other")).themeUUID(), defaultUUID);
        QCOMPARE(manager.themeForServiceUUID(QStringLiteral("service-s")).themeUUID(),
            QStringLiteral("uuid-jabber"));
        QVERIFY(!manager.themeForServiceUUID(QStringLiteral("none")).isValid());
    }

    void signalsOfAdditionAndRemoval()
    {
        EmoticonThemeManager manager;
        SignalLog log(&manager);
        const QString staging
            = writeTheme(m_root->path() + QStringLiteral("-staging"), QStringLiteral("Jabber"),
                ThemeContent { QStringLiteral("uuid-jabber"), QStringLiteral("service-s") });
        QVERIFY(QDir().rename(staging, themeDirectory(QStringLiteral("Jabber"))));
        QTRY_COMPARE(log.entries, QStringList({ "added service-s uuid-jabber", "available" }));
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("/account/jabber")).themeUUID(),
            QStringLiteral("uuid-jabber"));

        QVERIFY(QDir(themeDirectory(QStringLiteral("Jabber"))).removeRecursively());
        QTRY_COMPARE(log.entries.size(), 4);
        QCOMPARE(log.entries.mid(2), QStringList({ "removed uuid-jabber", "available" }));
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("/account/jabber")).themeUUID(),
            defaultUUID);
    }

    // Lookups fall back at once; the user's choice survives a reinstall and is reset only when
    // the theme stays away.
    void removedCurrentTheme_data()
    {
        QTest::addColumn<bool>("reinstall");
        QTest::newRow("reinstalled") << true;
        QTest::newRow("gone for good") << false;
    }
    void removedCurrentTheme()
    {
        QFETCH(bool, reinstall);
        // As long as a copy may take to be seen whole, shortened.
        const int grace = 1000;
        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(grace);
        const ThemeContent plain { QStringLiteral("uuid-plain"), QString() };
        QVERIFY(!writeTheme(m_root->path(), QStringLiteral("Plain"), plain).isEmpty());
        MGConfItem(currentKey).set(plain.uuid);
        EmoticonThemeManager manager;
        SignalLog log(&manager);
        QCOMPARE(manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), plain.uuid);

        QVERIFY(QDir(themeDirectory(QStringLiteral("Plain"))).removeRecursively());
        // No themeRemoved for a theme without a service.
        QTRY_COMPARE(log.entries, QStringList { "available" });
        QCOMPARE(
            manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), defaultUUID);
        QCOMPARE(storedCurrentTheme().toString(), plain.uuid);
        if (reinstall) {
            QVERIFY(!writeTheme(m_root->path(), QStringLiteral("Plain"), plain).isEmpty());
            QTRY_COMPARE(
                manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), plain.uuid);
        }
        QTRY_COMPARE_WITH_TIMEOUT(
            storedCurrentTheme().toString(), reinstall ? plain.uuid : defaultUUID, grace * 3);
        if (reinstall) {
            // Past the grace period, the choice still stands.
            QTest::qWait(grace * 2);
            QCOMPARE(storedCurrentTheme().toString(), plain.uuid);
        } else {
            // Nothing was noticed before the manager came up, so the notice carries no UUID.
            QTRY_COMPARE(log.entries, QStringList({ "available", "current " }));
        }
        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(0);
    }

    void currentThemeChangeCarriesThePreviousTheme()
    {
        EmoticonThemeManager manager;
        SignalLog log(&manager);
        manager.setCurrentTheme(QStringLiteral("uuid-y"));
        manager.setCurrentTheme(QStringLiteral("uuid-z"));
        // The process's own first change is told too; nothing was noticed before it.
        QTRY_COMPARE(log.entries, QStringList { "current " });
        QCOMPARE(manager.currentTheme(), QStringLiteral("uuid-z"));

        // Another process of the user changes it.
        QProcess writer;
        writer.start(QStringLiteral(SETTINGSWRITER),
            { QStringLiteral("set"), QString::fromLatin1(currentKey.toUtf8().toPercentEncoding()),
                QStringLiteral("uuid-w") });
        QVERIFY(writer.waitForFinished(60000) && writer.exitCode() == 0);
        QTRY_COMPARE(log.entries, QStringList({ "current ", "current uuid-z" }));
        QCOMPARE(manager.currentTheme(), QStringLiteral("uuid-w"));
    }

    void unknownCurrentThemeFallsBack()
    {
        MGConfItem(currentKey).set(QStringLiteral("uuid-gone"));
        EmoticonThemeManager manager;
        QCOMPARE(
            manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), defaultUUID);
        QCOMPARE(storedCurrentTheme().toString(), defaultUUID);
    }

    // A chosen theme whose directory is still being checked keeps the user's choice.
    void pendingCurrentThemeIsKept()
    {
        const ThemeContent content { QStringLiteral("uuid-slow"), QString() };
        const QString directory
            = writeTheme(m_root->path(), QStringLiteral("Slow"), content, false);
        MGConfItem(currentKey).set(content.uuid);
        EmoticonThemeManager manager;
        QCOMPARE(
            manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), defaultUUID);
        QCOMPARE(storedCurrentTheme().toString(), content.uuid);

        QVERIFY(GlyphmorphTest::writeImages(directory, content));
        QTRY_COMPARE(
            manager.themeForAccountPath(QStringLiteral("/account/x")).themeUUID(), content.uuid);
    }

    void installedThemeWithTheBuiltInUUID()
    {
        QVERIFY(!writeTheme(
            m_root->path(), QStringLiteral("Impostor"), ThemeContent { defaultUUID, QString() })
                     .isEmpty());
        EmoticonThemeManager manager;
        QCOMPARE(manager.emoticonThemes().value(defaultUUID).themeName(),
            QStringLiteral("Theme ") + defaultUUID);
        QVERIFY(QDir(themeDirectory(QStringLiteral("Impostor"))).removeRecursively());
        QTRY_VERIFY(manager.emoticonThemes().isEmpty());
        QVERIFY(!manager.themeForAccountPath(QStringLiteral("/account/x")).isValid());
    }
};

GLYPHMORPH_TEST_MAIN(EmoticonThemeManagerTest)
#include "emoticonthememanagertest.moc"
