// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Editor content back to plain text: images become the codes they carry.
#include "glyphmorpher.h"

#include "documentplaintext_p.h"
#include "mtextedit.h"
#include "mtextedit_p.h"
#include "texteditoraccess_p.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

QString Glyphmorpher::transformTextEditContentToPlainText(const MTextEdit *textEdit)
{
    return textEdit ? TextEditorAccess::plainText(textEdit->document()) : QString();
}

QString Glyphmorpher::transformTextEditContentToPlainText(const QTextEdit *textEdit)
{
    return textEdit ? TextEditorAccess::plainText(textEdit->document()) : QString();
}

QString Glyphmorpher::transformTextCursorContentToPlainText(QTextCursor *cursor)
{
    if (!cursor || !cursor->hasSelection())
        return QString();
    const QTextDocument *document = cursor->document();
    DocumentPlainText selection(DocumentPlainText::Separation::AfterWordEnd, true);
    selection.read(document, cursor->selectionStart(), cursor->selectionEnd());
    return selection.text();
}

QString Glyphmorpher::transformInverseTextCursorContentToPlainText(QTextCursor *cursor)
{
    if (!cursor || !cursor->hasSelection())
        return QString();
    const QTextDocument *document = cursor->document();
    // The text before and after the selection is joined directly: nothing of the selection shows,
    // not even a paragraph boundary.
    DocumentPlainText outside(DocumentPlainText::Separation::AfterWordEnd, false);
    outside.read(document, 0, cursor->selectionStart());
    outside.read(document, cursor->selectionEnd(), DocumentPlainText::contentEnd(document));
    return outside.text();
}

QMimeData *Glyphmorpher::createMimeDataFromSelection(const QTextCursor &cursor)
{
    DocumentPlainText selection(DocumentPlainText::Separation::AfterSpaceOrImage, false);
    if (cursor.hasSelection())
        selection.read(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
    auto *data = new QMimeData;
    data->setText(selection.text());
    return data;
}

namespace {

// The platform's editor cannot call up into the library; it is told how to copy when the
// library is loaded.
void copyMTextEditThroughReaders()
{
    MTextEditClipboard::setMimeSource(&Glyphmorpher::createMimeDataFromSelection);
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(copyMTextEditThroughReaders)
