// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonreplacer.h"

#include "editorreplacement_p.h"
#include "texteditoraccess_p.h"

#include <QQuickTextDocument>
#include <QTextCursor>
#include <QTextDocument>

EmoticonReplacer::EmoticonReplacer(QObject *parent)
    : QObject(parent)
{ }

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
