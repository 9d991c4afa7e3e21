// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the editor as the walk and the readers see it; the library's QML module, built
// with the library, uses it too.
#ifndef GLYPHMORPH_TEXTEDITORACCESS_P_H
#define GLYPHMORPH_TEXTEDITORACCESS_P_H

#include "glyphmorph_export.h"

#include <QString>
#include <QTextCursor>
#include <QUrl>

#include <functional>

class MTextEdit;
class QObject;
class QTextDocument;
class QTextEdit;

/**
 * One editor of any toolkit: its document, its cursor, and the object that carries the change
 * properties ("positionOfChange", "charactersPasted", "imageResourceHash") and whose signals are
 * blocked while the library rewrites the content. MTextEdit, QTextEdit and a bare document (a QML
 * TextEdit's) share every operation below.
 */
class GLYPHMORPH_EXPORT TextEditorAccess
{
public:
    explicit TextEditorAccess(MTextEdit *editor);
    explicit TextEditorAccess(QTextEdit *editor);
    /** A document that no editor object of the library's knowing shows: @p editor carries the
     *  properties, @p cursor (null: the document's start) is where picked emoticons go. */
    TextEditorAccess(QTextDocument *document, QObject *editor, const QTextCursor &cursor);

    QTextDocument *document() const { return m_document; }
    QObject *editor() const { return m_editor; }
    /** The most characters the editor holds; -1 for no limit. */
    int maxLength() const;
    /** A copy of the editor's cursor. */
    QTextCursor textCursor() const;
    /** The name under which the document finds the image at @p imagePath: resolved against the
     *  document's base URL, as the document resolves the names it looks up (a QML TextEdit
     *  sets the base URL to its file's). */
    QUrl resourceUrl(const QString &imagePath) const;
    /** Makes the editor take note of a change another cursor made: it shows its cursor anew. */
    void noteChange();

    /** Makes the document plain text, the way the editor walk will make images of it again. */
    void reduceToPlainText();
    /** Inserts the image at @p imagePath carrying @p characterCode at the editor's cursor. */
    void addEmoticon(const QString &characterCode, const QString &imagePath);
    /** The whole content of @p document as plain text, images as their codes. */
    static QString plainText(const QTextDocument *document);

    /** The emoji whose image the walk makes of a code that is not itself an emoji (a
     *  shortcode), given the emoji the code stands for; taken only when the tree has it as an
     *  emoji sequence. Unset: that emoji. */
    std::function<QString(const QString &emoji)> emojiOfShortcode;
    /** Told of each emoji image the walk makes: the emoji it carries, and that of the image it
     *  grew out of (empty when it grew out of none). */
    std::function<void(const QString &emoji, const QString &grownFrom)> emojiImageMade;

private:
    friend class EditorReplacement;

    QTextDocument *const m_document;
    QObject *const m_editor;
    MTextEdit *const m_mTextEdit = nullptr;
    QTextEdit *const m_qTextEdit = nullptr;
    const QTextCursor m_cursor;
};

#endif
