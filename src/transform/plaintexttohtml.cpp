// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: which engine runs, and what the engines share.
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"
#include "roundtriphtml_p.h"

#include <new>

/*
 * Two engines make the same HTML from any text; they differ only in how they reach the words
 * that may begin a code. Both hand each such word to the same code step (readCodeSequences),
 * which walks the flat trie, and both write through PlainTextScan.
 *
 * - The message path (messagepath.cpp) reads a text of at most MessageLength characters at once:
 *   every word start, and whether a line end, U+2028 or U+2029 occurs, in two 64-bit masks (SSE2
 *   where the processor has it, sixteen characters a step). It then visits only the words whose
 *   first character may begin a code, so a message without a code costs no walk and no copy.
 *   It refuses a text with a line end, U+2028 or U+2029, which the word step must see.
 * - The long-text scan (longtextscan.cpp) takes everything else: any length, line ends, and
 *   the characters left out of the HTML. Its word step finds word starts 64 characters at a time.
 *
 * Most chat messages are short and one line, so the message path is tried first whenever the
 * text is short enough; the options do not matter to the choice, since the code step applies them.
 */
QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(
    const QString &text, const QString &lineBreak, ConversionOptions options)
{
    // HTML that no string can hold, or no memory left for it: the text as it stands.
    if (text.size() > PlainTextScan::maxLength())
        return text;
    try {
        const bool message = pinnedPath == PlainTextPath::MessagePath
            || (pinnedPath == PlainTextPath::Picked && text.size() <= MessageLength);
        QString html;
        if (message && text.size() <= MessageLength && convertMessage(text, lineBreak, options, html))
            return html;
        return scanText(text, lineBreak, options);
    } catch (const std::bad_alloc &) {
        return text;
    }
}

QString emoSequenceSearchTreePrivate::finish(
    PlainTextScan &result, const QString &text, const QString &lineBreak)
{
    // The round trip writes the whole text anew around the images the scan found.
    if (result.recordsImages) {
        const QString html = RoundTripHtml::write(text, result.images, lineBreak);
        return html.isNull() ? text : html;
    }
    QString html = result.takeHtml();
    return result.failed() ? text : html;
}

// Inlined into the code step, which runs it once or twice per code.
Q_ALWAYS_INLINE emoSequenceSearchTreePrivate::Match emoSequenceSearchTreePrivate::matchCode(
    const QChar *text, int length, int pos, const PlainTextScan *strict) const
{
    Match match { nullptr, pos, pos };
    if (pos < length) {
        FlatTrie::Index node = flat.first(text[pos].unicode());
        while (node) {
            ++pos;
            // The longest code on the way; in strict mode the longest that a word does not go
            // on after.
            const emoNode *code = flat.terminal(node);
            if (code && (!strict || strict->acceptsCodeEnd(pos))) {
                match.code = code;
                match.end = pos;
            }
            if (pos == length)
                break;
            node = flat.next(node, text[pos].unicode());
        }
    }
    match.walked = pos;
    return match;
}

namespace {

// Leaves out of [first, last) the characters @p drop names; the rest is copied as it stands.
template<typename Drop> void dropFrom(PlainTextScan &out, int first, int last, Drop drop)
{
    for (int i = first; i < last; ++i)
        if (drop(out.text[i].unicode()))
            out.leaveOut(i);
}

} // namespace

void emoSequenceSearchTreePrivate::readCodeSequences(PlainTextScan &result, int &pos) const
{
    const QChar *data = result.text;
    const int length = result.length;
    // Codes directly after one another are all replaced; the chain ends at the first character
    // that begins none.
    while (true) {
        const Match match = matchCode(data, length, pos, result.strictCodeEnds ? &result : nullptr);
        if (match.code)
            result.replaceByImage(pos, match.end, match.code);
        if (match.walked == length) {
            // The walk ran into the end: what follows the code is not read again.
            dropFrom(result, match.code ? match.end : pos, length, isUnicodeBreak);
            pos = length;
            return;
        }
        if (!match.code) {
            // A separator stays for the word step, which emits it exactly once; line ends that a
            // code's beginning took in are left out.
            const bool separator = isSeparator(data[match.walked].unicode());
            const int last = separator ? match.walked : match.walked + 1;
            dropFrom(result, pos, last,
                [](char16_t x) { return isUnicodeBreak(x) || x == u'\n' || x == u'\r'; });
            pos = last;
            return;
        }
        pos = match.end;
    }
}

void emoSequenceSearchTreePrivate::appendHtmlEscaped(QString &html, QChar c)
{
    switch (c.unicode()) {
    case u'&':
        html += QLatin1String("&amp;");
        break;
    case u'<':
        html += QLatin1String("&lt;");
        break;
    case u'>':
        html += QLatin1String("&gt;");
        break;
    case u'"':
        html += QLatin1String("&quot;");
        break;
    case u'\'':
        html += QLatin1String("&#39;");
        break;
    default:
        html += c;
        break;
    }
}

// The path goes into a single-quoted attribute: a quote or markup in it must not end the attribute.
QString emoSequenceSearchTreePrivate::htmlImageTag(const QString &filePath)
{
    QString tag = QStringLiteral("<img src='");
    for (const QChar c : filePath)
        appendHtmlEscaped(tag, c);
    tag += QLatin1String("'  width='20' height='20'>");
    return tag;
}
