// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The emoticon picker: its grids, taps, theme changes and turns; and as people use it: by
// keyboard, through assistive technology, in the platform UI theme's colours, whole with few
// emoticons, sharp on dense screens.
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonselectorwidget.h>
#include <emoticonselectorwidgetview.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <mbutton.h>
#include <mdialog.h>
#include <mgconfitem.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mlibrary.h>
#include <mscenemanager.h>
#include <mtheme.h>
#include <mwidgetcreator.h>
#include <mwindow.h>

#include <QAccessible>
#include <QPainter>
#include <QSignalSpy>

namespace {
const char account[] = "/org/freedesktop/Telepathy/Account/test/jabber/me";

// A theme of @p count emoticons, declared in reverse order of their picker positions: emoticon
// at position p has the code ":Xp:" and the image "Xp.png", X being @p prefix.
void installTheme(const QString &root, const QString &uuid, int count, const QString &prefix)
{
    GlyphmorphTest::ThemeContent content { uuid, {}, {},
        GlyphmorphTest::ThemeContent::Positions::Reversed };
    for (int p = count - 1; p >= 0; --p)
        content.images << prefix + QString::number(p);
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

QImage solid(int side, QColor colour)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 24;
}
} // namespace

class EmoticonSelectorTest : public QObject
{
    Q_OBJECT

    QTemporaryDir themesRoot;
    MWindow *window = nullptr;
    std::unique_ptr<EmoticonSelectorWidget> widget;

    EmoticonThemeManager *manager() const { return EmoticonThemeManager::m_pInstance; }
    MDialog *shownDialog() const { return window->sceneManager()->sceneWindows().value(0); }

    void useTheme(const QString &uuid)
    {
        if (manager()->currentTheme() == uuid)
            return;
        QSignalSpy changed(manager(), SIGNAL(currentThemeChanged(QString)));
        manager()->setCurrentTheme(uuid);
        QVERIFY(changed.wait());
    }

    // The grids of the landscape and the portrait policy.
    static QList<MGridLayoutPolicy *> policies(const MDialog *dialog)
    {
        QList<MGridLayoutPolicy *> grids;
        const auto *layout = static_cast<MLayout *>(dialog->centralWidget()->layout());
        for (MAbstractLayoutPolicy *policy : layout->registeredPolicies())
            grids.append(static_cast<MGridLayoutPolicy *>(policy));
        return grids;
    }

    // The cells of the grid shown, in picker order.
    QList<MButton *> shownCells() const
    {
        QList<MButton *> cells;
        const auto *policy
            = static_cast<MLayout *>(shownDialog()->centralWidget()->layout())->policy();
        for (int i = 0; i < policy->count(); ++i)
            cells << static_cast<MButton *>(policy->itemAt(i));
        return cells;
    }

    // Opens a fresh picker on @p uuid and, unless told not to, waits until its layout has
    // settled, over a few event-loop turns.
    void openPicker(const QString &uuid = QStringLiteral("eight"), bool settled = true)
    {
        useTheme(uuid);
        widget.reset(static_cast<EmoticonSelectorWidget *>(
            MWidgetCreatorBase::createWidget(QStringLiteral("EmoticonSelectorWidget"))));
        window->scene()->addItem(widget.get());
        widget->setServiceName(QLatin1String(account));
        widget->appear();
        QVERIFY(shownDialog());
        if (settled)
            settle();
    }

    void settle()
    {
        QList<QRectF> settled;
        QTRY_VERIFY(([&] {
            const QList<MButton *> cells = shownCells();
            const QList<QRectF> now { shownDialog()->sceneBoundingRect(),
                cells.isEmpty() ? QRectF() : cells.constLast()->sceneBoundingRect() };
            const bool same = now == settled && !cells.isEmpty() && cells.constLast()->isVisible();
            settled = now;
            return same;
        }()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(themesRoot.path()));
        // Image names differ where images differ: icon ids are shared by every theme directory.
        installTheme(themesRoot.path(), "five", 5, "p");
        installTheme(themesRoot.path(), "eight", 8, "p");
        installTheme(themesRoot.path(), "two", 2, "t");
        // A theme's own images for dense screens, each in a colour of its own.
        QVERIFY(solid(40, Qt::green).save(themesRoot.filePath("two/t0@2x.png")));
        QVERIFY(solid(80, Qt::blue).save(themesRoot.filePath("two/t0@4x.png")));
        window = new MWindow;
        window->resize(800, 480);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        EmoticonThemeManager::m_pInstance = new EmoticonThemeManager;
        QCOMPARE(manager()->emoticonThemes().size(), 5); // with the built-in and the Emoji theme
        useTheme("five");
    }

    void cleanup()
    {
        widget.reset();
        window->resize(800, 480);
        QTRY_COMPARE(window->orientation(), M::Landscape);
    }

    void cleanupTestCase()
    {
        delete manager();
        delete window;
    }

    // A second setServiceName must not connect the manager's signals twice.
    void widgetTakesServiceThemeAndConnectsOnce()
    {
        CountingSelector counting;
        QVERIFY(!counting.emoticonTheme().isValid());
        QSignalSpy changed(&counting, SIGNAL(emoticonThemeChanged()));
        counting.setServiceName(QLatin1String(account));
        counting.setServiceName(QLatin1String(account));
        QCOMPARE(counting.emoticonTheme().themeUUID(), QStringLiteral("five"));
        Q_EMIT manager()->themeRemoved(QString());
        QCOMPARE(counting.calls, 1);
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
        openPicker(theme, false);
        MDialog *dialog = shownDialog();
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
        widget.reset(); // before the library that styled it
    }

    // Something other than a button: the dialog closes, nothing is reported.
    void selectionOfNoButtonOnlyCloses()
    {
        openPicker("five");
        QSignalSpy done(widget.get(), SIGNAL(selectionDone(QString, QString)));
        QVERIFY(QMetaObject::invokeMethod(
            const_cast<MWidgetView *>(widget->view()), "handleSelection"));
        QVERIFY(!shownDialog());
        QCOMPARE(done.count(), 0);
    }

    // The widget tells of a change of the theme itself only, once; an open dialog is shown again
    // at once with the new grid, a closed one stays closed.
    void themeChangeRebuildsTheDialog()
    {
        openPicker("five");
        QSignalSpy changed(widget.get(), SIGNAL(emoticonThemeChanged()));
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

    // The picker by keyboard, in the platform theme's palette: the dialog its window colour, a
    // cell the alternate base, the focused cell framed in the highlight colour; then the focused
    // cell chosen by a key, a tap or assistive technology, which report its code and image.
    void keyboard_data()
    {
        QTest::addColumn<QString>("platformTheme");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("choice");
        const auto row = [](const char *name, const char *theme, const char *keys, int cell,
                             const char *choice) {
            QTest::newRow(name) << QString(theme) << QString(keys) << cell << QString(choice);
        };
        // Eight cells: a row of six and a row of two in landscape, rows of three in portrait
        // ("Turn"); the first has the focus on opening.
        row("edges hold, then moves", "base", "Left Up End Right Down Left Up", 0, "Return");
        row("turned, down into the shorter row", "night", "Right Right Right Right Right Turn Down",
            7, "Space");
        row("Escape chooses nothing", "base", "Right", 1, "Escape");
        row("a tap", "base", "Right Right", 2, "tap");
        row("pressed through assistive technology", "night", "Down", 6, "press");
    }

    void keyboard()
    {
        QFETCH(QString, platformTheme);
        QFETCH(QString, keys);
        QFETCH(int, cell);
        QFETCH(QString, choice);
        MGConfItem(QStringLiteral("/meegotouch/theme/name")).set(platformTheme);
        QTRY_COMPARE(MTheme::currentTheme(), platformTheme);
        QTRY_VERIFY(window->scene()->palette() == MTheme::palette());
        const QPalette palette = MTheme::palette();
        QCOMPARE(palette.color(QPalette::Window).lightness() < 128, platformTheme == "night");
        openPicker();
        QSignalSpy done(widget.get(), SIGNAL(selectionDone(QString, QString)));
        const QHash<QString, Qt::Key> named { { "Left", Qt::Key_Left }, { "Right", Qt::Key_Right },
            { "Up", Qt::Key_Up }, { "Down", Qt::Key_Down }, { "End", Qt::Key_End },
            { "Return", Qt::Key_Return }, { "Space", Qt::Key_Space },
            { "Escape", Qt::Key_Escape } };
        for (const QString &key : keys.split(' ')) {
            if (key != "Turn") {
                QTest::keyClick(window, named.value(key));
                continue;
            }
            const int focused
                = shownCells().indexOf(static_cast<MButton *>(window->scene()->focusItem()));
            window->resize(480, 800);
            QTRY_VERIFY(shownCells().size() == 8 && shownCells().at(focused)->isVisible());
            settle();
        }
        // Focused, as assistive technology reads it too.
        const QList<MButton *> cells = shownCells();
        QCOMPARE(window->scene()->focusItem(), cells.at(cell));
        const QString code = ":p" + QString::number(cell) + ":";
        QCOMPARE(
            QAccessible::queryAccessibleInterface(window)->focusChild()->text(QAccessible::Name),
            code);

        const QImage shot = window->grab().toImage();
        const QRect dialog
            = window->mapFromScene(shownDialog()->sceneBoundingRect()).boundingRect();
        QCOMPARE(shot.pixelColor(dialog.left() + 8, dialog.center().y()),
            palette.color(QPalette::Window));
        for (MButton *button : cells) {
            const QRect area = window->mapFromScene(button->sceneBoundingRect()).boundingRect();
            int highlighted = 0;
            for (int x = area.left(); x <= area.right(); ++x)
                highlighted += near(
                    shot.pixelColor(x, area.center().y()), palette.color(QPalette::Highlight));
            QCOMPARE(highlighted > 0, button == cells.at(cell));
            if (button != cells.at(cell))
                QCOMPARE(shot.pixelColor(area.left() + 5, area.center().y()),
                    palette.color(QPalette::AlternateBase));
        }

        MButton *chosen = cells.at(cell);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(chosen);
        QVERIFY(accessible->actionInterface());
        if (choice == "tap")
            QTest::mouseClick(window->viewport(), Qt::LeftButton, {},
                window->mapFromScene(chosen->sceneBoundingRect().center()));
        else if (choice == "press")
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        else
            QTest::keyClick(window, named.value(choice));
        QVERIFY(!shownDialog());
        QCOMPARE(done.count(), choice == "Escape" ? 0 : 1);
        if (!done.isEmpty()) {
            QCOMPARE(done.at(0).at(0).toString(), code);
            QCOMPARE(done.at(0).at(1).toString(), chosen->text());
            QVERIFY(widget->emoticonSet().contains(chosen->text()));
        }
    }

    void accessibleNames()
    {
        openPicker();
        QAccessibleInterface *windowInterface = QAccessible::queryAccessibleInterface(window);
        QAccessibleInterface *dialogInterface
            = windowInterface->child(windowInterface->childCount() - 1);
        QCOMPARE(dialogInterface->object(), shownDialog());
        QCOMPARE(dialogInterface->text(QAccessible::Name), QStringLiteral("Select smiley"));

        // From the window down to every cell shown, and back up.
        QStringList names;
        QList<QAccessibleInterface *> pending { dialogInterface };
        while (!pending.isEmpty()) {
            QAccessibleInterface *node = pending.takeFirst();
            for (int i = 0; i < node->childCount(); ++i) {
                QAccessibleInterface *child = node->child(i);
                QCOMPARE(child->parent(), node);
                QCOMPARE(node->indexOfChild(child), i);
                pending << child;
                if (child->role() == QAccessible::Button && !child->state().invisible)
                    names << child->text(QAccessible::Name);
            }
        }
        QStringList codes = widget->emoticonSet().values();
        codes.sort();
        names.sort();
        QCOMPARE(names, codes);
    }

    void pickerDrawsAtDevicePixelRatio_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QColor>("colour");
        // Cells show 44-pixel icons: at 1 device pixel per pixel the 40-pixel image is nearest.
        QTest::newRow("1: @2x") << 1.0 << QColor(Qt::green);
        QTest::newRow("2: @4x") << 2.0 << QColor(Qt::blue);
    }

    void pickerDrawsAtDevicePixelRatio()
    {
        QFETCH(qreal, ratio);
        openPicker("two");
        const QRectF cell = shownCells().constFirst()->sceneBoundingRect();
        QImage shown = solid(qRound(cell.width() * ratio), Qt::transparent);
        shown.setDevicePixelRatio(ratio);
        QPainter painter(&shown);
        window->scene()->render(&painter, QRectF(QPointF(), cell.size()), cell);
        painter.end();
        QTEST(shown.pixelColor(shown.width() / 2, shown.height() / 2), "colour");
    }

    // Two cells in portrait: every cell lies inside the dialog, at its own size, and each row's
    // strip is rounded at both of its ends, so that no cell looks cut off.
    void fewEmoticonsShowWhole()
    {
        window->resize(480, 800);
        QTRY_COMPARE(window->viewport()->size(), QSize(480, 800));
        openPicker("two");
        QVERIFY(window->scene()->sceneRect().contains(shownDialog()->sceneBoundingRect()));
        const QRectF visible = shownDialog()->rect().adjusted(2, 2, -2, -2);
        const QImage shot = window->grab().toImage();
        const QColor background = window->scene()->palette().color(QPalette::Window);
        const QList<MButton *> cells = shownCells();
        for (int i = 0; i < cells.size(); ++i) {
            const MButton *cell = cells.at(i);
            QCOMPARE(cell->size(), cell->preferredSize());
            QVERIFY(visible.contains(shownDialog()->mapRectFromItem(cell, cell->rect())));
            const QRect shown = window->mapFromScene(cell->sceneBoundingRect()).boundingRect();
            const auto row = [&cells](int j) {
                return cells.at(j)->scenePos().y();
            };
            if (i == 0 || row(i - 1) != row(i))
                QCOMPARE(shot.pixelColor(shown.left() + 1, shown.top() + 1), background);
            if (i == cells.size() - 1 || row(i + 1) != row(i))
                QCOMPARE(shot.pixelColor(shown.right() - 1, shown.top() + 1), background);
        }
    }
};

GLYPHMORPH_TEST_MAIN(EmoticonSelectorTest)
#include "emoticonselectortest.moc"
