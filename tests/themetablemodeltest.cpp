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
        QTest::newRow("append by the UUID column") << 2 << 1 << a << "T0 T1 A" << 2 << -1;
        QTest::newRow("beyond the end, at the end") << 7 << 0 << a << "T0 T1 A" << 2 << -1;
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
};

GLYPHMORPH_TEST_GUILESS_MAIN(ThemeTableModelTest)
#include "themetablemodeltest.moc"
