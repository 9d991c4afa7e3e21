// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A message read at once, before its words are visited: where the words that may begin a code
// start, whether it holds a line end, and a copy of it with room around; and, in the processor's
// wider steps, a one-line message's HTML written from that copy.
#include "emosequencesearchtree_p.h"

#ifdef GLYPHMORPH_SCAN_WIDE
#include <immintrin.h>

namespace {

#define GLYPHMORPH_WIDE_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// Of 32 characters: the separators, and in @p lineEnds the line feeds and carriage returns.
GLYPHMORPH_WIDE_TARGET inline quint64 separatorsOf(__m512i characters, quint64 &lineEnds)
{
    const __mmask32 ends = _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16('\n'))
        | _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16('\r'));
    lineEnds = ends;
    return ends | _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16(' '));
}

// Of 32 characters: U+2028 and U+2029.
GLYPHMORPH_WIDE_TARGET inline quint64 unicodeBreaksOf(__m512i characters)
{
    return _mm512_cmpeq_epi16_mask(_mm512_and_si512(characters, _mm512_set1_epi16(short(~1))),
        _mm512_set1_epi16(short(emoSequenceSearchTreePrivate::LineSeparator)));
}

// What the wide steps find in 64 characters.
struct SixtyFour
{
    quint64 separators;
    quint64 matters;
    quint64 breaks;
    /** Characters that are a code alone (or may be: from U+0080 on). */
    quint64 alone;
    /** Characters that may be the second of a code. */
    quint64 second;
};

// Of 64 bytes, those whose lower seven bits' entry in the 128-byte @p table is not 0 and that are
// below 0x80, and those at or above it where @p above says so.
GLYPHMORPH_WIDE_TARGET inline quint64 lookUp(
    __m512i bytes, const quint8 *table, quint64 aboveBytes, quint64 above)
{
    const __m512i entries = _mm512_permutex2var_epi8(
        _mm512_loadu_si512(table), bytes, _mm512_loadu_si512(table + 64));
    return (_mm512_test_epi8_mask(entries, entries) & ~aboveBytes) | (aboveBytes & above);
}

// The @p count (1 to 64) characters at @p data, copied to @p copy (64 written) as they are read.
GLYPHMORPH_WIDE_TARGET inline SixtyFour readSixtyFour(const char16_t *data, int count,
    char16_t *copy, const emoSequenceSearchTreePrivate::FlatTrie &flat)
{
    // Loads that stop at the message's end: nothing past it is read.
    const quint64 valid = count >= 64 ? ~quint64(0) : (quint64(1) << count) - 1;
    const __m512i low = _mm512_maskz_loadu_epi16(__mmask32(valid), data);
    const __m512i high = _mm512_maskz_loadu_epi16(__mmask32(valid >> 32), data + 32);
    _mm512_storeu_si512(copy, low);
    _mm512_storeu_si512(copy + 32, high);
    quint64 endsLow, endsHigh;
    const quint64 separators = separatorsOf(low, endsLow) | separatorsOf(high, endsHigh) << 32;
    const quint64 unicodeBreaks = unicodeBreaksOf(low) | unicodeBreaksOf(high) << 32;
    // The zeroing forms: the others start from an undefined register, which GCC warns about.
    const __m512i bytes = _mm512_maskz_inserti64x4(~__mmask8(0),
        _mm512_castsi256_si512(_mm512_maskz_cvtusepi16_epi8(~__mmask32(0), low)),
        _mm512_maskz_cvtusepi16_epi8(~__mmask32(0), high), 1);
    // ASCII characters exactly, by their byte's lower seven bits; from U+0080 on the characters
    // saturate to bytes at or above 0x80, which matter when a code holds one there.
    const quint64 above = _mm512_movepi8_mask(bytes);
    const quint64 nonAsciiFirst = flat.hasNonAsciiFirst() ? ~quint64(0) : 0;
    const __m512i first = _mm512_permutex2var_epi8(
        _mm512_loadu_si512(flat.firstTable()), bytes, _mm512_loadu_si512(flat.firstTable() + 64));
    const quint64 mayBegin
        = (_mm512_test_epi8_mask(first, first) & ~above) | (above & nonAsciiFirst) | unicodeBreaks;
    const quint64 alone
        = (_mm512_test_epi8_mask(first, _mm512_set1_epi8(2)) & ~above) | (above & nonAsciiFirst);
    const quint64 second
        = lookUp(bytes, flat.secondTable(), above, flat.hasNonAsciiSecond() ? ~quint64(0) : 0);
    return { separators, mayBegin & ~separators & valid, endsLow | endsHigh | unicodeBreaks,
        alone & valid, second & valid };
}

// 32 characters, in one step.
GLYPHMORPH_WIDE_TARGET inline void copy32(char16_t *to, const char16_t *from)
{
    _mm512_storeu_si512(to, _mm512_loadu_si512(from));
}

} // namespace

// As the narrower writer, each step of 32 characters one move instead of four, and the tags
// copied here too rather than by a call.
GLYPHMORPH_WIDE_TARGET void emoSequenceSearchTreePrivate::writeMessageWide(char16_t *html, int size,
    const char16_t *message, int length, const MessageImage *images, int count)
{
    // The text after the last image first, from the end back: what this writes before it, the
    // last image's tag writes over.
    const int tail = length - images[count - 1].to;
    for (int done = 0; done < tail; done += 32)
        copy32(html + size - done - 32, message + length - done - 32);
    char16_t *to = html;
    int from = 0;
    for (int i = 0; i < count; ++i) {
        // What this writes past the text before the image, the tag writes over.
        const int piece = images[i].from - from;
        int done = 0;
        do {
            copy32(to + done, message + from + done);
            done += 32;
        } while (done < piece);
        to += piece;
        // Exactly the tag, which is longer than 32 characters: its last 32 end it.
        const char16_t *characters = images[i].tag;
        const int last = images[i].tagLength - 32;
        for (int at = 0; at < last; at += 32)
            copy32(to + at, characters + at);
        copy32(to + last, characters + last);
        to += images[i].tagLength;
        from = images[i].to;
    }
}

// Sixty-four characters a step, which is the whole of most messages.
GLYPHMORPH_WIDE_TARGET emoSequenceSearchTreePrivate::MessageBits
emoSequenceSearchTreePrivate::readMessageWide(const char16_t *data, int length) const
{
    MessageBits bits;
    const SixtyFour head = readSixtyFour(data, qMin(length, 64), bits.text(), flat);
    SixtyFour tail { 0, 0, 0, 0, 0 };
    if (length > 64)
        tail = readSixtyFour(data + 64, length - 64, bits.text() + 64, flat);
    bits.setStarts(head.separators, tail.separators, head.matters, tail.matters);
    // A walk that ends after the first character finds a code only where that is one: such
    // words need no visit.
    bits.codeStarts[0] &= head.alone | head.second >> 1 | tail.second << 63;
    bits.codeStarts[1] &= tail.alone | tail.second >> 1;
    bits.anyBreak = (head.breaks | tail.breaks) != 0;
    return bits;
}
#endif

// A message is a few dozen characters: its separators are found for the whole of it at once, and
// the scan then visits only the words' first characters.
emoSequenceSearchTreePrivate::MessageBits emoSequenceSearchTreePrivate::readMessage(
    const QString &text) const
{
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    const int length = int(text.size());
    MessageBits bits;
#ifdef GLYPHMORPH_SCAN_SSE2
    // Sixteen characters at a time, packed into bytes: a character above U+00FF packs to 0xFF
    // (or, from U+8000 on, to 0), which is neither a separator nor a lower-case letter. Either
    // byte may send the scan to a word for nothing, never past one that holds a code.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i lowercaseA = _mm_set1_epi8('a');
    const __m128i lettersAfterA = _mm_set1_epi8('z' - 'a');
    const __m128i highestFirst = _mm_set1_epi8(char(qMin<int>(flat.highestFirstCharacter(), 0xff)));
    const __m128i lowercasePlain
        = flat.hasLowercaseFirst() ? _mm_setzero_si128() : _mm_set1_epi8(-1);
    const __m128i unicodeBreak = _mm_set1_epi16(short(LineSeparator));
    const __m128i notLast = _mm_set1_epi16(short(~1));
    const __m128i zero = _mm_setzero_si128();
    // Breaks are rare in a message: only whether there are any is gathered.
    __m128i breaks = zero;
    // Sixteen characters from @p at on: bits 0-15 separators, 16-31 those that matter.
    const auto sixteenAt = [&](int at) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(bits.text() + at), low);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(bits.text() + at + 8), high);
        const __m128i bytes = _mm_packus_epi16(low, high);
        const __m128i endsHere
            = _mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn));
        const __m128i separatorsHere = _mm_or_si128(endsHere, _mm_cmpeq_epi8(bytes, space));
        const __m128i lowercase
            = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(bytes, lowercaseA), lettersAfterA), zero);
        // At or below the highest first character, or U+2028 or U+2029, which are left out.
        const __m128i notAbove = _mm_cmpeq_epi8(_mm_subs_epu8(bytes, highestFirst), zero);
        const __m128i lineOrParagraph
            = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(low, notLast), unicodeBreak),
                _mm_cmpeq_epi16(_mm_and_si128(high, notLast), unicodeBreak));
        breaks = _mm_or_si128(breaks, _mm_or_si128(endsHere, lineOrParagraph));
        const __m128i mattersHere = _mm_andnot_si128(
            _mm_or_si128(separatorsHere, _mm_and_si128(lowercase, lowercasePlain)),
            _mm_or_si128(notAbove, lineOrParagraph));
        return quint32(_mm_movemask_epi8(separatorsHere))
            | quint32(_mm_movemask_epi8(mattersHere)) << 16;
    };
    if (length >= 16) {
        // In registers: storing sixteen bits at a time and reading them back as 64 would stall
        // the processor. Characters 0-63 first, then 64-127.
        quint64 separatorsLow = 0, separatorsHigh = 0, mattersLow = 0, mattersHigh = 0;
        const int whole = length & ~15;
        int at = 0;
        for (; at < qMin(whole, 64); at += 16) {
            const quint32 two = sixteenAt(at);
            separatorsLow |= quint64(two & 0xffff) << at;
            mattersLow |= quint64(two >> 16) << at;
        }
        for (; at < whole; at += 16) {
            const quint32 two = sixteenAt(at);
            separatorsHigh |= quint64(two & 0xffff) << (at - 64);
            mattersHigh |= quint64(two >> 16) << (at - 64);
        }
        if (at < length) {
            // The last sixteen characters of the text again, of which the first are known.
            const int known = 16 - (length - at);
            const quint32 two = sixteenAt(length - 16);
            const quint64 separatorsHere = quint64((two & 0xffff) >> known) << (at & 63);
            const quint64 mattersHere = quint64((two >> 16) >> known) << (at & 63);
            if (at < 64) {
                separatorsLow |= separatorsHere;
                mattersLow |= mattersHere;
            } else {
                separatorsHigh |= separatorsHere;
                mattersHigh |= mattersHere;
            }
        }
        bits.setStarts(separatorsLow, separatorsHigh, mattersLow, mattersHigh);
        bits.anyBreak = _mm_movemask_epi8(breaks) != 0;
        return bits;
    }
#endif
    quint64 separators[2] = {};
    quint64 matters[2] = {};
    bits.anyBreak = false;
    for (int i = 0; i < length; ++i) {
        const char16_t c = data[i];
        bits.text()[i] = c;
        const bool separator = isSeparator(c);
        separators[i >> 6] |= quint64(separator) << (i & 63);
        matters[i >> 6] |= quint64(!separator) << (i & 63);
        bits.anyBreak = bits.anyBreak || c == u'\n' || c == u'\r' || isUnicodeBreak(c);
    }
    bits.setStarts(separators[0], separators[1], matters[0], matters[1]);
    return bits;
}
