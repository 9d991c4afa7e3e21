// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Codes typed or pasted into an editor become inline images that remember their code.
#include "emojigraphemes_p.h"
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "emoticonimagefile_p.h"
#include "keptcode_p.h"
#include "texteditoraccess_p.h"

#include <QHash>
#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariantHash>

namespace {

const char PositionOfChange[] = "positionOfChange";
const char CharactersPasted[] = "charactersPasted";
const char ImageResourceHash[] = "imageResourceHash";
constexpr int ImageSize = 20;

// Where a table cell or a frame begins or ends, the document holds one of these in place of a
// paragraph separator.
bool isFrameBoundary(QChar c)
{
    return c.unicode() == 0xfdd0 || c.unicode() == 0xfdd1;
}

bool isWordSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
        || c == QChar::ObjectReplacementCharacter || isFrameBoundary(c);
}

// Codes are written into images unescaped, whichever form the text had.
QString unescapedCode(QString code)
{
    code.replace(QLatin1String("&gt;"), QLatin1String(">"));
    code.replace(QLatin1String("&lt;"), QLatin1String("<"));
    code.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return code;
}

QPixmap imagePixmap(const EmoticonImageFile &file)
{
    const QPixmap pixmap = file.pixmap();
    if (!pixmap.isNull())
        return pixmap;
    // The document's layout reads an image without a usable resource from its path by itself,
    // unbounded: a FIFO there would hang the editor. A blank stands in until the file is readable.
    QPixmap blank(ImageSize, ImageSize);
    blank.fill(Qt::transparent);
    return blank;
}

} // namespace

// The document's text near the walk, one character for each position, read in one piece: asking
// the document for every character costs a tree lookup each time, which would make typing slower
// the longer the message grows.
class DocumentText
{
public:
    explicit DocumentText(const QTextDocument *document)
        : m_document(document)
        , m_cursor(const_cast<QTextDocument *>(document))
    {
        documentChanged();
    }

    /** The position of the document's last character (its final paragraph separator). */
    int end() const { return m_end; }

    /** The character at @p position; a null character outside [0, end()). */
    QChar at(int position)
    {
        if (position < m_windowStart || position >= m_windowStart + m_window.size())
            load(position);
        // Past the document's last character there is nothing to read.
        const int index = position - m_windowStart;
        return index >= 0 && index < m_window.size() ? m_window.at(index) : QChar();
    }

    /** Whether a grapheme begins at @p position, emoji sequences being read whole. */
    bool startsGrapheme(int position)
    {
        // The rule reads back over runs of at most a few hundred characters.
        constexpr int Before = 300;
        const int from = qMax(0, position - Before);
        const int to = qMin(m_end, position + 2);
        QString around;
        around.reserve(to - from);
        for (int i = from; i < to; ++i)
            around += at(i);
        return EmojiGraphemes::isBoundary(around.constData(), int(around.size()), position - from);
    }

    void documentChanged()
    {
        m_end = m_document->characterCount() - 1;
        m_window.clear();
    }

private:
    void load(int position)
    {
        constexpr int Reach = 64;
        m_windowStart = qMax(0, position - Reach);
        const int windowEnd = qMin(m_end, position + Reach);
        m_cursor.setPosition(m_windowStart);
        m_cursor.setPosition(windowEnd, QTextCursor::KeepAnchor);
        m_window = m_cursor.selectedText();
        // A selection that reaches into a table grows to whole cells and reads them cell by
        // cell; there the document is asked position by position.
        if (m_cursor.hasComplexSelection() || m_cursor.selectionStart() != m_windowStart
            || m_cursor.selectionEnd() != windowEnd
            || m_window.size() != windowEnd - m_windowStart) {
            m_window.resize(windowEnd - m_windowStart);
            for (int i = 0; i < m_window.size(); ++i)
                m_window[i] = m_document->characterAt(m_windowStart + i);
        }
    }

    const QTextDocument *m_document;
    QTextCursor m_cursor;
    int m_end = 0;
    int m_windowStart = 0;
    QString m_window;
};

void emoSequenceSearchTree::performCharacterCode2EmoticonReplacement(
    MTextEdit *textEdit, bool wholeDocument)
{
    if (!textEdit)
        return;
    TextEditorAccess editor(textEdit);
    d->performCharacterCode2EmoticonReplacement(editor, wholeDocument);
}

bool emoSequenceSearchTreePrivate::moveToStartOfCurrentWord(QTextCursor &cursor, DocumentText &text)
{
    for (int position = cursor.position(); position > 0; --position) {
        if (isWordSeparator(text.at(position - 1))) {
            cursor.setPosition(position - 1); // just before the separator
            return true;
        }
    }
    cursor.setPosition(0);
    return false;
}

bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(QTextCursor &cursor, DocumentText &text)
{
    const int start = cursor.position();
    const int end = text.end();
    if (start >= end)
        return false;
    // The end test comes first: the document's last character is never examined.
    for (int position = start; position + 1 < end; ++position) {
        if (isWordSeparator(text.at(position))) {
            cursor.setPosition(position + 1); // just after the separator
            return true;
        }
    }
    cursor.setPosition(end);
    return false;
}

const emoSequenceSearchTreePrivate::emoNode *emoSequenceSearchTreePrivate::editorImage(
    const TextEditorAccess &editor, const emoNode *code)
{
    if (code->emojiSequence || code->emojiText.isEmpty() || !editor.emojiOfShortcode)
        return code;
    const QString emoji = editor.emojiOfShortcode(code->emojiText);
    emoNode *node = rootNode;
    // Only an emoji of the tree: its image comes from the theme like any other.
    return emoji != code->emojiText && advanceExtensionIterationNode(node, emoji)
            && node->emojiSequence
        ? node
        : code;
}

bool emoSequenceSearchTreePrivate::replaceEmojiInWord(
    TextEditorAccess &editor, QTextCursor &cursor, DocumentText &text)
{
    bool replaced = false;
    int position = cursor.position();
    for (; position < text.end() && !isWordSeparator(text.at(position)); ++position) {
        if (!mayBeginEmoji(text.at(position).unicode()) || !text.startsGrapheme(position))
            continue;
        cursor.setPosition(position);
        if (replaceEmoticonSequence(editor, cursor, text, true))
            replaced = true;
        // The walk stops on the first character it could not use, or after the images.
        position = qMax(position, cursor.position() - 1);
    }
    cursor.setPosition(qMin(position, text.end()));
    return replaced;
}

bool emoSequenceSearchTreePrivate::replaceEmoticonSequence(
    TextEditorAccess &editor, QTextCursor &cursor, DocumentText &text, bool emojiFirst)
{
    emoNode *node = rootNode;
    bool extending = false; // an image just read may still grow into a longer code
    QString extensionCode;
    int savedPosition = 0;
    bool replaced = false;

    int position = cursor.position();
    while (position < text.end()) {
        const QChar c = text.at(position);

        if (c == QChar::ObjectReplacementCharacter) {
            ++position;
            if (node->children.isEmpty()) {
                node = rootNode;
                extending = false;
                continue;
            }
            savedPosition = position;
            cursor.setPosition(position);
            extensionCode
                = unescapedCode(cursor.charFormat().property(QTextFormat::UserProperty).toString());
            // An image whose code this tree holds only in part (one from another theme) does not
            // grow: the longer image would stand for less than the code it took the place of, and
            // the selection below would reach past the image into the user's text.
            extending
                = advanceExtensionIterationNode(node, extensionCode) && !node->children.isEmpty();
            if (!extending)
                node = rootNode;
            continue;
        }

        // A code never reaches from one table cell or frame into the next.
        emoNode *child = isFrameBoundary(c) ? nullptr : node->children.value(c);
        if (!child) {
            if (!extending)
                break;
            // The characters after the image start no longer code: read them again from the root.
            position = savedPosition;
            extending = false;
            node = rootNode;
            continue;
        }
        node = child;
        // In a tree of emoji a code counts where its grapheme ends; after a word's start, only
        // an emoji sequence begins a chain.
        if (child->filePath.isEmpty() || (emojiFirst && !child->emojiSequence)
            || (hasEmojiSequences() && !text.startsGrapheme(position + 1))) {
            ++position;
            continue;
        }

        // The anchor stays after the current character; the selection reaches back over the code
        // (and over the image it grows out of).
        const int codeLength = child->characterCodeSequence.size();
        if (!extending
            && KeptCode::isKept(
                editor.editor(), position + 1 - codeLength, child->characterCodeSequence)) {
            ++position;
            if (child->children.isEmpty())
                node = rootNode;
            continue;
        }
        cursor.setPosition(position + 1);
        cursor.setPosition(
            extending ? position + extensionCode.size() - codeLength : position + 1 - codeLength,
            QTextCursor::KeepAnchor);

        // The image keeps its path as its name, so a changed file replaces the resource under
        // that path; the registration remembers which file the resource was read from. An image
        // drawn on first use is drawn before it is read.
        const emoNode *image = hasEmojiSequences() ? editorImage(editor, child) : child;
        prepareImage(image);
        const QString key = image->filePath + QString::number(ImageSize);
        const EmoticonImageFile file = EmoticonImageFile::current(image->filePath);
        QVariantHash registered = editor.editor()->property(ImageResourceHash).toHash();
        const auto entry = registered.constFind(key);
        if (entry == registered.constEnd() || entry->toString() != file.identity) {
            registered.insert(key, file.identity);
            editor.editor()->setProperty(ImageResourceHash, registered);
            cursor.document()->addResource(QTextDocument::ImageResource,
                editor.resourceUrl(image->filePath), imagePixmap(file));
        }

        // An emoji's image reads back as the emoji, whatever code made it.
        const bool asEmoji = hasEmojiSequences() && !image->emojiText.isEmpty();
        const QString code
            = asEmoji ? image->emojiText : unescapedCode(child->characterCodeSequence);
        cursor.insertImage(EmoticonImageFile::textFormat(image->filePath, code));
        text.documentChanged();
        if (asEmoji && editor.emojiImageMade)
            editor.emojiImageMade(code, extending ? extensionCode : QString());
        position = cursor.position();
        replaced = true;
        emojiFirst = false;

        if (asEmoji) {
            // It grows as an image read from the document would: along the emoji.
            savedPosition = position;
            extensionCode = code;
            extending = advanceExtensionIterationNode(node, code) && !node->children.isEmpty();
            if (!extending)
                node = rootNode;
        } else if (child->children.isEmpty()) {
            node = rootNode;
            extending = false;
        } else {
            savedPosition = position;
            extensionCode = code;
            extending = true;
        }
    }
    cursor.setPosition(position);
    return replaced;
}

void emoSequenceSearchTreePrivate::performCharacterCode2EmoticonReplacement(
    TextEditorAccess &editor, bool wholeDocument)
{
    QTextCursor cursor(editor.document());
    DocumentText text(editor.document());
    cursor.beginEditBlock();

    int end = 0;
    if (!wholeDocument) {
        const int change = editor.editor()->property(PositionOfChange).toInt();
        const int pasted = editor.editor()->property(CharactersPasted).toInt();
        // An editor without a length limit reports a negative one: nothing to clip then.
        const int limit = editor.maxLength();
        // A position outside the document leaves the cursor where it is.
        const auto moveTo = [&](int position) {
            if (position >= 0 && position <= text.end())
                cursor.setPosition(position);
        };
        // Qt reports a paste into an empty document one longer than the text, its final
        // paragraph separator included: the change ends at the document's end at the latest.
        moveTo(qMin(text.end(), limit < 0 ? change + pasted : qMin(limit, change + pasted)));
        moveToStartOfNextWord(cursor, text);
        end = cursor.position();
        moveTo(change);
        moveToStartOfCurrentWord(cursor, text);
    }

    bool replaced = false;
    for (;;) {
        replaced = replaceEmoticonSequence(editor, cursor, text);
        if (hasEmojiSequences() && replaceEmojiInWord(editor, cursor, text))
            replaced = true;
        if (!wholeDocument && cursor.position() >= end)
            break;
        if (!moveToStartOfNextWord(cursor, text)) {
            if (wholeDocument) {
                cursor.endEditBlock();
                return;
            }
            break;
        }
        if (!wholeDocument && replaced && cursor.position() > end) {
            cursor.endEditBlock();
            return;
        }
    }
    cursor.endEditBlock();
    if (replaced)
        editor.noteChange();
}
