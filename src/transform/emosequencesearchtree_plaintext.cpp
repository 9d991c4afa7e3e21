// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: a single left-to-right scan alternating a word step and a code step.
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"
#include "roundtriphtml_p.h"

#include <new>

// The portable loop stands in where SSE2 is missing, and in builds that test it.
#if defined(__SSE2__) && !defined(GLYPHMORPH_NO_SIMD)
#define GLYPHMORPH_SCAN_SSE2
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;

inline bool isSeparator(char16_t c)
{
    return c == u' ' || c == u'\n' || c == u'\r';
}

inline bool isUnicodeBreak(char16_t c)
{
    return c == LineSeparator || c == ParagraphSeparator;
}

// Leaves out of [first, last) the characters @p drop names; the rest is copied as it stands.
template<typename Drop> void dropFrom(PlainTextScan &out, int first, int last, Drop drop)
{
    for (int i = first; i < last; ++i)
        if (drop(out.text[i].unicode()))
            out.leaveOut(i);
}

} // namespace

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

// Both steps run once per word: they are inlined into the scan.
Q_ALWAYS_INLINE bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(
    PlainTextScan &result, const QString &, int &pos, const QString &)
{
    // From inside a word, or from the separator that ended it, to the start of the next word:
    // the rest of the word and the spaces stand as they are, line ends become line breaks.
    const int next = result.nextWordStart(pos == 0 ? 0 : pos + 1);
    result.replaceLineEnds(pos, next);
    pos = next;
    return next < result.length;
}

Q_ALWAYS_INLINE void emoSequenceSearchTreePrivate::replaceEmoticonSequence(
    PlainTextScan &result, const QString &, int &pos, int, const QString &)
{
    // Most words begin with no code: the first character is copied and the word step goes on.
    const QChar first = result.text[pos];
    if (Q_LIKELY(!mayBeginCode(first))) {
        if (Q_UNLIKELY(isUnicodeBreak(first.unicode())))
            result.leaveOut(pos);
        ++pos;
        return;
    }
    readCodeSequences(result, pos);
}

QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(
    const QString &text, int n, const QString &lineBreak, Glyphmorpher::ConversionOptions options)
{
    // HTML that no string can hold, or no memory left for it: the text as it stands.
    if (text.size() > PlainTextScan::maxLength)
        return text;
    try {
        PlainTextScan result(text, lineBreak);
        std::vector<ImageSpan> images;
        result.strictCodeEnds = options.testFlag(Glyphmorpher::StrictCodeEnds);
        if (options.testFlag(Glyphmorpher::RoundTrip))
            result.images = &images;
        if (text.size() <= ShortText) {
            scanShortText(result);
        } else {
            int pos = 0;
            while (moveToStartOfNextWord(result, text, pos, lineBreak))
                replaceEmoticonSequence(result, text, pos, n, lineBreak);
        }
        // The round trip writes the whole text anew around the images the scan found.
        if (result.images) {
            const QString html = RoundTripHtml::write(text, images, lineBreak);
            return html.isNull() ? text : html;
        }
        QString html = result.takeHtml();
        return result.failed() ? text : html;
    } catch (const std::bad_alloc &) {
        return text;
    }
}

namespace {

// The first separator at or after @p pos, or @p length.
int endOfWord(const QChar *data, int pos, int length)
{
    const char16_t *characters = reinterpret_cast<const char16_t *>(data);
    while (true) {
#ifdef GLYPHMORPH_SCAN_SSE2
        // Eight characters at a time to the next one at or below a space; separators are.
        const __m128i space = _mm_set1_epi16(' ');
        while (pos + 8 <= length) {
            const __m128i eight
                = _mm_loadu_si128(reinterpret_cast<const __m128i *>(characters + pos));
            const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(eight, space), _mm_setzero_si128());
            const int bits = _mm_movemask_epi8(low);
            if (bits) {
                pos += int(qCountTrailingZeroBits(quint32(bits))) / 2;
                break;
            }
            pos += 8;
        }
#endif
        while (pos < length && characters[pos] > u' ')
            ++pos;
        if (pos == length || isSeparator(characters[pos]))
            return pos;
        ++pos; // a tab or another control character: part of the word
    }
}

} // namespace

// A message is a few dozen characters: a plain loop over them costs less than finding words 64
// characters at a time. The steps are the same.
void emoSequenceSearchTreePrivate::scanShortText(PlainTextScan &result) const
{
    const QChar *data = result.text;
    const int length = result.length;
    int pos = 0;
    while (true) {
        // The separators before a word: spaces stay, line ends become line breaks.
        for (;; ++pos) {
            if (pos == length)
                return;
            const char16_t c = data[pos].unicode();
            if (c == u'\n' || c == u'\r')
                result.replaceByLineBreak(pos);
            else if (c != u' ')
                break;
        }
        const QChar first = data[pos];
        if (mayBeginCode(first)) {
            int end = pos;
            readCodeSequences(result, end);
            pos = end;
        } else {
            if (Q_UNLIKELY(isUnicodeBreak(first.unicode())))
                result.leaveOut(pos);
            ++pos;
        }
        // The rest of the word stands as it is.
        pos = endOfWord(data, pos, length);
    }
}

const emoSequenceSearchTreePrivate::emoNode *emoSequenceSearchTreePrivate::matchCode(
    const PlainTextScan &scan, int pos, int &end, int &walked) const
{
    const QChar *text = scan.text;
    const int length = scan.length;
    const emoNode *found = nullptr;
    if (pos < length) {
        FlatTrie::Index node = flat.first(text[pos].unicode());
        while (node) {
            ++pos;
            // In strict mode the longest code on the way that a word does not go on after.
            const emoNode *code = flat.terminal(node);
            if (code && (!scan.strictCodeEnds || scan.acceptsCodeEnd(pos))) {
                found = code;
                end = pos;
            }
            if (pos == length)
                break;
            node = flat.find(node, text[pos].unicode());
        }
    }
    walked = pos;
    return found;
}

void emoSequenceSearchTreePrivate::readCodeSequences(PlainTextScan &result, int &pos) const
{
    const QChar *data = result.text;
    const int length = result.length;
    // Codes directly after one another are all replaced; the chain ends at the first character
    // that begins none.
    while (true) {
        int end = pos;
        int walked = pos;
        const emoNode *code = matchCode(result, pos, end, walked);
        if (code)
            result.replaceByImage(pos, end, code);
        if (walked == length) {
            // The walk ran into the end: what follows the code is not read again.
            dropFrom(result, code ? end : pos, length, isUnicodeBreak);
            pos = length;
            return;
        }
        if (!code) {
            // A separator stays for the word step, which emits it exactly once; line ends that a
            // code's beginning took in are left out.
            const bool separator = isSeparator(data[walked].unicode());
            const int last = separator ? walked : walked + 1;
            dropFrom(result, pos, last,
                [](char16_t x) { return isUnicodeBreak(x) || x == u'\n' || x == u'\r'; });
            pos = last;
            return;
        }
        pos = end;
    }
}
