// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Faults once found in the widget layer, its style sheets and its text editor; what the picker uses
// of it is the picker's test.
#include "testenvironment.h"

#include <mbutton.h>
#include <mdialog.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mstylesheet_p.h>
#include <mtextedit.h>
#include <mwidget.h>
#include <mwidgetstyle.h>
#include <mwindow.h>

#include <QClipboard>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextImageFormat>

namespace {

const QString image = QString(QChar(0xfffc)); // how text() shows an image
const QString smiley = QStringLiteral("\U0001F600"); // a surrogate pair
const QColor imageColour(255, 0, 255);

enum class Edit
{
    Insert, // through a copy of the editor's cursor
    InsertInBlock,
    InsertImage,
    SetText,
    GrowThenLimit, // insert at the end, then setMaxLength(position)
    Paste,
    Keys, // the argument is a key sequence
    KeyText, // one key press carrying the argument as its text
};

// One edit and what it must give.
struct Row
{
    const char *name;
    Edit edit;
    QString initial;
    int maxLength, position;
    QString argument, expected;
    QString afterUndo; // equal to expected: nothing to undo, or the history had to go
    // textChanged, cursorPositionChanged, selectionChanged (and copyAvailable); empty: unchecked
    QVector<int> signalCounts = {};
};

// An editor in a shown, active view, so that key events reach it once focused.
struct Window
{
    explicit Window(const QString &text)
        : edit(new MTextEdit(text))
    {
        scene.addItem(edit);
        view.show();
        view.activateWindow();
        QPixmap pixmap(16, 16);
        pixmap.fill(imageColour);
        edit->document()->addResource(QTextDocument::ImageResource, QUrl("test:image"), pixmap);
    }

    bool focus()
    {
        if (!QTest::qWaitForWindowActive(&view))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }

    // What setText() returned, else true.
    bool apply(Edit kind, int position, const QString &argument)
    {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(qMin(position, edit->text().size()));
        QTextImageFormat format;
        format.setName(QStringLiteral("test:image"));
        switch (kind) {
        case Edit::Insert:
            cursor.insertText(argument);
            break;
        case Edit::InsertInBlock:
            cursor.beginEditBlock();
            cursor.insertText(argument);
            cursor.endEditBlock();
            break;
        case Edit::InsertImage:
            cursor.insertImage(format);
            break;
        case Edit::SetText:
            return edit->setText(argument);
        case Edit::GrowThenLimit:
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(argument);
            edit->setMaxLength(position);
            break;
        case Edit::Paste:
        case Edit::Keys:
        case Edit::KeyText:
            edit->setTextCursor(cursor);
            if (kind == Edit::Paste) {
                QApplication::clipboard()->setText(argument);
                QTest::keySequence(&view, QKeySequence::Paste);
            } else if (kind == Edit::KeyText) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, argument);
                QApplication::sendEvent(&view, &key);
            } else {
                QTest::keySequence(&view, QKeySequence(argument));
            }
        }
        return true;
    }

    QGraphicsScene scene;
    QGraphicsView view { &scene };
    MTextEdit *const edit;
};

} // namespace

Q_DECLARE_METATYPE(Row)

class GridStyle : public MWidgetStyle
{
    Q_OBJECT
    Q_PROPERTY(int columnCount MEMBER columnCount)

public:
    int columnCount = 0;
};

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
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("size") << "preferred-size" << QString("64px 48") << QVariant(QSize(64, 48));
        QTest::newRow("colour none") << "border-color" << QString("none") << QVariant(QColor());
        QTest::newRow("quoted string")
            << "rounded-corners" << QString("\"left\"") << QVariant("left");
    }

    void assignConvertsByPropertyType()
    {
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QFETCH(QVariant, expected);
        MWidgetStyle style;
        style.setBorderColor(Qt::blue);
        QVERIFY(MStyleSheet::assign(&style, attribute, value));
        QCOMPARE(style.property(MStyleSheet::propertyName(attribute).toLatin1()), expected);
    }

    void edits_data()
    {
        QTest::addColumn<Row>("row");
        const Row rows[] = {
            // The cut of a bare insert is an undo step of its own, so the history goes.
            { "insert is cut", Edit::Insert, "abcdef", 8, 2, "WXYZ", "abWXcdef", "abWXcdef" },
            { "insert into a full editor", Edit::Insert, "abcd", 4, 2, "xyz", "abcd", "abcd",
                { 1, 0, 0 } },
            { "insert keeps pairs whole", Edit::Insert, "ab", 3, 2, smiley, "ab", "ab" },
            { "edit block undone with its cut", Edit::InsertInBlock, "abcdef", 8, 2, "WXYZ",
                "abWXcdef", "abcdef" },
            { "image is one character", Edit::InsertImage, "ab", 3, 2, "", "ab" + image, "ab" },
            { "setText", Edit::SetText, "hello", -1, 0, "hi", "hi", "hi", { 1, 1, 0 } },
            { "setText cut", Edit::SetText, "", 4, 0, "abcdef", "abcd", "abcd" },
            { "setText at the limit, CRLF is one", Edit::SetText, "", 5, 0, "ab\r\ncd", "ab\ncd",
                "ab\ncd" },
            { "lower limit cuts the end and the history", Edit::GrowThenLimit, "abc", -1, 4, "def",
                "abcd", "abcd" },
            { "paste is cut", Edit::Paste, "ab", 5, 1, "0123456789", "a012b", "ab" },
            { "typing", Edit::Keys, "ab", -1, 2, "X", "abx", "ab", { 1, 1, 0 } },
            { "typing stops at the limit, return too", Edit::Keys, "ab", 3, 0, "X, Return, Y, Z",
                "xab", "ab" },
            { "full: backspace", Edit::Keys, "abcd", 4, 4, "Backspace", "abc", "abcd" },
            { "full: typing over a selection", Edit::Keys, "abcd", 4, 4, "Shift+Left, X", "abcx",
                "abcd" },
            { "select all, collapse", Edit::Keys, "ab", -1, 2, "Ctrl+A, Right", "ab", "ab",
                { 0, 0, 2 } },
            { "key text is cut", Edit::KeyText, "ab", 4, 2, smiley + "x", "ab" + smiley, "ab" },
        };
        for (const Row &row : rows)
            QTest::newRow(row.name) << row;
    }

    void edits()
    {
        QFETCH(Row, row);
        Window window(row.initial);
        QTextDocument *document = window.edit->document();
        window.edit->setMaxLength(row.maxLength);
        QVERIFY(!document->isUndoAvailable());
        QVERIFY(window.focus());
        QSignalSpy changed(window.edit, &MTextEdit::textChanged);
        QSignalSpy moved(window.edit, &MTextEdit::cursorPositionChanged);
        QSignalSpy selection(window.edit, &MTextEdit::selectionChanged);
        QSignalSpy copy(window.edit, &MTextEdit::copyAvailable);
        const bool returned = window.apply(row.edit, row.position, row.argument);

        // setText() is false exactly when characters were lost; a CRLF is one line break.
        QCOMPARE(returned,
            row.edit != Edit::SetText
                || row.expected.size() == row.argument.size() - row.argument.count("\r\n"));
        QCOMPARE(window.edit->text(), row.expected);
        QCOMPARE(document->characterCount() - 1, row.expected.size());
        if (!row.signalCounts.isEmpty()) {
            QCOMPARE(
                QVector<int>({ int(changed.count()), int(moved.count()), int(selection.count()) }),
                row.signalCounts);
            QCOMPARE(copy.count(), selection.count());
            if (!copy.isEmpty())
                QCOMPARE(copy.last().at(0).toBool(), window.edit->textCursor().hasSelection());
        }

        document->undo();
        QCOMPARE(window.edit->text(), row.afterUndo);
        if (row.afterUndo != row.expected) {
            QVERIFY(!document->isUndoAvailable());
            document->redo();
            QCOMPARE(window.edit->text(), row.expected);
        } else {
            QTRY_VERIFY(!document->isUndoAvailable() && !document->isRedoAvailable());
        }
    }

    // The editor's own cursor moves, not a copy; a cursor of another document is refused.
    void cursorApi()
    {
        Window window(QStringLiteral("hello"));
        MTextEdit *edit = window.edit;
        QVERIFY(window.focus());
        QVERIFY(!edit->setCursorPosition(6));
        QVERIFY(edit->setCursorPosition(1));
        QTest::keyClick(&window.view, Qt::Key_X);
        QTextDocument other;
        edit->setTextCursor(QTextCursor(&other));
        edit->setTextCursor(QTextCursor());
        QTest::keyClick(&window.view, Qt::Key_Y);
        QCOMPARE(edit->text(), QStringLiteral("hxyello"));
        QVERIFY(other.isEmpty());
    }

    void deletingTheFocusedEditor()
    {
        Window window(QStringLiteral("abc"));
        QVERIFY(window.focus());
        QTest::keyClick(&window.view, Qt::Key_D);
        delete window.edit;
        QVERIFY(!window.scene.focusItem());
        QTest::keyClick(&window.view, Qt::Key_E);
    }
};

GLYPHMORPH_TEST_MAIN(PlatformWidgetsTest)
#include "platformwidgetstest.moc"
