// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The editor walk and the readers of editor content written down step by step, one document
// position at a time, the walk over a set of codes instead of a tree: what the library's windowed
// walk and fragment readers must reproduce on every document.
#ifndef GLYPHMORPH_EDITORMODEL_H
#define GLYPHMORPH_EDITORMODEL_H

#include "mtextedit.h"

#include <QHash>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace GlyphmorphTest {

/** Every position as one character; an image as "{code@name}", "{code@name!}" when it is not
 *  bottom-aligned as emoticons are. */
inline QString positionNotation(const QTextDocument *document)
{
    QString notation;
    QTextCursor cursor(const_cast<QTextDocument *>(document));
    for (int p = 0; p < document->characterCount(); ++p) {
        const QChar c = document->characterAt(p);
        if (c != QChar::ObjectReplacementCharacter) {
            notation += c;
            continue;
        }
        cursor.setPosition(p + 1);
        const QTextImageFormat image = cursor.charFormat().toImageFormat();
        notation += QLatin1Char('{') + image.property(QTextFormat::UserProperty).toString()
            + QLatin1Char('@') + image.name();
        if (image.verticalAlignment() != QTextCharFormat::AlignBottom)
            notation += QLatin1Char('!');
        notation += QLatin1Char('}');
    }
    return notation;
}

inline bool isFrameBoundary(QChar c)
{
    return c.unicode() == 0xfdd0 || c.unicode() == 0xfdd1;
}

/** What keeps a code apart from the character before, so that it gets no space. */
enum class Separation
{
    AfterSpaceOrImage,
    AfterWordEnd,
    AfterWalkSeparator
};

/** Positions [from, to) as plain text: images as their codes, block boundaries as "\n". */
inline QString readPositions(const QTextDocument *document, int from, int to, Separation separation,
    bool spaceAtStart, bool *separate = nullptr)
{
    bool local = spaceAtStart;
    bool &apart = separate ? *separate : local;
    QString text;
    QTextCursor cursor(const_cast<QTextDocument *>(document));
    for (int p = from; p < qMin(to, document->characterCount() - 1); ++p) {
        const QChar c = document->characterAt(p);
        if (c == QChar::ObjectReplacementCharacter) {
            cursor.setPosition(p + 1);
            if (apart)
                text += QLatin1Char(' ');
            QString code = cursor.charFormat().property(QTextFormat::UserProperty).toString();
            if (separation == Separation::AfterWalkSeparator)
                code.remove(QChar::ObjectReplacementCharacter);
            text += code;
            apart = false;
        } else if (c == QChar::ParagraphSeparator || isFrameBoundary(c)) {
            text += QLatin1Char('\n');
            apart = separation == Separation::AfterSpaceOrImage;
        } else {
            text += c;
            apart = c != QLatin1Char(' ')
                && !(separation == Separation::AfterWalkSeparator && c == QChar::LineSeparator);
        }
    }
    return text;
}

class EditorWalkModel
{
public:
    explicit EditorWalkModel(const QHash<QString, QString> &codes)
        : m_codes(codes)
    {
        for (auto it = codes.constBegin(); it != codes.constEnd(); ++it) {
            for (int n = 0; n <= it.key().size(); ++n) {
                m_prefixes.insert(it.key().left(n));
                if (n < it.key().size())
                    m_parents.insert(it.key().left(n));
            }
        }
    }

    void walk(MTextEdit *editor, bool wholeDocument)
    {
        m_document = editor->document();
        QTextCursor cursor(m_document);
        cursor.beginEditBlock();
        int end = 0;
        if (!wholeDocument) {
            const int change = editor->property("positionOfChange").toInt();
            const int pasted = editor->property("charactersPasted").toInt();
            const int limit = editor->maxLength();
            setPosition(
                cursor, qMin(last(), limit < 0 ? change + pasted : qMin(limit, change + pasted)));
            moveToStartOfNextWord(cursor);
            end = cursor.position();
            setPosition(cursor, change);
            moveToStartOfCurrentWord(cursor);
        }
        bool replaced = false;
        for (;;) {
            replaced = replaceCodes(cursor);
            if (!wholeDocument && cursor.position() >= end)
                break;
            if (!moveToStartOfNextWord(cursor)) {
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
            editor->setCursorPosition(editor->cursorPosition());
    }

private:
    int last() const { return m_document->characterCount() - 1; }
    QChar at(int p) const { return m_document->characterAt(p); }

    static bool isSeparator(QChar c)
    {
        return c == QLatin1Char(' ') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
            || c == QChar::ObjectReplacementCharacter || isFrameBoundary(c);
    }
    static QString unescaped(QString code)
    {
        return code.replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
    }

    void setPosition(QTextCursor &cursor, int p) const
    {
        if (p >= 0 && p <= last())
            cursor.setPosition(p);
    }
    bool hasChildren(const QString &node) const { return m_parents.contains(node); }

    void moveToStartOfCurrentWord(QTextCursor &cursor) const
    {
        int p = cursor.position();
        while (p > 0 && !isSeparator(at(p - 1)))
            --p;
        cursor.setPosition(qMax(p - 1, 0));
    }

    bool moveToStartOfNextWord(QTextCursor &cursor) const
    {
        int q = cursor.position();
        if (q >= last())
            return false;
        for (++q; q < last(); ++q) {
            if (isSeparator(at(q - 1))) {
                cursor.setPosition(q);
                return true;
            }
        }
        cursor.setPosition(last());
        return false;
    }

    bool replaceCodes(QTextCursor &cursor) const
    {
        QString node; // the code read so far; the root is empty
        bool extending = false;
        QString extension;
        int saved = 0;
        bool result = false;
        while (cursor.position() < last()) {
            const int p = cursor.position();
            const QChar c = at(p);
            if (c == QChar::ObjectReplacementCharacter) {
                cursor.setPosition(p + 1);
                if (!hasChildren(node)) {
                    node.clear();
                    extending = false;
                    continue;
                }
                saved = p + 1;
                extension
                    = unescaped(cursor.charFormat().property(QTextFormat::UserProperty).toString());
                node = extension;
                // An image grows only when its whole code is a path of the theme's codes.
                extending = hasChildren(node);
                if (!extending)
                    node.clear();
                continue;
            }
            const QString child = node + c;
            if (isFrameBoundary(c) || !m_prefixes.contains(child)) {
                if (!extending)
                    return result;
                cursor.setPosition(saved);
                extending = false;
                node.clear();
                continue;
            }
            node = child;
            cursor.setPosition(p + 1);
            if (m_codes.value(child).isEmpty())
                continue;
            cursor.setPosition(extending ? p + int(extension.size()) - int(child.size())
                                         : p + 1 - int(child.size()),
                QTextCursor::KeepAnchor);
            const QString code = unescaped(child);
            QTextImageFormat image;
            image.setName(m_codes.value(child));
            image.setProperty(QTextFormat::UserProperty, code);
            image.setProperty(QTextFormat::TextVerticalAlignment, QTextCharFormat::AlignBottom);
            cursor.insertImage(image);
            result = true;
            if (hasChildren(child)) {
                saved = cursor.position();
                extension = code;
                extending = true;
            } else {
                node.clear();
                extending = false;
            }
        }
        return result;
    }

    QHash<QString, QString> m_codes;
    QSet<QString> m_prefixes;
    QSet<QString> m_parents; // prefixes that longer codes go on from
    QTextDocument *m_document = nullptr;
};

} // namespace GlyphmorphTest

#endif
