// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Editor content back to plain text: images become the codes they carry.
#include "glyphmorpher.h"
#include "mtextedit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace {

QString imageCode(const QTextCharFormat &format)
{
    return format.property(QTextFormat::UserProperty).toString();
}

// What the cursor readers share: one character at a time, paragraph boundaries as "\n".
class SelectionReader
{
public:
    // A code at the very start of a selection gets a space; elsewhere it needs no space after a
    // space, an image or a paragraph boundary.
    explicit SelectionReader(bool spaceAtStart)
        : m_separate(spaceAtStart)
    { }

    // Extends @p cursor over the next character and takes it in.
    void read(QTextCursor &cursor, int &blockNumber)
    {
        cursor.setPosition(cursor.position() + 1, QTextCursor::KeepAnchor);
        if (cursor.blockNumber() != blockNumber) {
            m_text += QLatin1Char('\n');
            blockNumber = cursor.blockNumber();
            m_separate = false;
        } else {
            take(cursor);
        }
        cursor.clearSelection();
    }

    QString text() const { return m_text; }

private:
    void take(const QTextCursor &cursor)
    {
        const QString character = cursor.selectedText();
        if (character == QString(QChar::ObjectReplacementCharacter)) {
            if (m_separate)
                m_text += QLatin1Char(' ');
            m_text += imageCode(cursor.charFormat());
            m_separate = false;
        } else {
            m_text += character;
            m_separate = character != QLatin1String(" ");
        }
    }

    QString m_text;
    bool m_separate;
};

} // namespace

QString Glyphmorpher::transformTextEditContentToPlainText(const MTextEdit *textEdit)
{
    if (!textEdit)
        return QString();
    const QTextDocument *document = textEdit->document();
    QString result;
    result.reserve(qMax(int(1.5 * (document->characterCount() - 1)), 256));

    // Runs of text are copied fragment by fragment; only images and paragraph boundaries need a
    // look of their own. A code needs a space before it unless a space or an image comes first.
    bool separate = false;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin()) {
            result += QLatin1Char('\n');
            separate = true;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            int runStart = 0;
            for (int i = 0; i < text.size(); ++i) {
                if (text.at(i) != QChar::ObjectReplacementCharacter)
                    continue;
                if (i > runStart) {
                    result.append(text.constData() + runStart, i - runStart);
                    separate = text.at(i - 1) != QLatin1Char(' ');
                }
                if (separate)
                    result += QLatin1Char(' ');
                result += imageCode(fragment.charFormat());
                separate = false;
                runStart = i + 1;
            }
            if (runStart < text.size()) {
                result.append(text.constData() + runStart, text.size() - runStart);
                separate = text.back() != QLatin1Char(' ');
            }
        }
    }
    return result;
}

QString Glyphmorpher::transformTextCursorContentToPlainText(QTextCursor *cursor)
{
    if (!cursor || !cursor->hasSelection())
        return QString();
    QTextCursor reader(*cursor);
    const int end = reader.selectionEnd();
    reader.setPosition(reader.selectionStart());
    int blockNumber = reader.blockNumber();
    SelectionReader selection(true);
    while (reader.position() < end && !reader.atEnd())
        selection.read(reader, blockNumber);
    return selection.text();
}

QString Glyphmorpher::transformInverseTextCursorContentToPlainText(QTextCursor *cursor)
{
    if (!cursor || !cursor->hasSelection())
        return QString();
    QTextCursor reader(*cursor);
    const int start = reader.selectionStart();
    const int end = reader.selectionEnd();
    reader.setPosition(0);
    int blockNumber = reader.blockNumber();
    SelectionReader outside(false);
    while (!reader.atEnd()) {
        const int next = reader.position() + 1;
        if (start < next && next <= end) {
            // Inside the selection: nothing of it shows, not even a paragraph boundary.
            reader.setPosition(next);
            blockNumber = reader.blockNumber();
            continue;
        }
        outside.read(reader, blockNumber);
    }
    return outside.text();
}
