// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: which engine runs, and what the engines share.
#include "emosequencesearchtree_p.h"
#include "messagepath_p.h"
#include "plaintextscan_p.h"
#include "roundtriphtml_p.h"

#include <new>

/*
 * The engines make the same HTML from any text; they differ only in how they reach the words that
 * may begin a code. Each hands such a word to the same code step (codestep_p.h), which walks the
 * flat trie.
 *
 * - The message path (messagepath.cpp) reads a text of at most MessageLength characters at once:
 *   every word start, and whether a line end, U+2028 or U+2029 occurs, in two 64-bit masks, SSE2
 *   sixteen characters a step where the processor has it. It visits only the words whose first
 *   character may begin a code and writes the HTML once, at its exact size; a message without a
 *   code costs no walk and no copy. It takes no options, and refuses a text with a line end,
 *   U+2028 or U+2029, which the word step must see.
 * - Its AVX-512 form (messagepath_avx512.cpp), on processors with AVX-512 BW and VBMI, reads 64
 *   characters a step, also leaves out words whose walk cannot get past their first character,
 *   and writes in 32-character moves.
 * - The long-text scan (longtextscan.cpp) takes everything else: any length, line ends, the
 *   characters left out of the HTML, strict code ends and the round trip. Its word step finds
 *   word starts 64 characters at a time; PlainTextScan writes its HTML.
 *
 * - The emoji scan (emojiscan.cpp) takes the texts of a tree that holds Unicode emoji sequences,
 *   which may begin at any grapheme boundary rather than only at a word start, where a character
 *   may begin one; without such a character every emoji sequence is out of reach and the other
 *   engines make the same HTML.
 *
 * Most chat messages are short, one line and converted without options, so the message path is
 * tried first for those: on the chat corpus of bench/permessagebench it makes the HTML in well
 * under the long-text scan's time, and its AVX-512 form in less again (bench/README.md).
 */
QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(
    const QString &text, const QString &lineBreak, ConversionOptions options)
{
    // HTML that no string can hold, or no memory left for it: the text as it stands.
    if (text.size() > PlainTextScan::maxLength())
        return text;
    try {
        static const bool avx512 = MessagePathAvx512::available();
        PlainTextPath path = pinnedPath;
        if (path == PlainTextPath::Picked)
            path = avx512 ? PlainTextPath::MessagePathAvx512 : PlainTextPath::MessagePath;
        const bool emoji = path == PlainTextPath::EmojiScan || hasEmojiSequences();
        QString html;
        if ((path == PlainTextPath::MessagePath || path == PlainTextPath::MessagePathAvx512)
            && options.isDefault() && text.size() <= MessageLength && !(emoji && mayHoldEmoji(text))
            && convertMessage(text, path == PlainTextPath::MessagePathAvx512 && avx512, html))
            return html;
        return emoji ? scanEmojiText(text, lineBreak, options) : scanText(text, lineBreak, options);
    } catch (const std::bad_alloc &) {
        return text;
    }
}

QString emoSequenceSearchTreePrivate::finish(
    PlainTextScan &result, const QString &text, const QString &lineBreak) const
{
    // The round trip writes the whole text anew around the images the scan found.
    if (result.recordsImages) {
        const QString html = RoundTripHtml::write(text, result.images, lineBreak, this);
        return html.isNull() ? text : html;
    }
    QString html = result.takeHtml();
    return result.failed() ? text : html;
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
