// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <mstylesheet_p.h>
#include <mwidgetstyle.h>
#include <mwidgetstylecontainer.h>

class GridStyle : public MWidgetStyle
{
    Q_OBJECT
    Q_PROPERTY(int columnCount MEMBER columnCount)

public:
    int columnCount = 0;
};

class MStyleSheetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void apply_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("styleName");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QColor>("background");

        const QString none;
        const QColor unset;
        QTest::newRow("dashed name to property")
            << "Grid { column-count: 6; }" << none << none << none << 6 << unset;
        QTest::newRow("pixel suffix, no final semicolon")
            << "Grid{column-count:6px}" << none << none << none << 6 << unset;
        QTest::newRow("style name beats type, whatever the order")
            << "Grid.S { column-count: 4 } Grid { column-count: 2 }"
            << "S" << none << none << 4 << unset;
        QTest::newRow("other style name does not match")
            << "Grid { column-count: 2 } Grid.S { column-count: 4 }"
            << "T" << none << none << 2 << unset;
        QTest::newRow("object name beats style name")
            << "Grid#O { column-count: 8 } Grid.S { column-count: 4 }"
            << "S"
            << "O" << none << 8 << unset;
        QTest::newRow("mode only in its mode")
            << "Grid { column-count: 1 } Grid:pressed { column-count: 9 }" << none << none
            << "pressed" << 9 << unset;
        QTest::newRow("mode rule ignored in default mode")
            << "Grid { column-count: 1 } Grid:pressed { column-count: 9 }" << none << none << none
            << 1 << unset;
        QTest::newRow("later rule of equal weight wins")
            << "Grid { column-count: 1 } Grid { column-count: 3 }" << none << none << none << 3
            << unset;
        QTest::newRow("base class rule applies, exact type wins")
            << "Grid { column-count: 2 } MWidgetStyle { background-color: #ff0000; }"
               "MWidgetStyle { column-count: 7 }"
            << none << none << none << 2 << QColor(Qt::red);
        QTest::newRow("selector list") << "Other, Grid.S { column-count: 5 }"
                                       << "S" << none << none << 5 << unset;
        QTest::newRow("other type ignored") << "Other { column-count: 5; background-color: red }"
                                            << none << none << none << 0 << unset;
        QTest::newRow("comments") << "/* Grid { column-count: 9 } */ Grid { column-count: 5 }"
                                  << none << none << none << 5 << unset;
        QTest::newRow("unterminated comment")
            << "Grid { column-count: 5 } /* Grid { column-count: 9 }" << none << none << none << 5
            << unset;
        QTest::newRow("unterminated block")
            << "Grid { column-count: 6" << none << none << none << 0 << unset;
        QTest::newRow("nested block skipped, next block read")
            << "Grid { x { column-count: 6; } column-count: 1; } Grid { column-count: 3; }" << none
            << none << none << 3 << unset;
        QTest::newRow("values of the wrong type ignored")
            << "Grid { column-count: many; background-color: nocolour; column-count: 4 }" << none
            << none << none << 4 << unset;
        QTest::newRow("declaration without colon skipped")
            << "Grid { column-count 5; column-count: 7 }" << none << none << none << 7 << unset;
        QTest::newRow("malformed selectors skipped")
            << "Grid..S { column-count: 5 } Grid.S.T { column-count: 6 } 9Grid { column-count: 8 }"
            << "S" << none << none << 0 << unset;
        QTest::newRow("binary junk")
            << QString::fromLatin1("\x01{}}{;:\xff{ :; }") << none << none << none << 0 << unset;
    }

    void apply()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, styleName);
        QFETCH(QString, objectName);
        QFETCH(QString, mode);
        GridStyle style;
        MStyleSheet::apply(
            &style, QStringLiteral("Grid"), objectName, styleName, mode, MStyleSheet::parse(sheet));
        QTEST(style.columnCount, "columnCount");
        QTEST(style.backgroundColor(), "background");
    }

    void assignConvertsByPropertyType_data()
    {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QVariant>("expected"); // invalid: not assigned

        QTest::newRow("size") << "preferred-size"
                              << "64px 48" << QVariant(QSize(64, 48));
        QTest::newRow("size with one side") << "preferred-size"
                                            << "64" << QVariant();
        QTest::newRow("colour none") << "border-color"
                                     << "none" << QVariant(QColor());
        QTest::newRow("quoted string") << "rounded-corners"
                                       << "\"left\"" << QVariant("left");
        QTest::newRow("unknown attribute") << "column-width"
                                           << "3" << QVariant();
    }

    void assignConvertsByPropertyType()
    {
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QFETCH(QVariant, expected);
        MWidgetStyle style;
        style.setBorderColor(Qt::blue);
        QCOMPARE(MStyleSheet::assign(&style, attribute, value), expected.isValid());
        if (expected.isValid())
            QCOMPARE(style.property(MStyleSheet::propertyName(attribute).toLatin1()), expected);
    }

    void containerReadsPlatformSheetPerMode()
    {
        MWidgetStyleContainer container;
        container.initialize(QString(), QString(), QStringLiteral("MButtonStyle"));
        const QColor normal = container->backgroundColor();
        QVERIFY(normal.isValid());
        container.setModePressed();
        QVERIFY(container->backgroundColor().isValid());
        QVERIFY(container->backgroundColor() != normal);
        container.setModeDefault();
        QCOMPARE(container->backgroundColor(), normal);
    }
};

GLYPHMORPH_TEST_MAIN(MStyleSheetTest)
#include "mstylesheettest.moc"
