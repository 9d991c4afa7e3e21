// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// An emoticon image taken back into the code it was made from.
#include "glyphmorpher.h"

#include "emojidata.h"
#include "keptcode_p.h"
#include "mtextedit.h"
#include "mtextedit_p.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

bool Glyphmorpher::revertEmoticonBeforeCursor(MTextEdit *textEdit)
{
    if (!textEdit)
        return false;
    QTextCursor cursor = textEdit->textCursor();
    const int end = cursor.position();
    QTextDocument *document = textEdit->document();
    if (cursor.hasSelection() || end == 0
        || document->characterAt(end - 1) != QChar::ObjectReplacementCharacter)
        return false;
    const QTextCharFormat image = cursor.charFormat();
    const QVariant stored = image.property(QTextFormat::UserProperty);
    if (!image.isImageFormat() || stored.userType() != QMetaType::QString)
        return false;
    // The editor walk writes codes unescaped; a picked emoticon may carry its escaped form.
    QString code = stored.toString();
    code.replace(QLatin1String("&gt;"), QLatin1String(">"));
    code.replace(QLatin1String("&lt;"), QLatin1String("<"));
    code.replace(QLatin1String("&amp;"), QLatin1String("&"));
    // An emoji is one character to the user: Backspace removes it whole, as it would the text.
    if (code.isEmpty() || EmojiData().isEmoji(code))
        return false;

    // The code is what the user wrote: the length limit must not cut it.
    const MTextEditLimitExemption exemption(textEdit);
    cursor.beginEditBlock();
    cursor.setPosition(end - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.insertText(code, cursor.block().charFormat());
    // Before the block ends: the change it reports runs the in-place replacement.
    KeptCode::keep(textEdit, document, end - 1, code);
    cursor.endEditBlock();
    textEdit->setTextCursor(cursor);
    return true;
}
