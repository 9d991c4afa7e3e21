// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <mstylesheet_p.h>
#include <mwidgetstyle.h>

#include <QRegularExpression>

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
    // A widget of type Grid, given as ".STYLE#OBJECT:MODE" (each part optional), styled by the
    // sheet: its column count, and whether the base class's red background reached it.
    void apply_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<bool>("red");
        const auto row = [](const char *name, const char *sheet, const char *widget,
                             int columnCount, bool red = false) {
            QTest::newRow(name) << QString::fromLatin1(sheet) << QString(widget) << columnCount
                                << red;
        };
        row("style name beats type, whatever the order",
            "Grid.S { column-count: 4 } Grid { column-count: 2 }", ".S", 4);
        row("object name beats style name", "Grid#O { column-count: 8 } Grid.S { column-count: 4 }",
            ".S#O", 8);
        const char *modes = "Grid { column-count: 1 } Grid:pressed { column-count: 9 }";
        row("mode only in its mode", modes, ":pressed", 9);
        row("mode rule ignored in default mode", modes, "", 1);
        row("later rule of equal weight wins", "Grid { column-count: 1 } Grid { column-count: 3 }",
            "", 3);
        row("base class rule applies, exact type wins",
            "Grid { column-count: 2 } MWidgetStyle { background-color: #ff0000; }"
            "MWidgetStyle { column-count: 7 }",
            "", 2, true);
        row("unterminated comment", "Grid { column-count: 5 } /* Grid { column-count: 9 }", "", 5);
        row("unterminated block", "Grid { column-count: 6", "", 0);
        row("nested block skipped, next block read",
            "Grid { x { column-count: 6; } column-count: 1; } Grid { column-count: 3; }", "", 3);
        row("values of the wrong type ignored",
            "Grid { column-count: many; background-color: nocolour; column-count: 4 }", "", 4);
        row("malformed selectors skipped",
            "Grid..S { column-count: 5 } Grid.S.T { column-count: 6 } 9Grid { column-count: 8 }",
            ".S", 0);
        row("binary junk", "\x01{}}{;:\xff{ :; }", "", 0);
    }

    void apply()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, widget);
        const QRegularExpression parts(QStringLiteral("^(?:\\.(\\w+))?(?:#(\\w+))?(?::(\\w+))?$"));
        const QRegularExpressionMatch match = parts.match(widget);
        QVERIFY(match.hasMatch());
        GridStyle style;
        MStyleSheet::apply(&style, "Grid", match.captured(2), match.captured(1), match.captured(3),
            MStyleSheet::parse(sheet));
        QTEST(style.columnCount, "columnCount");
        QTEST(style.backgroundColor() == QColor(Qt::red), "red");
    }

    void assignConvertsByPropertyType_data()
    {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QVariant>("expected"); // invalid: not assigned

        QTest::newRow("size") << "preferred-size"
                              << "64px 48" << QVariant(QSize(64, 48));
        QTest::newRow("colour none") << "border-color"
                                     << "none" << QVariant(QColor());
        QTest::newRow("quoted string") << "rounded-corners"
                                       << "\"left\"" << QVariant("left");
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
};

GLYPHMORPH_TEST_MAIN(MStyleSheetTest)
#include "mstylesheettest.moc"
