// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoji typed or pasted into an editor: images at grapheme boundaries, grown code point by code
// point, read back as the emoji, removed whole.
#include "editormodel.h"
#include "emojitree.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "testenvironment.h"

using namespace GlyphmorphTest;

namespace {

// Each piece goes in as one edit, as a key press or a paste would, and the walk runs after it.
QString typed(EmojiTree &emoji, MTextEdit &editor, const QStringList &pieces)
{
    int changePosition = 0;
    int changeAdded = 0;
    const auto connection = QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });
    for (const QString &piece : pieces) {
        QTextCursor cursor = editor.textCursor();
        cursor.insertText(piece);
        editor.setTextCursor(cursor);
        editor.setProperty("positionOfChange", changePosition);
        editor.setProperty("charactersPasted", changeAdded);
        emoji.tree->performCharacterCode2EmoticonReplacement(&editor, false);
    }
    QObject::disconnect(connection);
    QString notation = positionNotation(editor.document());
    notation.chop(1); // the document's final paragraph separator
    return notation;
}

QStringList codePoints(const QString &text)
{
    QStringList pieces;
    for (const auto c : text.toUcs4()) {
        const char32_t codePoint = c;
        pieces += QString::fromUcs4(&codePoint, 1);
    }
    return pieces;
}

QString image(const QString &emoji, const QString &path = QString())
{
    return '{' + emoji + "@/" + (path.isNull() ? emoji : path) + '}';
}

} // namespace

class EmojiEditorTest : public QObject
{
    Q_OBJECT

private:
    EmojiTree emoji;

private Q_SLOTS:
    void typing_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("notation");
        const QString thumbs = QStringLiteral("\U0001F44D");
        const QString toned = QStringLiteral("\U0001F44D\U0001F3FD");
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
        QTest::newRow("inside a word, code point by code point")
            << codePoints("great" + thumbs + thumbs) << "great" + image(thumbs) + image(thumbs);
        QTest::newRow("a joined sequence grows into one image")
            << codePoints(family) << image(family);
        QTest::newRow("a tone joins the image before it")
            << codePoints("ok " + toned) << "ok " + image(toned);
        QTest::newRow("pasted with tones") << QStringList { "a" + toned + toned + " b" }
                                           << "a" + image(toned) + image(toned) + " b";
        // A typed shortcode is sent as its emoji, and grows with a tone like one.
        QTest::newRow("shortcode reads back as the emoji")
            << codePoints(":thumbsup: ") << image(thumbs, ":thumbsup:") + " ";
        QTest::newRow("shortcode takes a tone")
            << codePoints(":thumbsup:\U0001F3FD") << image(toned);
        const QString unknown = QStringLiteral("a\U0001F468\u200D\U0001F9B0\u200D\U0001F9B0b");
        QTest::newRow("unknown joined sequence stays text") << QStringList { unknown } << unknown;
        QTest::newRow("shortcode inside a word stays text")
            << codePoints("x:thumbsup: ") << "x:thumbsup: ";
        QTest::newRow("text-default character after FE0F")
            << codePoints(QStringLiteral("\u00A9 x\u263A\uFE0F"))
            << QStringLiteral("\u00A9 x") + image(QStringLiteral("\u263A\uFE0F"));
    }

    void typing()
    {
        QFETCH(QStringList, pieces);
        QFETCH(QString, notation);
        MTextEdit editor;
        QCOMPARE(typed(emoji, editor, pieces), notation);
    }

    // An emoji is one character to the user: the image is not taken back into text first.
    void backspaceRemovesTheWholeEmoji()
    {
        MTextEdit editor;
        typed(emoji, editor, codePoints(QStringLiteral("ok\U0001F44D\U0001F3FD")));
        Glyphmorpher morpher;
        QVERIFY(!morpher.revertEmoticonBeforeCursor(&editor));
        // What the editor's Backspace does.
        QTextCursor cursor = editor.textCursor();
        cursor.deletePreviousChar();
        QCOMPARE(editor.document()->toPlainText(), QStringLiteral("ok"));
    }
};

GLYPHMORPH_TEST_MAIN(EmojiEditorTest)
#include "emojieditortest.moc"
