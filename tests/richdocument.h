// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Rich editor documents built by cursor edits that a source of numbers chooses (the fuzz bytes or
// a seeded generator): text with codes, emoticon images carrying any code, paragraphs, lists,
// tables and frames.
#ifndef GLYPHMORPH_RICHDOCUMENT_H
#define GLYPHMORPH_RICHDOCUMENT_H

#include <QObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <functional>

namespace GlyphmorphTest {

/** Numbers from a seeded generator, in the shape the fuzz bytes give them. */
struct RandomChoices
{
    QRandomGenerator random;

    int below(int bound) { return int(random.bounded(bound)); }
    QString text(int maxLength, const QString &alphabet)
    {
        QString result;
        for (int length = below(maxLength + 1); length > 0; --length)
            result += alphabet.at(below(int(alphabet.size())));
        return result;
    }
};

/** One edit at @p cursor: text, a code, an image, a paragraph, a list, a table, a frame, a move
 *  or a removal. */
template<typename Choices>
void editRichDocument(
    QTextCursor &cursor, Choices &choices, const QStringList &codes, const QStringList &paths)
{
    // Characters that make up codes, and those that end or join words.
    const QString alphabet
        = QStringLiteral(":;=-)(DPpOo<3&lt;gS|*\\/8B xy\u2028\u2029\uFFFC\t\u00e9");
    const int length = cursor.document()->characterCount();
    switch (choices.below(10)) {
    case 0:
    case 1:
        cursor.insertText(choices.text(8, alphabet));
        break;
    case 2:
        cursor.insertText(codes.at(choices.below(int(codes.size()))));
        break;
    case 3: {
        // An image carrying one of the codes, or now and then any text.
        QTextImageFormat image;
        image.setName(paths.at(choices.below(int(paths.size()))));
        image.setProperty(QTextFormat::UserProperty,
            choices.below(4) == 0 ? choices.text(6, alphabet)
                                  : codes.at(choices.below(int(codes.size()))));
        image.setVerticalAlignment(QTextCharFormat::AlignBottom);
        cursor.insertImage(image);
        break;
    }
    case 4:
        cursor.insertBlock();
        break;
    case 5:
        cursor.insertList(
            choices.below(2) ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        break;
    case 6: {
        // One read a statement: the order of reads must not depend on the compiler.
        const int rows = 1 + choices.below(3);
        const int columns = 1 + choices.below(3);
        QTextTable *table = cursor.insertTable(rows, columns);
        const int row = choices.below(rows);
        const int column = choices.below(columns);
        cursor = table->cellAt(row, column).firstCursorPosition();
        break;
    }
    case 7:
        cursor.setPosition(choices.below(256) % length);
        break;
    case 8:
        cursor.setPosition(choices.below(256) % length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
    case 9:
        cursor.insertFrame(QTextFrameFormat());
        break;
    }
}

/**
 * A random rich document in @p editor (an MTextEdit or a QTextEdit), a length limit now and then
 * where @p setLimit is given, and a change as the document reported it or figures gone stale;
 * true when the whole document is to be walked. The same seed gives the same document and
 * figures in either kind of editor.
 */
template<typename Editor>
bool buildRandomEditor(Editor &editor, int seed, const QStringList &codes, const QStringList &paths,
    const std::function<void(int)> &setLimit = {})
{
    RandomChoices choices { QRandomGenerator(quint32(seed)) };
    int changePosition = 0;
    int changeAdded = 0;
    const QMetaObject::Connection connection = QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });
    QTextCursor cursor(editor.document());
    for (int edits = 1 + choices.below(12); edits > 0; --edits)
        editRichDocument(cursor, choices, codes, paths);
    editor.setTextCursor(cursor);
    // While the change is still recorded: a limit cuts the content.
    if (choices.below(3) == 0) {
        const int limit = choices.below(40);
        if (setLimit)
            setLimit(limit);
    }
    QObject::disconnect(connection);
    if (choices.below(3) == 0) {
        // Figures gone stale, or never right.
        const int reach = editor.document()->characterCount() + 4;
        changePosition = choices.below(reach + 4) - 4;
        changeAdded = choices.below(reach + 4) - 4;
    }
    editor.setProperty("positionOfChange", changePosition);
    editor.setProperty("charactersPasted", changeAdded);
    return choices.below(4) == 0;
}

} // namespace GlyphmorphTest

#endif
