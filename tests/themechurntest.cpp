// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Themes installed, completed, broken, renamed, replaced and deleted in random order under a
// running application: in the end the registry holds exactly the valid themes, the user's choice
// stands if its theme survived, and the picker shows the theme that text uses.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonselectorwidget.h>
#include <emoticonthememanager.h>
#include <mgconfitem.h>

#include <QRandomGenerator>

#include <map>

using GlyphmorphTest::ThemeContent;

namespace {

const char account[] = "/account/churn";

// What the test believes each directory holds.
struct Installed
{
    QString uuid;
    bool complete = false; // description and images
    bool broken = false; // a description that is no theme
};

} // namespace

class ThemeChurnTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    std::map<QString, Installed> m_model;
    int m_uuids = 0;

    QString path(const QString &name) const { return QDir(m_root.path()).filePath(name); }

    // Written beside the root and renamed in, or written in place, as installers do.
    void install(const QString &name, const QString &uuid, bool complete, bool inPlace)
    {
        const ThemeContent content { uuid, QString() };
        QVERIFY(!(inPlace ? GlyphmorphTest::writeTheme : GlyphmorphTest::moveInTheme)(
            m_root.path(), name, content, complete)
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
            Installed moved = any->second;
            m_model.erase(any);
            moved.complete = false;
            moved.broken = true;
            m_model[to] = moved;
            break;
        }
        case 4: // replaced in one go: a reinstall keeps the UUID, an update may not
            QVERIFY(QDir(path(name)).removeRecursively());
            install(name, random.bounded(2) ? any->second.uuid : freshUUID(), true,
                random.bounded(2) == 0);
            break;
        case 5:
            QVERIFY(QDir(path(name)).removeRecursively());
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
    void initTestCase() { qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root.path())); }

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
                QVERIFY(QDir(path("Chosen")).removeRecursively());
                install("Chosen", "chosen", true, true);
            }
        }

        // A last burst while the application is busy, so there is something to converge on.
        for (int i = 0; i < 5; ++i)
            install(QStringLiteral("Last%1").arg(i), freshUUID(), true, i % 2 == 0);
        QVERIFY(QDir(path("Chosen")).removeRecursively());
        install("Chosen", "chosen", true, false);
        const QString builtIn = EmoticonThemeManager::defaultThemeUUID();
        const auto registered = [manager, &builtIn] {
            QStringList uuids = manager->emoticonThemes().keys();
            uuids.removeOne(builtIn);
            uuids.sort();
            return uuids;
        };
        QTRY_COMPARE_WITH_TIMEOUT(registered(), validUUIDs(), 30000);

        const bool chosenSurvived = validUUIDs().contains(QStringLiteral("chosen"));
        if (chosenSurvived)
            QCOMPARE(
                MGConfItem("/Messaging/Settings/CurrentCustomEmoticonTheme").value().toString(),
                QStringLiteral("chosen"));
        const auto pickerFollowsText = [&picker, manager] {
            return picker.emoticonTheme().characterCodeSequenceSearchTree()
                == manager->themeForAccountPath(QLatin1String(account))
                       .characterCodeSequenceSearchTree();
        };
        QTRY_VERIFY(pickerFollowsText());
        delete manager;
    }
};

GLYPHMORPH_TEST_MAIN(ThemeChurnTest)
#include "themechurntest.moc"
