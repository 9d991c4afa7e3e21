// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The registry of themes: the current theme, service themes, their signals, the table that lists
// them, and themes changing at random under a running application; the shared instances.
#include "testenvironment.h"
#include "themedirectory.h"

#include <accountservicemapper.h>
#include <emoticonselectorwidget.h>
#include <emoticonthememanager.h>
#include <emoticonthemeresourceavailabilitychecker_p.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <themetablemodel.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <map>

using namespace GlyphmorphTest;

namespace {

const QString defaultUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QString emojiUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
const QString currentKey = QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme");

QString storedCurrentTheme()
{
    return MGConfItem(currentKey).value().toString();
}

// Records the manager's signals in the order they are emitted; @p log must outlive the manager,
// which may still emit as it goes.
void record(EmoticonThemeManager &manager, QStringList &log)
{
    QObject::connect(&manager, &EmoticonThemeManager::themeAdded,
        [&log](const QString &service, const QString &uuid) {
            log << "added " + service + ' ' + uuid;
        });
    QObject::connect(&manager, &EmoticonThemeManager::themeRemoved,
        [&log](const QString &uuid) { log << "removed " + uuid; });
    QObject::connect(&manager, &EmoticonThemeManager::currentThemeChanged,
        [&log](const QString &uuid) { log << "current " + uuid; });
    QObject::connect(
        &manager, &EmoticonThemeManager::availableThemesChanged, [&log] { log << "available"; });
}

QString themeFor(EmoticonThemeManager &manager, const char *account)
{
    return manager.themeForAccountPath(QLatin1String(account)).themeUUID();
}

EmoticonTheme theme(const QString &name)
{
    EmoticonTheme theme;
    theme.setThemeName(name);
    theme.setThemeUUID("uuid-" + name);
    theme.setPreviewPixmapName("preview_uuid-" + name);
    return theme;
}

QStringList names(const ThemeTableModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row, 0)).toString();
    return names;
}

const char account[] = "/account/churn";

// Shaped like the library's singletons: QObject first, so the base sits at an offset.
class Shared : public QObject, public SingletonBase<Shared>
{
public:
    char payload[64] = {};
};

// What the test believes each directory holds.
struct Installed
{
    QString uuid;
    bool complete = false; // description and images
    bool broken = false; // a description that is no theme
};

} // namespace

class EmoticonThemeManagerTest : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_root;

    std::map<QString, Installed> m_model;
    int m_uuids = 0;

    QString root() const { return m_root->path(); }
    QString path(const QString &name) const { return m_root->filePath(name); }
    bool removeTheme(const QString &name) const { return QDir(path(name)).removeRecursively(); }

    // Written beside the root and renamed in, or written in place, as installers do.
    void install(const QString &name, const QString &uuid, bool complete, bool inPlace)
    {
        const ThemeContent content { uuid, QString() };
        QVERIFY(!(inPlace ? GlyphmorphTest::writeTheme : GlyphmorphTest::moveInTheme)(
            root(), name, content, complete)
                     .isEmpty());
        m_model[name] = { uuid, complete, false };
    }

    QString freshUUID() { return QStringLiteral("churn-%1").arg(++m_uuids); }

    void step(QRandomGenerator &random)
    {
        const int count = int(m_model.size());
        auto any = m_model.begin();
        std::advance(any, random.bounded(count));
        const QString name = any->first;
        // New themes and completions twice as often as each kind of damage.
        static const int operations[] = { 0, 0, 1, 1, 2, 3, 4, 5, 6 };
        const int operation = count < 20 ? 0 : operations[random.bounded(9)];
        // The chosen theme is changed on purpose only.
        if (operation > 0 && operation < 6 && name == QLatin1String("Chosen"))
            return;
        switch (operation) {
        case 0: // a new theme, complete or still arriving
            install(QStringLiteral("T%1").arg(m_uuids), freshUUID(), random.bounded(3) > 0,
                random.bounded(2) == 0);
            break;
        case 1: // the images arrive
            if (!any->second.complete && !any->second.broken) {
                QVERIFY(GlyphmorphTest::writeImages(path(name), { any->second.uuid, QString() }));
                any->second.complete = true;
            }
            break;
        case 2: // a description that is no theme, renamed over the old one
            QVERIFY(GlyphmorphTest::writeBytes(
                QDir(path(name)).filePath(name + QStringLiteral(".xml")), "<broken/>"));
            any->second.broken = true;
            break;
        case 3: { // renamed: the description keeps the old name, so the theme is incomplete
            const QString to = name + QStringLiteral("r");
            if (m_model.count(to))
                break;
            QVERIFY(QDir().rename(path(name), path(to)));
            m_model[to] = { any->second.uuid, false, true };
            m_model.erase(any);
            break;
        }
        case 4: // replaced in one go: a reinstall keeps the UUID, an update may not
            QVERIFY(removeTheme(name));
            install(name, random.bounded(2) ? any->second.uuid : freshUUID(), true,
                random.bounded(2) == 0);
            break;
        case 5:
            QVERIFY(removeTheme(name));
            m_model.erase(any);
            break;
        default: // the application gets a moment between changes
            QCoreApplication::processEvents();
            break;
        }
    }

    QStringList validUUIDs() const
    {
        QStringList uuids;
        for (const auto &entry : m_model) {
            if (entry.second.complete && !entry.second.broken)
                uuids << entry.second.uuid;
        }
        uuids.sort();
        uuids.removeDuplicates();
        return uuids;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString accounts = AccountServiceMapper::accountsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(accounts).path()));
        QVERIFY(writeBytes(accounts, "/account/jabber=service-s\n"));
    }

    void init()
    {
        m_root.reset(new QTemporaryDir);
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(root()));
        MGConfItem(currentKey).unset();
    }

    // Without a choice, the built-in theme serves accounts without a service theme, and the
    // manager stores no choice for the user; service themes come and go with their signals.
    void serviceThemes()
    {
        QVERIFY(!writeTheme(root(), "Jabber", { "uuid-jabber", "service-s" }).isEmpty());
        QVERIFY(!writeTheme(root(), "One", { "uuid-one", "Service1" }).isEmpty());
        QStringList log;
        EmoticonThemeManager manager;
        record(manager, log);
        QCOMPARE(manager.currentTheme(), defaultUUID);
        QCOMPARE(manager.emoticonThemes().size(), 4); // with the built-in and the Emoji theme
        QCOMPARE(themeFor(manager, "/account/jabber"), QStringLiteral("uuid-jabber"));
        QCOMPARE(themeFor(manager, "Service1"), QStringLiteral("uuid-one"));
        QCOMPARE(themeFor(manager, "/account/other"), defaultUUID);
        QCOMPARE(
            manager.themeForServiceUUID("service-s").themeUUID(), QStringLiteral("uuid-jabber"));
        QVERIFY(!manager.themeForServiceUUID("none").isValid());
        QVERIFY(!MGConfItem(currentKey).value().isValid());

        QVERIFY(removeTheme("Jabber"));
        QTRY_COMPARE(log, QStringList({ "removed uuid-jabber", "available" }));
        QCOMPARE(themeFor(manager, "/account/jabber"), defaultUUID);
        QVERIFY(!moveInTheme(root(), "Jabber", { "uuid-jabber", "service-s" }).isEmpty());
        QTRY_COMPARE(log.mid(2), QStringList({ "added service-s uuid-jabber", "available" }));
        QCOMPARE(themeFor(manager, "/account/jabber"), QStringLiteral("uuid-jabber"));
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
        // Short where the theme stays away; where it comes back, long and ended by hand, so that no
        // busy machine ends it before the copy is seen.
        const int grace = reinstall ? 600000 : 1000;
        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(grace);
        const ThemeContent plain { "uuid-plain", {} };
        QVERIFY(!writeTheme(root(), "Plain", plain).isEmpty());
        MGConfItem(currentKey).set(plain.uuid);
        QStringList log;
        EmoticonThemeManager manager;
        record(manager, log);
        QCOMPARE(themeFor(manager, "/account/x"), plain.uuid);

        QVERIFY(removeTheme("Plain"));
        // No themeRemoved for a theme without a service.
        QTRY_COMPARE(log, QStringList { "available" });
        QCOMPARE(themeFor(manager, "/account/x"), defaultUUID);
        QCOMPARE(storedCurrentTheme(), plain.uuid);
        if (reinstall) {
            QVERIFY(!writeTheme(root(), "Plain", plain).isEmpty());
            QTRY_COMPARE(themeFor(manager, "/account/x"), plain.uuid);
            // Past the grace period, the choice still stands.
            QVERIFY(QMetaObject::invokeMethod(&manager, "handleRemovalGraceOver"));
            QCOMPARE(storedCurrentTheme(), plain.uuid);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(storedCurrentTheme(), defaultUUID, 60000);
            // Nothing was noticed before the manager came up, so the notice carries no UUID.
            QTRY_COMPARE(log, QStringList({ "available", "current " }));
        }
        EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(0);
    }

    void currentThemeChangeCarriesThePreviousTheme()
    {
        QStringList log;
        EmoticonThemeManager manager;
        record(manager, log);
        manager.setCurrentTheme("uuid-y");
        manager.setCurrentTheme("uuid-z");
        // The process's own first change is told too; nothing was noticed before it.
        QTRY_COMPARE(log, QStringList { "current " });
        QCOMPARE(manager.currentTheme(), QStringLiteral("uuid-z"));

        // Another process of the user changes it.
        QProcess writer;
        writer.start(SETTINGSWRITER, { "set", currentKey.toUtf8().toPercentEncoding(), "uuid-w" });
        QVERIFY(writer.waitForFinished(60000) && writer.exitCode() == 0);
        QTRY_COMPARE(log, QStringList({ "current ", "current uuid-z" }));
        QCOMPARE(manager.currentTheme(), QStringLiteral("uuid-w"));
    }

    // A chosen theme that is unknown is set back when asked for, unless its directory is still
    // being checked.
    void unknownCurrentTheme_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::newRow("unknown") << false;
        QTest::newRow("still being checked") << true;
    }
    void unknownCurrentTheme()
    {
        QFETCH(bool, pending);
        const ThemeContent slow { "uuid-slow", {} };
        const QString directory = pending ? writeTheme(root(), "Slow", slow, false) : QString();
        MGConfItem(currentKey).set(slow.uuid);
        EmoticonThemeManager manager;
        QCOMPARE(themeFor(manager, "/account/x"), defaultUUID);
        QCOMPARE(storedCurrentTheme(), pending ? slow.uuid : defaultUUID);
        if (pending) {
            QVERIFY(writeImages(directory, slow));
            QTRY_COMPARE(themeFor(manager, "/account/x"), slow.uuid);
        }
    }

    void installedThemeWithTheBuiltInUUID()
    {
        QVERIFY(!writeTheme(root(), "Impostor", { defaultUUID, {} }).isEmpty());
        EmoticonThemeManager manager;
        QCOMPARE(manager.emoticonThemes().value(defaultUUID).themeName(), "Theme " + defaultUUID);
        QVERIFY(removeTheme("Impostor"));
        QTRY_COMPARE(manager.emoticonThemes().keys(), QStringList { emojiUUID });
        QVERIFY(!manager.themeForAccountPath("/account/x").isValid());
    }

    // Each on the rows "T0 T1", which setData() appended to an empty model.
    void setData_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("insertedRow"); // -1: none
        QTest::addColumn<int>("changedRow"); // -1: none
        const QVariant a = QVariant::fromValue(theme("A"));
        QTest::newRow("beyond the end, at the end") << 7 << 1 << a << "T0 T1 A" << 2 << -1;
        QTest::newRow("replace first row") << 0 << 0 << a << "A T1" << -1 << 0;
        QTest::newRow("string") << 0 << 0 << QVariant("A") << "T0 T1" << -1 << -1;
        QTest::newRow("negative row") << -1 << 0 << a << "T0 T1" << -1 << -1;
    }

    void setData()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QString, after);
        QFETCH(int, insertedRow);
        QFETCH(int, changedRow);
        ThemeTableModel model;
        for (int i = 0; i < 2; ++i)
            QVERIFY(model.setData(model.index(i, 0),
                QVariant::fromValue(theme("T" + QString::number(i))), Qt::DisplayRole));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        QCOMPARE(model.setData(model.index(row, column), value, Qt::DisplayRole), after != "T0 T1");
        QCOMPARE(names(model).join(' '), after);
        QCOMPARE(inserted.size(), insertedRow < 0 ? 0 : 1);
        if (insertedRow >= 0)
            QCOMPARE(inserted[0].mid(1), QVariantList({ insertedRow, insertedRow }));
        QCOMPARE(changed.size(), changedRow < 0 ? 0 : 1);
        if (changedRow >= 0) {
            QCOMPARE(changed[0][0].toModelIndex(), model.index(changedRow, 0));
            QCOMPARE(changed[0][1].toModelIndex(), model.index(changedRow, 1));
        }
    }

    // Themes installed, completed, broken, renamed, replaced and deleted in random order under a
    // running application: in the end the registry holds exactly the valid themes, the user's
    // choice stands if its theme survived, and the picker shows the theme that text uses.
    void churn()
    {
        // The user's choice is a theme that is reinstalled (removed, then the same UUID again).
        install("Chosen", "chosen", true, false);
        SingletonBase<EmoticonThemeManager>::m_pInstance = new EmoticonThemeManager;
        EmoticonThemeManager *manager = SingletonBase<EmoticonThemeManager>::m_pInstance;
        manager->setCurrentTheme("chosen");
        EmoticonSelectorWidget picker;
        picker.setServiceName(QLatin1String(account));
        QTRY_COMPARE(picker.emoticonTheme().themeUUID(), QStringLiteral("chosen"));

        QRandomGenerator random(20261206);
        for (int i = 0; i < 1000 && m_uuids < 200; ++i) {
            step(random);
            if (QTest::currentTestFailed())
                return;
            if (i == 400) {
                QVERIFY(removeTheme("Chosen"));
                install("Chosen", "chosen", true, true);
            }
        }

        // A last burst while the application is busy, so there is something to converge on.
        for (int i = 0; i < 5; ++i)
            install(QStringLiteral("Last%1").arg(i), freshUUID(), true, i % 2 == 0);
        QVERIFY(removeTheme("Chosen"));
        install("Chosen", "chosen", true, false);
        const QString builtIn = EmoticonThemeManager::defaultThemeUUID();
        const auto registered = [manager, &builtIn] {
            QStringList uuids = manager->emoticonThemes().keys();
            uuids.removeOne(builtIn);
            uuids.removeOne(emojiUUID);
            uuids.sort();
            return uuids;
        };
        QTRY_COMPARE_WITH_TIMEOUT(registered(), validUUIDs(), 30000);

        const bool chosenSurvived = validUUIDs().contains(QStringLiteral("chosen"));
        if (chosenSurvived)
            QCOMPARE(storedCurrentTheme(), QStringLiteral("chosen"));
        const auto pickerFollowsText = [&picker, manager] {
            return picker.emoticonTheme().characterCodeSequenceSearchTree()
                == manager->themeForAccountPath(QLatin1String(account))
                       .characterCodeSequenceSearchTree();
        };
        QTRY_VERIFY(pickerFollowsText());
        delete manager;
    }

    // Only the instance clears the pointer, also when deleted through its base; the library's
    // destructors and its users reach one and the same pointer.
    void deletingTheInstanceClearsThePointer()
    {
        auto *instance = new Shared;
        Shared::m_pInstance = instance;
        delete new Shared;
        {
            Shared onStack;
        }
        QCOMPARE(Shared::m_pInstance, instance);
        SingletonBase<Shared> *base = instance;
        delete base;
        QVERIFY(!Shared::m_pInstance);

        // The instance the tests above made first: replaced, it would leak.
        delete AccountServiceMapper::m_pInstance;
        AccountServiceMapper::m_pInstance = new AccountServiceMapper;
        delete AccountServiceMapper::m_pInstance;
        QVERIFY(!AccountServiceMapper::m_pInstance);
        Glyphmorpher::m_pInstance = new Glyphmorpher;
        QVERIFY(Glyphmorpher::m_pInstance->qt_metacast("SingletonBase<Glyphmorpher>"));
        delete Glyphmorpher::m_pInstance;
        QVERIFY(!Glyphmorpher::m_pInstance);
    }
};

GLYPHMORPH_TEST_MAIN(EmoticonThemeManagerTest)
#include "emoticonthememanagertest.moc"
