// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Writes and reads editor documents in a short notation: "{code}" is an emoticon image carrying
// that code, "|" a paragraph boundary, everything else text.
#ifndef GLYPHMORPH_DOCUMENTBUILDER_H
#define GLYPHMORPH_DOCUMENTBUILDER_H

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

namespace GlyphmorphTest {

inline void writeDocument(QTextDocument *document, const QString &notation)
{
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    for (int i = 0; i < notation.size(); ++i) {
        const QChar c = notation.at(i);
        if (c == QLatin1Char('|')) {
            cursor.insertBlock();
        } else if (c == QLatin1Char('{')) {
            const int close = notation.indexOf(QLatin1Char('}'), i);
            QTextImageFormat image;
            image.setName(QStringLiteral("/images/smile.png"));
            image.setProperty(QTextFormat::UserProperty, notation.mid(i + 1, close - i - 1));
            cursor.insertImage(image);
            i = close;
        } else {
            cursor.insertText(QString(c));
        }
    }
}

/** The document in the same notation; images also show their name after the code: "{code@name}",
 *  and "!" after the name when the image is not bottom-aligned. */
inline QString readDocument(const QTextDocument *document)
{
    QString notation;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            notation += QLatin1Char('|');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            for (const QChar c : fragment.text()) {
                if (c != QChar::ObjectReplacementCharacter) {
                    notation += c;
                    continue;
                }
                notation += QLatin1Char('{') + format.property(QTextFormat::UserProperty).toString()
                    + QLatin1Char('@') + format.toImageFormat().name();
                if (format.property(QTextFormat::TextVerticalAlignment).toInt()
                    != QTextCharFormat::AlignBottom)
                    notation += QLatin1Char('!');
                notation += QLatin1Char('}');
            }
        }
    }
    return notation;
}

} // namespace GlyphmorphTest

#endif
