// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <mapplication.h>
#include <mbutton.h>
#include <mdialog.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mscenemanager.h>
#include <mviewcreator.h>
#include <mwidget.h>
#include <mwidgetcontroller.h>
#include <mwidgetcreator.h>
#include <mwidgetview.h>
#include <mwindow.h>

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QPointer>
#include <QSignalSpy>

class ProbeController : public MWidgetController
{
    Q_OBJECT
public:
    explicit ProbeController(QGraphicsItem *parent = nullptr)
        : MWidgetController(parent)
    { }
};

class DerivedProbeController : public ProbeController
{
    Q_OBJECT
};

class ProbeView : public MWidgetView
{
    Q_OBJECT
public:
    explicit ProbeView(ProbeController *controller)
        : MWidgetView(controller)
    { }
};

static const MWidgetCreator<ProbeController> probeCreator("ProbeController", "probe");
static const MViewCreator<ProbeView, ProbeController> probeViewCreator("ProbeView");

namespace {
QPoint onScreen(const MWindow &window, const QGraphicsItem *item)
{
    return window.mapFromScene(item->sceneBoundingRect().center());
}

QStringList shownTexts(const QList<MButton *> &buttons)
{
    QStringList texts;
    for (const MButton *button : buttons) {
        if (button->isVisible())
            texts.append(button->text());
    }
    return texts;
}
} // namespace

class PlatformWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The title is painted, not laid out; a narrow content must not cut it off.
    void dialogIsAsWideAsItsTitle()
    {
        const QString title = QStringLiteral("A rather long dialog title");
        MDialog dialog(title);
        auto *content = new MWidget;
        content->setPreferredSize(10, 10);
        dialog.setCentralWidget(content);
        QVERIFY(dialog.effectiveSizeHint(Qt::MinimumSize).width()
            >= QFontMetricsF(dialog.font()).horizontalAdvance(title));
    }

    void orientationFollowsShape_data()
    {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QList<int>>("signalled");
        QTest::addColumn<int>("final");

        QTest::newRow("turn to portrait") << QList<QSize> { { 480, 800 } } << QList<int> { 0 } << 0;
        QTest::newRow("square is landscape")
            << QList<QSize> { { 480, 800 }, { 600, 600 } } << QList<int> { 0, 1 } << 1;
        QTest::newRow("resize without crossing the diagonal")
            << QList<QSize> { { 700, 400 }, { 900, 300 } } << QList<int>() << 1;
        QTest::newRow("back and forth") << QList<QSize> { { 300, 500 }, { 310, 520 }, { 900, 500 } }
                                        << QList<int> { 0, 1 } << 1;
    }

    void orientationFollowsShape()
    {
        QFETCH(QList<QSize>, sizes);
        MWindow window;
        window.resize(800, 480);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(MApplication::activeApplicationWindow(), &window);
        QSignalSpy spy(window.sceneManager(), SIGNAL(orientationChanged(M::Orientation)));
        QList<int> signalled;
        for (const QSize &size : sizes) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
        }
        for (const QList<QVariant> &arguments : qAsConst(spy))
            signalled.append(arguments.at(0).value<M::Orientation>());
        QTEST(signalled, "signalled");
        QTEST(int(window.orientation()), "final");
    }

    // Switching with the window's orientation is the picker's test; here what is shown, and an
    // item deleted while two policies hold it.
    void layoutShowsOnlyActivePolicy()
    {
        MWidget form;
        auto *layout = new MLayout(&form);
        auto *wide = new MGridLayoutPolicy(layout);
        auto *narrow = new MGridLayoutPolicy(layout);
        QCOMPARE(layout->policy(), wide); // the first policy
        QList<MButton *> buttons;
        for (int i = 0; i < 3; ++i) {
            buttons.append(new MButton(QString(QChar('a' + i)), &form));
            wide->addItem(buttons.at(i), 0, i);
        }
        narrow->addItem(buttons.at(0), 0, 0);
        narrow->addItem(buttons.at(2), 1, 0, 1, 1, Qt::AlignCenter);
        QCOMPARE(shownTexts(buttons), QStringList({ "a", "b", "c" }));
        layout->setPolicy(narrow);
        QCOMPARE(shownTexts(buttons), QStringList({ "a", "c" }));

        delete buttons.takeAt(2); // leaves both policies
        QCOMPARE(narrow->count(), 1);
        QCOMPARE(wide->count(), 2);
        QCOMPARE(layout->count(), 2);
    }

    void dialogShowsAndClosesKeepingItself_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("signal");

        QTest::newRow("accept") << "accept" << SIGNAL(accepted());
        QTest::newRow("reject") << "reject" << SIGNAL(rejected());
        QTest::newRow("disappear") << "disappear" << SIGNAL(disappeared());
        QTest::newRow("tap outside") << QString() << SIGNAL(rejected());
    }

    void dialogShowsAndClosesKeepingItself()
    {
        QFETCH(QString, close);
        QFETCH(QString, signal);
        MDialog dialog(QStringLiteral("Title"));
        dialog.appear(); // no window yet
        QVERIFY(!dialog.isAppeared());

        MWindow window;
        window.resize(800, 480);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialog.setCentralWidget(new MButton(QStringLiteral("inside")));
        QSignalSpy closed(&dialog, signal.toLatin1().constData());
        QSignalSpy accepted(&dialog, SIGNAL(accepted()));
        for (int round = 0; round < 2; ++round) {
            dialog.appear(MDialog::KeepWhenDone);
            QVERIFY(dialog.isAppeared());
            QCOMPARE(dialog.scene(), window.scene());
            QCOMPARE(dialog.sceneBoundingRect().center(), window.scene()->sceneRect().center());
            if (close.isEmpty())
                QTest::mouseClick(window.viewport(), Qt::LeftButton, {}, QPoint(2, 2));
            else
                QMetaObject::invokeMethod(&dialog, close.toLatin1().constData());
            QVERIFY(!dialog.isAppeared());
            QVERIFY(!dialog.scene());
            QCOMPARE(closed.count(), round + 1);
        }
        QCOMPARE(accepted.count(), close == QLatin1String("accept") ? 2 : 0);
    }

    void dialogOutlivesWindowAndCanDestroyItself()
    {
        auto *window = new MWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QPointer<MDialog> dialog = new MDialog;
        dialog->appear();
        delete window;
        QVERIFY(dialog);
        QVERIFY(!dialog->scene());

        MWindow other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        dialog->appear(MDialog::DestroyWhenDone);
        QVERIFY(dialog->isAppeared());
        dialog->accept();
        QTRY_VERIFY(!dialog);
    }

    void buttonClicksOnlyWhenReleasedInside()
    {
        MWindow window;
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *button = new MButton(QStringLiteral("icon-none"), QStringLiteral("Press"));
        window.scene()->addItem(button);
        button->setPos(50, 50);
        button->resize(100, 60);
        QSignalSpy clicked(button, SIGNAL(clicked()));
        QTest::mouseClick(window.viewport(), Qt::LeftButton, {}, onScreen(window, button));
        QCOMPARE(clicked.count(), 1);
        QTest::mousePress(window.viewport(), Qt::LeftButton, {}, onScreen(window, button));
        QVERIFY(button->isDown());
        QTest::mouseRelease(window.viewport(), Qt::LeftButton, {}, QPoint(300, 250));
        QVERIFY(!button->isDown());
        QCOMPARE(clicked.count(), 1);
    }

    void controllerFindsViewThroughCreator()
    {
        ProbeController probe;
        QVERIFY(qobject_cast<const ProbeView *>(probe.view()));
        DerivedProbeController derived;
        QVERIFY(qobject_cast<const ProbeView *>(derived.view()));
        MButton plain;
        QVERIFY(!plain.view());

        std::unique_ptr<MWidgetController> created(
            MWidgetCreatorBase::createWidget(QStringLiteral("ProbeController")));
        QVERIFY(qobject_cast<ProbeController *>(created.get()));
        QTRY_VERIFY(created->view()); // made once control returns to the event loop
        QVERIFY(!MWidgetCreatorBase::createWidget(QStringLiteral("NoSuchController")));
    }
};

GLYPHMORPH_TEST_MAIN(PlatformWidgetsTest)
#include "platformwidgetstest.moc"
