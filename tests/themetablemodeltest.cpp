// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <themetablemodel.h>

namespace {

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

} // namespace

class ThemeTableModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setData_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("insertedRow"); // -1: none
        QTest::addColumn<int>("changedRow"); // -1: none

        const QVariant a = QVariant::fromValue(theme("A"));
        const int display = Qt::DisplayRole;
        const QStringList none;
        const QStringList two { "T0", "T1" };
        QTest::newRow("append to empty")
            << none << 0 << 0 << a << display << true << QStringList { "A" } << 0 << -1;
        QTest::newRow("append by the UUID column")
            << two << 2 << 1 << a << display << true << QStringList { "T0", "T1", "A" } << 2 << -1;
        QTest::newRow("beyond the end lands at the end")
            << two << 7 << 0 << a << display << true << QStringList { "T0", "T1", "A" } << 2 << -1;
        QTest::newRow("replace first row")
            << two << 0 << 0 << a << display << true << QStringList { "A", "T1" } << -1 << 0;
        QTest::newRow("replace by the UUID column")
            << two << 1 << 1 << a << display << true << QStringList { "T0", "A" } << -1 << 1;
        QTest::newRow("edit role")
            << none << 0 << 0 << a << int(Qt::EditRole) << false << none << -1 << -1;
        QTest::newRow("decoration role")
            << two << 0 << 0 << a << int(Qt::DecorationRole) << false << two << -1 << -1;
        QTest::newRow("string") << two << 0 << 0 << QVariant("A") << display << false << two << -1
                                << -1;
        QTest::newRow("empty variant")
            << none << 0 << 0 << QVariant() << display << false << none << -1 << -1;
        QTest::newRow("negative row") << two << -1 << 0 << a << display << false << two << -1 << -1;
    }

    void setData()
    {
        QFETCH(QStringList, before);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(int, role);

        ThemeTableModel model;
        for (int i = 0; i < before.size(); ++i)
            QVERIFY(model.setData(
                model.index(i, 0), QVariant::fromValue(theme(before[i])), Qt::DisplayRole));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        QTEST(model.setData(model.index(row, column), value, role), "result");
        QTEST(names(model), "after");
        QFETCH(int, insertedRow);
        QCOMPARE(inserted.size(), insertedRow < 0 ? 0 : 1);
        if (insertedRow >= 0) {
            QCOMPARE(inserted[0][1].toInt(), insertedRow);
            QCOMPARE(inserted[0][2].toInt(), insertedRow);
        }
        QFETCH(int, changedRow);
        QCOMPARE(changed.size(), changedRow < 0 ? 0 : 1);
        if (changedRow >= 0) {
            QCOMPARE(changed[0][0].toModelIndex(), model.index(changedRow, 0));
            QCOMPARE(changed[0][1].toModelIndex(), model.index(changedRow, 1));
        }
    }

    void dataAndShape()
    {
        ThemeTableModel model;
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 2);
        QVERIFY(!model.data(model.index(0, 0)).isValid());
        QVERIFY(!model.index(0, -1).isValid());
        QVERIFY(model.setData(model.index(0, 0), QVariant::fromValue(theme("A")), Qt::DisplayRole));
        const QModelIndex name = model.index(0, 0);
        QCOMPARE(model.rowCount(name), 1);
        QCOMPARE(model.columnCount(name), 2);
        QVERIFY(!model.parent(name).isValid());
        QCOMPARE(model.data(name), QVariant("A"));
        QCOMPARE(model.data(model.index(0, 1)), QVariant("uuid-A"));
        QVERIFY(!model.data(model.index(0, 2)).isValid());
        QCOMPARE(model.data(model.index(0, 1), Qt::DecorationRole), QVariant("preview_uuid-A"));
        QVERIFY(!model.data(name, Qt::ToolTipRole).isValid());
        QVERIFY(!model.data(name, Qt::EditRole).isValid());
        QVERIFY(!model.data(model.index(1, 0)).isValid());
        QCOMPARE(model.flags(name), Qt::ItemIsSelectable | Qt::ItemIsEnabled);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.resetModel();
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.data(name).isValid());
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(ThemeTableModelTest)
#include "themetablemodeltest.moc"
