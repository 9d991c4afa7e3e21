// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "documentplaintext_p.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

DocumentPlainText::DocumentPlainText(Separation separation, bool spaceAtStart)
    : m_separation(separation)
    , m_separate(spaceAtStart)
{ }

void DocumentPlainText::read(const QTextDocument *document, int from, int to)
{
    to = qMin(to, contentEnd(document));
    // Blocks lie back to back, each followed by the position of its boundary; runs of text are
    // copied fragment by fragment, so only images and boundaries need a look of their own.
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position();
            if (start >= to)
                break;
            const int first = qMax(from, start);
            const int last = qMin(to, start + fragment.length());
            if (first < last)
                appendRun(fragment.text(), first - start, last - start, fragment.charFormat());
        }
        const int boundary = block.position() + block.length() - 1;
        if (boundary >= from && boundary < to)
            appendBoundary();
    }
}

void DocumentPlainText::readAll(const QTextDocument *document)
{
    // Codes are usually longer than the image character they replace.
    m_text.reserve(m_text.size() + qMax(int(1.5 * contentEnd(document)), 256));
    read(document, 0, contentEnd(document));
}

int DocumentPlainText::contentEnd(const QTextDocument *document)
{
    return document->characterCount() - 1;
}

void DocumentPlainText::appendRun(
    const QString &text, int from, int to, const QTextCharFormat &format)
{
    int runStart = from;
    const auto copyRun = [&](int end) {
        if (end == runStart)
            return;
        m_text.append(text.constData() + runStart, end - runStart);
        const QChar last = text.at(end - 1);
        m_separate = !(last == QLatin1Char(' ')
            || (m_separation == Separation::AfterWalkSeparator && last == QChar::LineSeparator));
    };
    for (int i = from; i < to; ++i) {
        if (text.at(i) != QChar::ObjectReplacementCharacter)
            continue;
        copyRun(i);
        if (m_separate)
            m_text += QLatin1Char(' ');
        QString code = format.property(QTextFormat::UserProperty).toString();
        // Text for the walk must not carry an image character that no image stands behind.
        if (m_separation == Separation::AfterWalkSeparator)
            code.remove(QChar::ObjectReplacementCharacter);
        m_text += code;
        m_separate = false;
        runStart = i + 1;
    }
    copyRun(to);
}

void DocumentPlainText::appendBoundary()
{
    m_text += QLatin1Char('\n');
    m_separate = m_separation == Separation::AfterSpaceOrImage;
}
