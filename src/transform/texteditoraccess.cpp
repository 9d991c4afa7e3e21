// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "texteditoraccess_p.h"

#include "documentplaintext_p.h"
#include "emoticonimagefile_p.h"
#include "mtextedit.h"

#include <QPixmap>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>

TextEditorAccess::TextEditorAccess(MTextEdit *editor)
    : m_document(editor->document())
    , m_editor(editor)
    , m_mTextEdit(editor)
{ }

TextEditorAccess::TextEditorAccess(QTextEdit *editor)
    : m_document(editor->document())
    , m_editor(editor)
    , m_qTextEdit(editor)
{ }

TextEditorAccess::TextEditorAccess(
    QTextDocument *document, QObject *editor, const QTextCursor &cursor)
    : m_document(document)
    , m_editor(editor)
    , m_cursor(cursor.isNull() || cursor.document() != document ? QTextCursor(document) : cursor)
{ }

int TextEditorAccess::maxLength() const
{
    return m_mTextEdit ? m_mTextEdit->maxLength() : -1;
}

QTextCursor TextEditorAccess::textCursor() const
{
    if (m_mTextEdit)
        return m_mTextEdit->textCursor();
    if (m_qTextEdit)
        return m_qTextEdit->textCursor();
    return m_cursor;
}

QUrl TextEditorAccess::resourceUrl(const QString &imagePath) const
{
    return m_document->baseUrl().resolved(QUrl(imagePath));
}

void TextEditorAccess::noteChange()
{
    if (m_mTextEdit)
        m_mTextEdit->setCursorPosition(m_mTextEdit->cursorPosition());
    else if (m_qTextEdit)
        m_qTextEdit->setTextCursor(m_qTextEdit->textCursor());
}

void TextEditorAccess::reduceToPlainText()
{
    // No space is put between a word's end (a paragraph start too) and a code, so that a second
    // pass of the walk changes nothing.
    DocumentPlainText content(DocumentPlainText::Separation::AfterWalkSeparator, false);
    content.readAll(m_document);
    const QSignalBlocker blocker(m_editor);
    m_document->setPlainText(content.text());
}

void TextEditorAccess::addEmoticon(const QString &characterCode, const QString &imagePath)
{
    const QPixmap pixmap = EmoticonImageFile::current(imagePath).pixmap();
    if (pixmap.isNull())
        return;
    // Replaced every time: the document may hold an older image under the same path.
    m_document->addResource(QTextDocument::ImageResource, resourceUrl(imagePath), pixmap);
    QTextImageFormat format = EmoticonImageFile::textFormat(imagePath, characterCode);
    // In pixels of the screen's layout: a dense screen's twin has more device pixels.
    format.setWidth(pixmap.width() / pixmap.devicePixelRatio());
    format.setHeight(pixmap.height() / pixmap.devicePixelRatio());
    textCursor().insertImage(format);
}

QString TextEditorAccess::plainText(const QTextDocument *document)
{
    DocumentPlainText content(DocumentPlainText::Separation::AfterSpaceOrImage, false);
    content.readAll(document);
    return content.text();
}
