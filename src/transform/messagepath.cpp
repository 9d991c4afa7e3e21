// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The message path: a short one-line text read at once, then only its words that may begin a code.
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"

namespace {

using Tree = emoSequenceSearchTreePrivate;

// What the message path needs to know of a message.
struct MessageWords
{
    /** Bit i of word i / 64 is set when a word begins at character i (a character that is no
     *  separator, at the start or after a separator) and its first character may begin a code.
     *  With SSE2 the test of that character is coarse: it may set bits for nothing, never
     *  leave one out. */
    quint64 starts[2];
    /** Whether the message holds a line end, U+2028 or U+2029. */
    bool anyBreak;

    void set(quint64 separators0, quint64 separators1, quint64 mayBegin0, quint64 mayBegin1)
    {
        starts[0] = mayBegin0 & ((separators0 << 1) | 1);
        starts[1] = mayBegin1 & ((separators1 << 1) | (separators0 >> 63));
    }
};

// The words of @p text, at most MessageLength long.
MessageWords readMessage(const QString &text, const FlatTrie &flat)
{
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    const int length = int(text.size());
    MessageWords words;
#ifdef GLYPHMORPH_SCAN_SSE2
    if (length >= 16) {
        // Sixteen characters a step, packed into bytes: a character above U+00FF packs to 0xFF
        // (or, from U+8000 on, to 0), which is neither a separator nor a lower-case letter. Either
        // byte may send the scan to a word for nothing, never past one that holds a code.
        const __m128i space = _mm_set1_epi8(' ');
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i carriageReturn = _mm_set1_epi8('\r');
        const __m128i lowercaseA = _mm_set1_epi8('a');
        const __m128i lettersAfterA = _mm_set1_epi8('z' - 'a');
        const __m128i highestFirst
            = _mm_set1_epi8(char(qMin<int>(flat.highestFirstCharacter(), 0xff)));
        // Lower-case words are most words: they are skipped unless a code begins with a letter.
        const __m128i lowercaseSkipped
            = flat.hasLowercaseFirst() ? _mm_setzero_si128() : _mm_set1_epi8(-1);
        const __m128i unicodeBreak = _mm_set1_epi16(short(Tree::LineSeparator));
        const __m128i lastBitCleared = _mm_set1_epi16(short(~1));
        const __m128i zero = _mm_setzero_si128();
        __m128i breaks = zero;
        // Sixteen characters from @p at on: bits 0-15 separators, 16-31 possible code starts.
        const auto sixteenAt = [&](int at) {
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
            const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 8));
            const __m128i bytes = _mm_packus_epi16(low, high);
            const __m128i lineEnds = _mm_or_si128(
                _mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn));
            const __m128i separators = _mm_or_si128(lineEnds, _mm_cmpeq_epi8(bytes, space));
            const __m128i lowercase = _mm_cmpeq_epi8(
                _mm_subs_epu8(_mm_sub_epi8(bytes, lowercaseA), lettersAfterA), zero);
            const __m128i notAbove = _mm_cmpeq_epi8(_mm_subs_epu8(bytes, highestFirst), zero);
            const __m128i unicodeBreaks = _mm_packs_epi16(
                _mm_cmpeq_epi16(_mm_and_si128(low, lastBitCleared), unicodeBreak),
                _mm_cmpeq_epi16(_mm_and_si128(high, lastBitCleared), unicodeBreak));
            breaks = _mm_or_si128(breaks, _mm_or_si128(lineEnds, unicodeBreaks));
            const __m128i mayBegin = _mm_andnot_si128(
                _mm_or_si128(separators, _mm_and_si128(lowercase, lowercaseSkipped)), notAbove);
            return quint32(_mm_movemask_epi8(separators))
                | quint32(_mm_movemask_epi8(mayBegin)) << 16;
        };
        quint64 separators[2] = {}, mayBegin[2] = {};
        int at = 0;
        for (; at + 16 <= length; at += 16) {
            const quint32 both = sixteenAt(at);
            separators[at >> 6] |= quint64(both & 0xffff) << (at & 63);
            mayBegin[at >> 6] |= quint64(both >> 16) << (at & 63);
        }
        if (at < length) {
            // The last sixteen characters again, of which the first are known.
            const int known = 16 - (length - at);
            const quint32 both = sixteenAt(length - 16);
            separators[at >> 6] |= quint64((both & 0xffff) >> known) << (at & 63);
            mayBegin[at >> 6] |= quint64((both >> 16) >> known) << (at & 63);
        }
        words.set(separators[0], separators[1], mayBegin[0], mayBegin[1]);
        words.anyBreak = _mm_movemask_epi8(breaks) != 0;
        return words;
    }
#endif
    quint64 separators[2] = {}, mayBegin[2] = {};
    words.anyBreak = false;
    for (int i = 0; i < length; ++i) {
        const char16_t c = data[i];
        const bool separator = Tree::isSeparator(c);
        separators[i >> 6] |= quint64(separator) << (i & 63);
        mayBegin[i >> 6] |= quint64(!separator && flat.first(c) != 0) << (i & 63);
        words.anyBreak = words.anyBreak || c == u'\n' || c == u'\r' || Tree::isUnicodeBreak(c);
    }
    words.set(separators[0], separators[1], mayBegin[0], mayBegin[1]);
    return words;
}

} // namespace

bool emoSequenceSearchTreePrivate::convertMessage(const QString &text, const QString &lineBreak,
    ConversionOptions options, QString &html) const
{
    const MessageWords words = readMessage(text, flat);
    if (words.anyBreak)
        return false;
    // Nothing to replace and nothing to escape: the text itself, shared rather than copied.
    if (!(words.starts[0] | words.starts[1]) && !options.roundTrip) {
        html = text;
        return true;
    }
    PlainTextScan result(text, lineBreak, options);
    const QChar *data = text.constData();
    int pos = 0; // the text before this has been read
    for (int half = 0; half < 2; ++half) {
        for (quint64 starts = words.starts[half]; starts; starts &= starts - 1) {
            const int at = (half << 6) + int(qCountTrailingZeroBits(starts));
            // A word that a code's walk has read past, or one whose first character only looked
            // like a code's.
            if (at < pos || !mayBeginCode(data[at]))
                continue;
            pos = at;
            readCodeSequences(result, pos);
        }
    }
    html = finish(result, text, lineBreak);
    return true;
}
