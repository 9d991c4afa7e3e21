// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonreplacer.h"

#include "editorreplacement_p.h"
#include "emojicompletionmodel.h"
#include "emojicompletionstate_p.h"
#include "texteditoraccess_p.h"

#include <QQuickTextDocument>
#include <QTextCursor>
#include <QTextDocument>

EmoticonReplacer::EmoticonReplacer(QObject *parent)
    : QObject(parent)
    , m_completion(new EmojiCompletionState(this))
{
    connect(m_completion, &EmojiCompletionState::openChanged, this,
        &EmoticonReplacer::completionOpenChanged);
    connect(m_completion, &EmojiCompletionState::currentRowChanged, this,
        &EmoticonReplacer::completionIndexChanged);
}

EmoticonReplacer::~EmoticonReplacer() = default;

QQuickTextDocument *EmoticonReplacer::document() const
{
    return m_document;
}

void EmoticonReplacer::setDocument(QQuickTextDocument *document)
{
    if (document == m_document)
        return;
    if (QTextDocument *old = textDocument())
        disconnect(old, nullptr, this, nullptr);
    m_document = document;
    if (QTextDocument *current = textDocument()) {
        connect(current, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { contentsChange(position, added); });
    }
    // After the replacement's own connection: the completion sees the text it left.
    m_completion->setDocument(textDocument());
    m_completion->setCursor(m_cursorPosition, hasSelection());
    Q_EMIT documentChanged();
}

QString EmoticonReplacer::accountPath() const
{
    return m_accountPath;
}

void EmoticonReplacer::setAccountPath(const QString &accountPath)
{
    if (accountPath == m_accountPath)
        return;
    m_accountPath = accountPath;
    Q_EMIT accountPathChanged();
}

QTextDocument *EmoticonReplacer::textDocument() const
{
    return m_document ? m_document->textDocument() : nullptr;
}

bool EmoticonReplacer::hasSelection() const
{
    // The TextEdit made the QQuickTextDocument as its child; its selection is there.
    const QObject *edit = m_document ? m_document->parent() : nullptr;
    return edit
        && edit->property("selectionStart").toInt() != edit->property("selectionEnd").toInt();
}

QAbstractItemModel *EmoticonReplacer::completions() const
{
    return m_completion->model();
}

int EmoticonReplacer::cursorPosition() const
{
    return m_cursorPosition;
}

void EmoticonReplacer::setCursorPosition(int position)
{
    if (position == m_cursorPosition)
        return;
    m_cursorPosition = position;
    m_completion->setCursor(position, hasSelection());
    Q_EMIT cursorPositionChanged();
}

bool EmoticonReplacer::completionOpen() const
{
    return m_completion->isOpen();
}

int EmoticonReplacer::completionIndex() const
{
    return m_completion->currentRow();
}

void EmoticonReplacer::setCompletionIndex(int index)
{
    m_completion->setCurrentRow(index);
}

bool EmoticonReplacer::handleCompletionKey(int key, int modifiers)
{
    // A selection made without moving the cursor (select all at the end) shows only here.
    m_completion->setCursor(m_completion->cursorPosition(), hasSelection());
    return m_completion->handleKey(key, Qt::KeyboardModifiers(modifiers));
}

int EmoticonReplacer::acceptCompletion()
{
    return m_completion->complete();
}

void EmoticonReplacer::closeCompletion()
{
    m_completion->dismiss();
}

void EmoticonReplacer::contentsChange(int position, int added)
{
    if (m_replacing)
        return;
    m_replacing = true;
    // The change properties live on this element: QML gives no other object of the editor.
    setProperty("positionOfChange", position);
    setProperty("charactersPasted", added);
    {
        TextEditorAccess editor(textDocument(), this, QTextCursor());
        EditorReplacement::replaceCodes(editor, m_accountPath, false);
    }
    m_replacing = false;
}

void EmoticonReplacer::insertEmoticon(int position, const QString &code, const QString &imagePath)
{
    QTextDocument *document = textDocument();
    if (!document || position < 0 || position >= document->characterCount())
        return;
    QTextCursor cursor(document);
    cursor.setPosition(position);
    m_replacing = true;
    TextEditorAccess(document, this, cursor).addEmoticon(code, imagePath);
    m_replacing = false;
}

QString EmoticonReplacer::plainText() const
{
    const QTextDocument *document = textDocument();
    return document ? TextEditorAccess::plainText(document) : QString();
}

void EmoticonReplacer::replaceAll()
{
    if (QTextDocument *document = textDocument()) {
        m_replacing = true;
        {
            TextEditorAccess editor(document, this, QTextCursor());
            EditorReplacement::replaceCodes(editor, m_accountPath, true);
        }
        m_replacing = false;
    }
}
