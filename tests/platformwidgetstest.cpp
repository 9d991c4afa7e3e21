// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Faults once found in the widget layer; what the picker uses of it is the picker's test.
#include "testenvironment.h"

#include <mbutton.h>
#include <mdialog.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mwidget.h>
#include <mwindow.h>

#include <QFontMetricsF>
#include <QPointer>

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

    // Only the active policy's items are shown; an item deleted while two policies hold it
    // leaves both.
    void layoutShowsOnlyActivePolicy()
    {
        MWidget form;
        auto *layout = new MLayout(&form);
        auto *wide = new MGridLayoutPolicy(layout);
        auto *narrow = new MGridLayoutPolicy(layout);
        QCOMPARE(layout->policy(), wide);
        QList<MButton *> buttons;
        for (int i = 0; i < 3; ++i) {
            buttons.append(new MButton(QString(QChar('a' + i)), &form));
            wide->addItem(buttons.at(i), 0, i);
        }
        narrow->addItem(buttons.at(0), 0, 0);
        narrow->addItem(buttons.at(2), 1, 0, 1, 1, Qt::AlignCenter);
        layout->setPolicy(narrow);
        QVERIFY(buttons.at(0)->isVisible() && !buttons.at(1)->isVisible());
        delete buttons.takeAt(2);
        QCOMPARE(narrow->count(), 1);
        QCOMPARE(wide->count(), 2);
        QCOMPARE(layout->count(), 2);
    }

    void dialogOutlivesWindowAndCanDestroyItself()
    {
        auto *window = new MWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QPointer<MDialog> dialog = new MDialog;
        dialog->appear();
        delete window;
        QVERIFY(dialog && !dialog->scene());

        MWindow other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        dialog->appear(MDialog::DestroyWhenDone);
        QVERIFY(dialog->isAppeared());
        dialog->accept();
        QTRY_VERIFY(!dialog);
    }
};

GLYPHMORPH_TEST_MAIN(PlatformWidgetsTest)
#include "platformwidgetstest.moc"
