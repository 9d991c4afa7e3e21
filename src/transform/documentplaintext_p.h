// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: ranges of an editor document as plain text, images as the codes they carry.
#ifndef GLYPHMORPH_DOCUMENTPLAINTEXT_P_H
#define GLYPHMORPH_DOCUMENTPLAINTEXT_P_H

#include <QString>

class QTextCharFormat;
class QTextDocument;

/**
 * Reads document positions one by one: text is copied, an image gives its code, and every block
 * boundary (between paragraphs, and where a table cell or a frame begins or ends) gives "\n".
 * A code gets a space before it unless the character before keeps it apart; what keeps it apart
 * is the reader's choice.
 */
class DocumentPlainText
{
public:
    enum class Separation
    {
        /** A space or an image; a code that begins a paragraph gets a space. */
        AfterSpaceOrImage,
        /** A space, an image or a block boundary. */
        AfterWordEnd,
        /** Whatever ends a word for the editor walk (a line separator too), so that the walk
         *  makes the same images of the text again. */
        AfterWalkSeparator,
    };

    DocumentPlainText(Separation separation, bool spaceAtStart);

    /** Appends positions [from, to) of @p document, at most up to contentEnd(). */
    void read(const QTextDocument *document, int from, int to);
    /** Appends the whole content of @p document (its final paragraph separator is not content). */
    void readAll(const QTextDocument *document);
    /** The last position a reader reads up to. */
    static int contentEnd(const QTextDocument *document);
    QString text() const { return m_text; }

private:
    void appendRun(const QString &text, int from, int to, const QTextCharFormat &format);
    void appendBoundary();

    const Separation m_separation;
    bool m_separate;
    QString m_text;
};

#endif
