// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonselectorwidget.h>
#include <emoticonselectorwidgetview.h>
#include <emoticonthememanager.h>
#include <mbutton.h>
#include <mdialog.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mlibrary.h>
#include <mscenemanager.h>
#include <mwidgetcreator.h>
#include <mwindow.h>

#include <QSignalSpy>

namespace {
const char account[] = "/org/freedesktop/Telepathy/Account/test/jabber/me";

// A theme of @p count emoticons, declared in reverse order of their picker positions: emoticon
// at position p has the code ":pP:" and the image "pP.png".
void installTheme(const QString &root, const QString &uuid, int count)
{
    GlyphmorphTest::ThemeContent content { uuid, {}, {},
        GlyphmorphTest::ThemeContent::Positions::Reversed };
    for (int p = count - 1; p >= 0; --p)
        content.images << "p" + QString::number(p);
    QVERIFY(!GlyphmorphTest::writeTheme(root, uuid, content).isEmpty());
}

// A widget that counts the calls its theme manager connections make.
class CountingSelector : public EmoticonSelectorWidget
{
    Q_OBJECT
public:
    int calls = 0;
public Q_SLOTS:
    void handleThemeChanged()
    {
        ++calls;
        EmoticonSelectorWidget::handleThemeChanged();
    }
};

// The grid as rows of alignments ("L", "C", "R") joined by "/"; the buttons must hold the
// emoticons in picker order, row by row.
QString grid(const MGridLayoutPolicy *policy)
{
    QStringList rows;
    int next = 0;
    for (int row = 0; row < policy->rowCount(); ++row) {
        QString cells;
        for (int column = 0; column < policy->columnCount(); ++column) {
            if (const auto *button = static_cast<MButton *>(policy->itemAt(row, column))) {
                const bool inOrder
                    = QFileInfo(button->text()).baseName() == "p" + QString::number(next++);
                cells += inOrder ? button->styleName().at(19) : QChar('?');
            }
        }
        rows << cells;
    }
    return rows.join('/');
}
} // namespace

class EmoticonSelectorTest : public QObject
{
    Q_OBJECT

    QTemporaryDir themesRoot;
    MWindow *window = nullptr;

    EmoticonThemeManager *manager() const
    {
        return SingletonBase<EmoticonThemeManager>::m_pInstance;
    }

    void useTheme(const QString &uuid)
    {
        if (manager()->currentTheme() == uuid)
            return;
        QSignalSpy changed(manager(), SIGNAL(currentThemeChanged(QString)));
        manager()->setCurrentTheme(uuid);
        QVERIFY(changed.wait());
    }

    // A selector on the window's scene, filled with the current theme unless @p fill is false.
    std::unique_ptr<EmoticonSelectorWidget> selector(bool fill = true)
    {
        std::unique_ptr<EmoticonSelectorWidget> widget(static_cast<EmoticonSelectorWidget *>(
            MWidgetCreatorBase::createWidget(QStringLiteral("EmoticonSelectorWidget"))));
        window->scene()->addItem(widget.get());
        if (fill)
            widget->setServiceName(QLatin1String(account));
        return widget;
    }

    MDialog *shownDialog() const { return window->sceneManager()->sceneWindows().value(0); }

    static QList<MGridLayoutPolicy *> policies(const MDialog *dialog)
    {
        QList<MGridLayoutPolicy *> grids;
        const auto *layout = static_cast<MLayout *>(dialog->centralWidget()->layout());
        for (MAbstractLayoutPolicy *policy : layout->registeredPolicies())
            grids.append(static_cast<MGridLayoutPolicy *>(policy));
        return grids;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(themesRoot.path()));
        installTheme(themesRoot.path(), "five", 5);
        installTheme(themesRoot.path(), "eight", 8);
        window = new MWindow;
        window->resize(800, 480);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        SingletonBase<EmoticonThemeManager>::m_pInstance = new EmoticonThemeManager;
        QCOMPARE(manager()->emoticonThemes().size(), 3);
        useTheme("five");
    }

    void cleanupTestCase()
    {
        delete manager();
        delete window;
    }

    // A second setServiceName must not connect the manager's signals twice.
    void widgetTakesServiceThemeAndConnectsOnce()
    {
        CountingSelector widget;
        QVERIFY(!widget.emoticonTheme().isValid());
        QSignalSpy changed(&widget, SIGNAL(emoticonThemeChanged()));
        widget.setServiceName(QLatin1String(account));
        widget.setServiceName(QLatin1String(account));
        QCOMPARE(widget.emoticonTheme().themeUUID(), QStringLiteral("five"));
        Q_EMIT manager()->themeRemoved(QString());
        QCOMPARE(widget.calls, 1);
        QCOMPARE(changed.count(), 0); // the theme stayed the same
    }

    void dialogGrids_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("landscape");
        QTest::addColumn<QString>("portrait");
        const auto row = [](const char *name, const char *sheet, const char *theme,
                             const char *landscape, const char *portrait) {
            QTest::newRow(name) << QString(sheet) << QString(theme) << QString(landscape)
                                << QString(portrait);
        };
        row("4 columns, five emoticons", "selectortest-columns-4", "five", "LCCR/L", "LR/LR/L");
        row("6 columns from the library stylesheet, eight emoticons", "", "eight", "LCCCCR/LC",
            "LCR/LCR/LC");
        row("2 columns: one portrait column, all Left", "selectortest-columns-2", "five", "LR/LR/L",
            "L/L/L/L/L");
        row("0 columns: empty, untitled", "selectortest-columns-0", "five", "", "");
    }

    void dialogGrids()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, theme);
        std::unique_ptr<MLibrary> library(sheet.isEmpty() ? nullptr : new MLibrary(sheet));
        useTheme(theme);
        auto widget = selector();
        widget->appear();
        MDialog *dialog = shownDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("EmoticonDialogStyle"));
        QFETCH(QString, landscape);
        QCOMPARE(
            dialog->title(), landscape.isEmpty() ? QString() : QStringLiteral("Select smiley"));
        const auto grids = policies(dialog);
        QCOMPARE(grids.size(), 2);
        QCOMPARE(static_cast<MLayout *>(grids.at(0)->layout())->policy(), grids.at(0));
        QCOMPARE(grid(grids.at(0)), landscape);
        QTEST(grid(grids.at(1)), "portrait");
        useTheme("five");
    }

    void tapReportsCodeThenPath()
    {
        auto widget = selector();
        QSignalSpy done(widget.get(), SIGNAL(selectionDone(QString, QString)));
        widget->appear();
        MDialog *dialog = shownDialog();
        const auto grids = policies(dialog);
        const auto *button = static_cast<MButton *>(grids.at(0)->itemAt(0, 2));
        // The dialog lays itself out over a few event-loop turns: click where the button stays.
        QRectF settled;
        QTRY_VERIFY([&] {
            const QRectF now = button->isVisible() ? button->sceneBoundingRect() : QRectF();
            const bool same = !now.isEmpty() && now == settled;
            settled = now;
            return same;
        }());
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {},
            window->mapFromScene(button->sceneBoundingRect().center()));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toString(), QStringLiteral(":p2:"));
        QCOMPARE(done.at(0).at(1).toString(), button->text());
        QVERIFY(widget->emoticonSet().contains(button->text()));
        QVERIFY(!dialog->isAppeared());

        // Something other than a button: the dialog closes, nothing is reported.
        widget->appear();
        QVERIFY(QMetaObject::invokeMethod(
            const_cast<MWidgetView *>(widget->view()), "handleSelection"));
        QVERIFY(!dialog->isAppeared());
        QCOMPARE(done.count(), 1);
    }

    // The widget tells of a change of the theme itself only, once; an open dialog is shown again
    // at once with the new grid, a closed one stays closed.
    void themeChangeRebuildsTheDialog()
    {
        auto widget = selector();
        QSignalSpy changed(widget.get(), SIGNAL(emoticonThemeChanged()));
        widget->appear();
        MDialog *dialog = shownDialog();
        QCOMPARE(policies(dialog).at(0)->count(), 5);
        useTheme("eight");
        QCOMPARE(changed.count(), 1);
        Q_EMIT manager()->themeAdded("s", "t");
        QCOMPARE(changed.count(), 1);
        dialog = shownDialog();
        QVERIFY(dialog && dialog->isAppeared());
        QCOMPARE(policies(dialog).at(0)->count(), 8);
        dialog->accept();
        useTheme("five");
        QCOMPARE(changed.count(), 2);
        QVERIFY(!shownDialog());
        widget->appear();
        dialog = shownDialog();
        QCOMPARE(policies(dialog).at(0)->count(), 5);
        dialog->disappear();
    }

    // Turning the window switches the open dialog's grid.
    void rotationSwitchesPolicy()
    {
        auto widget = selector();
        window->resize(480, 800);
        QTRY_COMPARE(window->orientation(), M::Portrait);
        widget->appear();
        const auto grids = policies(shownDialog());
        const auto *layout = static_cast<MLayout *>(grids.at(0)->layout());
        QCOMPARE(layout->policy(), grids.at(1));
        window->resize(800, 480);
        QTRY_COMPARE(layout->policy(), grids.at(0));
        QVERIFY(static_cast<MButton *>(grids.at(0)->itemAt(0))->isVisible());
        QVERIFY(!static_cast<MButton *>(grids.at(1)->itemAt(0))->isVisible());
        shownDialog()->disappear();
    }
};

GLYPHMORPH_TEST_MAIN(EmoticonSelectorTest)
#include "emoticonselectortest.moc"
