// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtextedit.h"
#include "testenvironment.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTextDocument>
#include <QTextImageFormat>

#include <memory>

namespace {
const QChar objectReplacement(0xfffc);
const QColor imageColour(255, 0, 255);
const QString imageName = QStringLiteral("test:magenta");

// An editor in a shown, active view, focused, so that key events reach it.
struct Window
{
    explicit Window(const QString &text)
        : edit(new MTextEdit(text))
    {
        scene.addItem(edit);
        view.resize(400, 300);
        view.show();
        view.activateWindow();
    }

    bool focus()
    {
        if (!QTest::qWaitForWindowActive(&view))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }

    QGraphicsScene scene;
    QGraphicsView view { &scene };
    MTextEdit *const edit;
};

void registerImage(QTextDocument *document)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(imageColour);
    document->addResource(QTextDocument::ImageResource, QUrl(imageName), pixmap);
}

void insertImage(QTextCursor cursor)
{
    QTextImageFormat format;
    format.setName(imageName);
    cursor.insertImage(format);
}

int pixelsOfImageColour(QGraphicsScene &scene, const QSizeF &size)
{
    QImage image(size.toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(QPointF(), size), QRectF(QPointF(), size));
    painter.end();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == imageColour;
    }
    return count;
}

enum class Edit
{
    InsertAt,
    InsertInBlock,
    InsertImageAt,
    Paste,
    SetText,
    SetMaxLength,
    TypeKeys,
    KeyWithText
};

enum class Action
{
    SetText,
    Type,
    InsertBeforeCursor,
    TrimmedInsert,
    Truncate,
    SelectAll,
    Deselect
};
} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Action)

class MTextEditTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing_data()
    {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedPosition");

        QTestEventList letters;
        letters.addKeyClicks(QStringLiteral("hello"));
        QTest::newRow("letters into an empty editor")
            << QString() << 0 << false << -1 << letters << QStringLiteral("hello") << 5;
        QTestEventList b;
        b.addKeyClicks(QStringLiteral("b"));
        QTest::newRow("letter in the middle")
            << QStringLiteral("ac") << 1 << false << -1 << b << QStringLiteral("abc") << 2;
        QTestEventList backspace;
        backspace.addKeyClick(Qt::Key_Backspace);
        QTest::newRow("backspace")
            << QStringLiteral("abc") << 3 << false << -1 << backspace << QStringLiteral("ab") << 2;
        QTestEventList del;
        del.addKeyClick(Qt::Key_Delete);
        QTest::newRow("delete") << QStringLiteral("abc") << 0 << false << -1 << del
                                << QStringLiteral("bc") << 0;
        QTestEventList enter;
        enter.addKeyClick(Qt::Key_Return);
        QTest::newRow("return breaks the line")
            << QStringLiteral("ab") << 1 << false << -1 << enter << QStringLiteral("a\nb") << 2;
        QTestEventList leftThenB;
        leftThenB.addKeyClick(Qt::Key_Left);
        leftThenB.addKeyClicks(QStringLiteral("b"));
        QTest::newRow("arrow moves before typing")
            << QStringLiteral("ac") << 2 << false << -1 << leftThenB << QStringLiteral("abc") << 2;
        QTestEventList replaceAll;
        replaceAll.addKeyClick(Qt::Key_A, Qt::ControlModifier);
        replaceAll.addKeyClicks(QStringLiteral("x"));
        QTest::newRow("select all then type replaces")
            << QStringLiteral("abc") << 0 << false << -1 << replaceAll << QStringLiteral("x") << 1;
        QTestEventList xy;
        xy.addKeyClicks(QStringLiteral("xy"));
        QTest::newRow("read-only ignores typing")
            << QStringLiteral("abc") << 1 << true << -1 << xy << QStringLiteral("abc") << 1;
        QTestEventList right;
        right.addKeyClick(Qt::Key_Right);
        QTest::newRow("read-only still moves the cursor")
            << QStringLiteral("abc") << 0 << true << -1 << right << QStringLiteral("abc") << 1;
        QTestEventList cdef;
        cdef.addKeyClicks(QStringLiteral("cdef"));
        QTest::newRow("typing stops at the limit")
            << QStringLiteral("ab") << 2 << false << 4 << cdef << QStringLiteral("abcd") << 4;
        QTest::newRow("return in a full editor is dropped")
            << QStringLiteral("abcd") << 2 << false << 4 << enter << QStringLiteral("abcd") << 2;
        QTest::newRow("backspace in a full editor")
            << QStringLiteral("abcd") << 4 << false << 4 << backspace << QStringLiteral("abc") << 3;
        QTestEventList selectAndType;
        selectAndType.addKeyClick(Qt::Key_Left, Qt::ShiftModifier);
        selectAndType.addKeyClicks(QStringLiteral("X"));
        QTest::newRow("typing over a selection in a full editor")
            << QStringLiteral("abcd") << 4 << false << 4 << selectAndType << QStringLiteral("abcX")
            << 4;
        QTestEventList x;
        x.addKeyClicks(QStringLiteral("X"));
        QTest::newRow("typing in the middle of a full editor")
            << QStringLiteral("abcd") << 1 << false << 4 << x << QStringLiteral("abcd") << 1;
    }

    void typing()
    {
        QFETCH(QString, initial);
        QFETCH(int, start);
        QFETCH(bool, readOnly);
        QFETCH(int, maxLength);
        QFETCH(QTestEventList, keys);
        QFETCH(QString, expectedText);
        QFETCH(int, expectedPosition);

        Window window(initial);
        window.edit->setMaxLength(maxLength);
        window.edit->setReadOnly(readOnly);
        QCOMPARE(window.edit->isReadOnly(), readOnly);
        QVERIFY(window.edit->setCursorPosition(start));
        QVERIFY(window.focus());
        keys.simulate(&window.view);
        QCOMPARE(window.edit->text(), expectedText);
        QCOMPARE(window.edit->cursorPosition(), expectedPosition);
    }

    void setCursorPosition_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("emitted");
        QTest::addColumn<QString>("afterTyping");

        QTest::newRow("start") << 0 << true << 1 << QStringLiteral("Xhello");
        QTest::newRow("middle") << 2 << true << 1 << QStringLiteral("heXllo");
        QTest::newRow("end, where it is") << 5 << true << 0 << QStringLiteral("helloX");
        QTest::newRow("negative") << -1 << false << 0 << QStringLiteral("helloX");
        QTest::newRow("one past the end") << 6 << false << 0 << QStringLiteral("helloX");
        QTest::newRow("far past the end") << 100 << false << 0 << QStringLiteral("helloX");
    }

    void setCursorPosition()
    {
        QFETCH(int, index);
        QFETCH(bool, accepted);
        QFETCH(int, emitted);
        QFETCH(QString, afterTyping);

        Window window(QStringLiteral("hello"));
        QVERIFY(window.focus());
        QCOMPARE(window.edit->cursorPosition(), 5);
        QSignalSpy moved(window.edit, &MTextEdit::cursorPositionChanged);
        QCOMPARE(window.edit->setCursorPosition(index), accepted);
        QCOMPARE(window.edit->cursorPosition(), accepted ? index : 5);
        QCOMPARE(moved.count(), emitted);
        // The editor's own cursor moved, not just a copy: typing lands there.
        QTest::keyClicks(&window.view, QStringLiteral("X"));
        QCOMPARE(window.edit->text(), afterTyping);
    }

    void maxLength_data()
    {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<bool>("expectedResult");

        const QString none;
        QTest::newRow("insert fits") << QStringLiteral("abc") << 8 << Edit::InsertAt << 1
                                     << QStringLiteral("XY") << QStringLiteral("aXYbc") << true;
        QTest::newRow("insert in the middle is cut")
            << QStringLiteral("abcdef") << 8 << Edit::InsertAt << 2 << QStringLiteral("WXYZ")
            << QStringLiteral("abWXcdef") << true;
        QTest::newRow("insert into a full editor")
            << QStringLiteral("abcd") << 4 << Edit::InsertAt << 0 << QStringLiteral("X")
            << QStringLiteral("abcd") << true;
        QTest::newRow("multi-line insert is cut")
            << QStringLiteral("ab") << 5 << Edit::InsertAt << 2 << QStringLiteral("\nc\nd\ne")
            << QStringLiteral("ab\nc\n") << true;
        QTest::newRow("paste is cut")
            << QStringLiteral("ab") << 5 << Edit::Paste << 1 << QStringLiteral("0123456789")
            << QStringLiteral("a012b") << true;
        QTest::newRow("typing is cut") << QStringLiteral("ab") << 3 << Edit::TypeKeys << 0
                                       << QStringLiteral("xyz") << QStringLiteral("xab") << true;
        QTest::newRow("setText too long")
            << none << 4 << Edit::SetText << 0 << QStringLiteral("abcdef") << QStringLiteral("abcd")
            << false;
        QTest::newRow("setText exactly at the limit")
            << none << 4 << Edit::SetText << 0 << QStringLiteral("abcd") << QStringLiteral("abcd")
            << true;
        QTest::newRow("setText without a limit")
            << none << -1 << Edit::SetText << 0 << QStringLiteral("abcdef")
            << QStringLiteral("abcdef") << true;
        QTest::newRow("setText counts a line break once")
            << none << 5 << Edit::SetText << 0 << QStringLiteral("ab\r\ncd")
            << QStringLiteral("ab\ncd") << true;
        QTest::newRow("setText keeps surrogate pairs whole")
            << none << 3 << Edit::SetText << 0 << QStringLiteral("ab\U0001F600")
            << QStringLiteral("ab") << false;
        QTest::newRow("insert keeps surrogate pairs whole")
            << QStringLiteral("ab") << 3 << Edit::InsertAt << 2 << QStringLiteral("\U0001F600")
            << QStringLiteral("ab") << true;
        QTest::newRow("setMaxLength below the content truncates the end")
            << QStringLiteral("abcdef") << 8 << Edit::SetMaxLength << 3 << none
            << QStringLiteral("abc") << true;
        QTest::newRow("setMaxLength zero empties")
            << QStringLiteral("abcdef") << 8 << Edit::SetMaxLength << 0 << none << QString()
            << true;
        QTest::newRow("setMaxLength above the content keeps it")
            << QStringLiteral("abcdef") << 2 << Edit::SetMaxLength << 10 << none
            << QStringLiteral("ab") << true;
        QTest::newRow("image counts as one character")
            << QStringLiteral("ab") << 3 << Edit::InsertImageAt << 2 << none
            << (QStringLiteral("ab") + objectReplacement) << true;
        QTest::newRow("image into a full editor")
            << QStringLiteral("abc") << 3 << Edit::InsertImageAt << 1 << none
            << QStringLiteral("abc") << true;
    }

    void maxLength()
    {
        QFETCH(QString, initial);
        QFETCH(int, maxLength);
        QFETCH(Edit, edit);
        QFETCH(int, position);
        QFETCH(QString, argument);
        QFETCH(QString, expectedText);
        QFETCH(bool, expectedResult);

        Window window(initial);
        MTextEdit *editor = window.edit;
        registerImage(editor->document());
        editor->setMaxLength(maxLength);
        QCOMPARE(editor->maxLength(), maxLength);
        bool result = true;
        QTextCursor cursor = editor->textCursor();
        switch (edit) {
        case Edit::InsertAt:
            cursor.setPosition(position);
            cursor.insertText(argument);
            break;
        case Edit::InsertImageAt:
            cursor.setPosition(position);
            insertImage(cursor);
            break;
        case Edit::Paste:
        case Edit::TypeKeys:
            QVERIFY(editor->setCursorPosition(position));
            QVERIFY(window.focus());
            if (edit == Edit::Paste) {
                QApplication::clipboard()->setText(argument);
                QTest::keySequence(&window.view, QKeySequence::Paste);
            } else {
                QTest::keyClicks(&window.view, argument);
            }
            break;
        case Edit::SetText:
            result = editor->setText(argument);
            break;
        case Edit::SetMaxLength:
            editor->setMaxLength(position);
            break;
        case Edit::InsertInBlock:
        case Edit::KeyWithText:
            QFAIL("no such edit in this test");
        }
        QCOMPARE(editor->text(), expectedText);
        QCOMPARE(result, expectedResult);
        QCOMPARE(editor->document()->characterCount() - 1, expectedText.size());
    }

    void undoAfterTrimming_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("afterEdit");
        QTest::addColumn<QString>("afterUndo");
        QTest::addColumn<bool>("historyKept");

        QTest::newRow("paste") << Edit::Paste << QStringLiteral("ab") << 5 << 1
                               << QStringLiteral("0123456789") << QStringLiteral("a012b")
                               << QStringLiteral("ab") << true;
        QTest::newRow("typing, the keys without room dropped")
            << Edit::TypeKeys << QStringLiteral("ab") << 3 << 0 << QStringLiteral("xyz")
            << QStringLiteral("xab") << QStringLiteral("ab") << true;
        QTest::newRow("one key with more text than room")
            << Edit::KeyWithText << QStringLiteral("ab") << 4 << 2 << QStringLiteral("xyz")
            << QStringLiteral("abxy") << QStringLiteral("ab") << true;
        QTest::newRow("one key with a surrogate pair and more than room")
            << Edit::KeyWithText << QStringLiteral("ab") << 4 << 2 << QStringLiteral("\U0001F600x")
            << QStringLiteral("ab\U0001F600") << QStringLiteral("ab") << true;
        QTest::newRow("one key with a surrogate pair and room for half")
            << Edit::KeyWithText << QStringLiteral("ab") << 3 << 2 << QStringLiteral("\U0001F600")
            << QStringLiteral("ab") << QStringLiteral("ab") << true;
        QTest::newRow("cursor insert in an edit block")
            << Edit::InsertInBlock << QStringLiteral("abcdef") << 8 << 2 << QStringLiteral("WXYZ")
            << QStringLiteral("abWXcdef") << QStringLiteral("abcdef") << true;
        // The trim is an undo step of its own; undoing it must not bring back the overflow.
        QTest::newRow("bare cursor insert")
            << Edit::InsertAt << QStringLiteral("abcdef") << 8 << 2 << QStringLiteral("WXYZ")
            << QStringLiteral("abWXcdef") << QStringLiteral("abWXcdef") << false;
    }

    void undoAfterTrimming()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, initial);
        QFETCH(int, maxLength);
        QFETCH(int, position);
        QFETCH(QString, argument);
        QFETCH(QString, afterEdit);
        QFETCH(QString, afterUndo);
        QFETCH(bool, historyKept);

        Window window(initial);
        MTextEdit *editor = window.edit;
        QTextDocument *document = editor->document();
        editor->setMaxLength(maxLength);
        QVERIFY(!document->isUndoAvailable());
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        switch (edit) {
        case Edit::InsertInBlock:
            cursor.beginEditBlock();
            cursor.insertText(argument);
            cursor.endEditBlock();
            break;
        case Edit::InsertAt:
            cursor.insertText(argument);
            break;
        case Edit::Paste:
        case Edit::TypeKeys:
        case Edit::KeyWithText:
            QVERIFY(editor->setCursorPosition(position));
            QVERIFY(window.focus());
            if (edit == Edit::Paste) {
                QApplication::clipboard()->setText(argument);
                QTest::keySequence(&window.view, QKeySequence::Paste);
            } else if (edit == Edit::TypeKeys) {
                QTest::keyClicks(&window.view, argument);
            } else {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, argument);
                QApplication::sendEvent(&window.view, &key);
            }
            break;
        default:
            QFAIL("no such edit in this test");
        }
        QCOMPARE(editor->text(), afterEdit);

        document->undo();
        QCOMPARE(editor->text(), afterUndo);
        if (historyKept) {
            QVERIFY(!document->isUndoAvailable());
            document->redo();
            QCOMPARE(editor->text(), afterEdit);
        } else {
            QTRY_VERIFY(!document->isUndoAvailable() && !document->isRedoAvailable());
        }
    }

    void lowerLimitDropsLongerHistory()
    {
        MTextEdit edit;
        QTextCursor cursor = edit.textCursor();
        cursor.insertText(QStringLiteral("abcdef"));
        cursor.deletePreviousChar();
        cursor.deletePreviousChar();
        edit.setMaxLength(4);
        QCOMPARE(edit.text(), QStringLiteral("abcd"));
        QVERIFY(!edit.document()->isUndoAvailable());
    }

    void signalsPerEdit_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("textChanged");
        QTest::addColumn<int>("cursorMoved");
        QTest::addColumn<int>("selectionChanged");
        QTest::addColumn<int>("copyAvailable");
        QTest::addColumn<bool>("canCopy");

        struct Row
        {
            const char *name;
            Action action;
            QString text;
            int changed, moved, selection, copy;
            bool canCopy;
        };
        const Row rows[] = {
            { "setText", Action::SetText, QStringLiteral("hi"), 1, 1, 0, 0, false },
            { "typing a key", Action::Type, QStringLiteral("hellox"), 1, 1, 0, 0, false },
            { "insert before the cursor through a copy", Action::InsertBeforeCursor,
                QStringLiteral("xhello"), 1, 1, 0, 0, false },
            { "insert trimmed to the limit", Action::TrimmedInsert, QStringLiteral("hello"), 1, 0,
                0, 0, false },
            { "setMaxLength truncating", Action::Truncate, QStringLiteral("he"), 1, 1, 0, 0,
                false },
            { "select all", Action::SelectAll, QStringLiteral("hello"), 0, 0, 1, 1, true },
            { "collapse the selection", Action::Deselect, QStringLiteral("hello"), 0, 0, 1, 1,
                false },
        };
        for (const Row &row : rows) {
            QTest::newRow(row.name) << row.action << false << row.text << row.changed << row.moved
                                    << row.selection << row.copy << row.canCopy;
            QTest::addRow("%s, signals blocked", row.name)
                << row.action << true << row.text << 0 << 0 << 0 << 0 << row.canCopy;
        }
    }

    void signalsPerEdit()
    {
        QFETCH(Action, action);
        QFETCH(bool, blocked);
        QFETCH(QString, expectedText);
        QFETCH(int, textChanged);
        QFETCH(int, cursorMoved);
        QFETCH(int, selectionChanged);
        QFETCH(int, copyAvailable);
        QFETCH(bool, canCopy);

        Window window(QStringLiteral("hello"));
        MTextEdit *edit = window.edit;
        QVERIFY(window.focus());
        if (action == Action::Deselect)
            QTest::keySequence(&window.view, QKeySequence::SelectAll);
        QSignalSpy changed(edit, &MTextEdit::textChanged);
        QSignalSpy moved(edit, &MTextEdit::cursorPositionChanged);
        QSignalSpy selection(edit, &MTextEdit::selectionChanged);
        QSignalSpy copy(edit, &MTextEdit::copyAvailable);

        edit->blockSignals(blocked);
        QTextCursor cursor = edit->textCursor();
        switch (action) {
        case Action::SetText:
            QVERIFY(edit->setText(QStringLiteral("hi")));
            break;
        case Action::Type:
            QTest::keyClicks(&window.view, QStringLiteral("x"));
            break;
        case Action::InsertBeforeCursor:
            cursor.setPosition(0);
            cursor.insertText(QStringLiteral("x"));
            break;
        case Action::TrimmedInsert:
            edit->setMaxLength(5);
            cursor.setPosition(2);
            cursor.insertText(QStringLiteral("xyz"));
            break;
        case Action::Truncate:
            edit->setMaxLength(2);
            break;
        case Action::SelectAll:
            QTest::keySequence(&window.view, QKeySequence::SelectAll);
            break;
        case Action::Deselect:
            QTest::keyClick(&window.view, Qt::Key_Right);
            break;
        }
        edit->blockSignals(false);

        QCOMPARE(edit->text(), expectedText);
        QCOMPARE(edit->textCursor().hasSelection(), canCopy);
        QCOMPARE(changed.count(), textChanged);
        QCOMPARE(moved.count(), cursorMoved);
        QCOMPARE(selection.count(), selectionChanged);
        QCOMPARE(copy.count(), copyAvailable);
        if (copyAvailable)
            QCOMPARE(copy.last().at(0).toBool(), canCopy);
    }

    void textCursorIsACopyOnTheSameDocument()
    {
        MTextEdit edit(QStringLiteral("hello"));
        QTextCursor cursor = edit.textCursor();
        QCOMPARE(cursor.document(), edit.document());
        cursor.setPosition(0);
        QCOMPARE(edit.cursorPosition(), 5);
        cursor.insertText(QStringLiteral(">"));
        QCOMPARE(edit.text(), QStringLiteral(">hello"));
        QCOMPARE(edit.cursorPosition(), 6);
    }

    void setTextCursor()
    {
        MTextEdit edit(QStringLiteral("hello"));
        QSignalSpy moved(&edit, &MTextEdit::cursorPositionChanged);
        QSignalSpy copy(&edit, &MTextEdit::copyAvailable);
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(1);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        QCOMPARE(edit.cursorPosition(), 3);
        QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("el"));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(copy.count(), 1);
        QVERIFY(copy.last().at(0).toBool());

        // A cursor of another document is refused: the editor keeps editing its own.
        QTextDocument other;
        edit.setTextCursor(QTextCursor(&other));
        edit.setTextCursor(QTextCursor());
        QCOMPARE(edit.textCursor().document(), edit.document());
        QCOMPARE(edit.cursorPosition(), 3);
        edit.textCursor().insertText(QStringLiteral("y"));
        QCOMPARE(edit.text(), QStringLiteral("hylo"));
        QVERIFY(other.isEmpty());
    }

    void documentStaysTheSame()
    {
        MTextEdit edit;
        QPointer<QTextDocument> document = edit.document();
        QVERIFY(document);
        edit.setText(QStringLiteral("abc"));
        edit.setMaxLength(2);
        edit.setReadOnly(true);
        edit.resize(50, 50);
        QCOMPARE(edit.document(), document.data());
        document->setPlainText(QStringLiteral("through the document"));
        QCOMPARE(edit.text(), QStringLiteral("th"));
    }

    void imageIsDrawn()
    {
        QGraphicsScene scene;
        auto *edit = new MTextEdit(QStringLiteral("look: "));
        scene.addItem(edit);
        edit->resize(200, 100);
        registerImage(edit->document());
        QCOMPARE(pixelsOfImageColour(scene, edit->size()), 0);

        insertImage(edit->textCursor());
        QCOMPARE(edit->text(), QStringLiteral("look: ") + objectReplacement);
        QVERIFY(pixelsOfImageColour(scene, edit->size()) >= 16 * 16);
    }

    void scrollsToTheCursor()
    {
        QGraphicsScene scene;
        auto *edit = new MTextEdit;
        scene.addItem(edit);
        edit->resize(200, 60);
        registerImage(edit->document());
        edit->setText(QStringLiteral("line\n").repeated(20));
        // The image goes in at the editor's cursor, so the cursor ends up behind it.
        insertImage(edit->textCursor());
        QCOMPARE(edit->cursorPosition(), edit->document()->characterCount() - 1);
        QVERIFY(pixelsOfImageColour(scene, edit->size()) >= 16 * 16);

        QVERIFY(edit->setCursorPosition(0));
        QCOMPARE(pixelsOfImageColour(scene, edit->size()), 0);
    }

    void wrapsAtItsWidth()
    {
        MTextEdit edit(QStringLiteral("many short words ").repeated(10));
        edit.resize(400, 100);
        const qreal wideHeight = edit.document()->size().height();
        QVERIFY(edit.document()->size().width() <= 400);
        edit.resize(120, 100);
        QVERIFY(edit.document()->size().width() <= 120);
        QVERIFY(edit.document()->size().height() > wideHeight);
    }

    void sizeHints()
    {
        MTextEdit edit;
        const QSizeF minimum = edit.effectiveSizeHint(Qt::MinimumSize);
        const QSizeF preferred = edit.effectiveSizeHint(Qt::PreferredSize);
        const qreal line = QFontMetricsF(edit.document()->defaultFont()).lineSpacing();
        QVERIFY(minimum.height() >= line);
        QVERIFY(preferred.height() >= 3 * line);
        QVERIFY(preferred.width() > minimum.width());
        QCOMPARE(edit.size(), preferred);
    }

    void deletingTheFocusedEditor()
    {
        Window window(QStringLiteral("abc"));
        QVERIFY(window.focus());
        QTest::keyClicks(&window.view, QStringLiteral("d"));
        QSignalSpy destroyed(window.edit, &QObject::destroyed);
        delete window.edit;
        QCOMPARE(destroyed.count(), 1);
        QVERIFY(!window.scene.focusItem());
        QTest::keyClicks(&window.view, QStringLiteral("e"));
    }
};

GLYPHMORPH_TEST_MAIN(MTextEditTest)
#include "mtextedittest.moc"
