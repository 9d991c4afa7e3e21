// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The message path's read and write in AVX-512 BW/VBMI, chosen at run time.
#include "emosequencesearchtree_p.h"
#include "messagepath_p.h"

#if defined(GLYPHMORPH_SCAN_SSE2) && defined(__x86_64__)                                           \
    && (defined(__GNUC__) || defined(__clang__))
#define GLYPHMORPH_SCAN_AVX512
#include <immintrin.h>
#endif

#ifdef GLYPHMORPH_SCAN_AVX512

namespace {

#define GLYPHMORPH_AVX512_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

using Tree = emoSequenceSearchTreePrivate;

// What one step finds in 64 characters, a bit per character.
struct Characters
{
    quint64 separators;
    /** Characters that may begin a code. */
    quint64 mayBegin;
    /** Line ends, U+2028 and U+2029. */
    quint64 breaks;
    /** Characters that are a code alone (or may be: from U+0080 on). */
    quint64 alone;
    /** Characters that may be the second of a code. */
    quint64 second;
};

// Of 32 characters: the separators, and in @p lineEnds the line feeds and carriage returns.
GLYPHMORPH_AVX512_TARGET inline quint64 separatorsOf(__m512i characters, quint64 &lineEnds)
{
    const __mmask32 ends = _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16('\n'))
        | _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16('\r'));
    lineEnds = ends;
    return ends | _mm512_cmpeq_epi16_mask(characters, _mm512_set1_epi16(' '));
}

// Of 32 characters: U+2028 and U+2029.
GLYPHMORPH_AVX512_TARGET inline quint64 unicodeBreaksOf(__m512i characters)
{
    return _mm512_cmpeq_epi16_mask(_mm512_and_si512(characters, _mm512_set1_epi16(short(~1))),
        _mm512_set1_epi16(short(Tree::LineSeparator)));
}

// Of 64 bytes, those below 0x80 whose entry in the 128-byte @p table is not 0, and those at or
// above it where @p above says so.
GLYPHMORPH_AVX512_TARGET inline quint64 lookUp(
    __m512i bytes, const quint8 *table, quint64 aboveBytes, quint64 above)
{
    const __m512i entries = _mm512_permutex2var_epi8(
        _mm512_loadu_si512(table), bytes, _mm512_loadu_si512(table + 64));
    return (_mm512_test_epi8_mask(entries, entries) & ~aboveBytes) | (aboveBytes & above);
}

// The @p count (1 to 64) characters at @p data, copied to @p copy (64 written) as they are read.
GLYPHMORPH_AVX512_TARGET inline Characters readStep(
    const char16_t *data, int count, char16_t *copy, const FlatTrie &flat)
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
    // saturate to bytes at or above 0x80, which count when a code holds one there.
    const quint64 above = _mm512_movepi8_mask(bytes);
    const quint64 nonAsciiFirst = flat.hasNonAsciiFirst() ? ~quint64(0) : 0;
    const __m512i first = _mm512_permutex2var_epi8(
        _mm512_loadu_si512(flat.firstTable()), bytes, _mm512_loadu_si512(flat.firstTable() + 64));
    const quint64 mayBegin
        = (_mm512_test_epi8_mask(first, first) & ~above) | (above & nonAsciiFirst);
    const quint64 alone
        = (_mm512_test_epi8_mask(first, _mm512_set1_epi8(2)) & ~above) | (above & nonAsciiFirst);
    const quint64 second
        = lookUp(bytes, flat.secondTable(), above, flat.hasNonAsciiSecond() ? ~quint64(0) : 0);
    return { separators, mayBegin & ~separators & valid, endsLow | endsHigh | unicodeBreaks,
        alone & valid, second & valid };
}

GLYPHMORPH_AVX512_TARGET inline void moveStep(char16_t *to, const char16_t *from)
{
    _mm512_storeu_si512(to, _mm512_loadu_si512(from));
}

} // namespace

bool MessagePathAvx512::available()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
}

GLYPHMORPH_AVX512_TARGET MessageWords MessagePathAvx512::read(
    const char16_t *data, int length, const FlatTrie &flat, char16_t *copy)
{
    MessageWords words;
    const Characters head = readStep(data, qMin(length, 64), copy, flat);
    Characters tail { 0, 0, 0, 0, 0 };
    if (length > 64)
        tail = readStep(data + 64, length - 64, copy + 64, flat);
    words.set(head.separators, tail.separators, head.mayBegin, tail.mayBegin);
    // A walk that ends after the first character finds a code only where that is one: such
    // words need no visit.
    words.starts[0] &= head.alone | head.second >> 1 | tail.second << 63;
    words.starts[1] &= tail.alone | tail.second >> 1;
    words.anyBreak = (head.breaks | tail.breaks) != 0;
    return words;
}

GLYPHMORPH_AVX512_TARGET void MessagePathAvx512::write(char16_t *html, int size,
    const char16_t *message, int length, const MessageImage *images, int count)
{
    // The text after the last image first, from the end back: what this writes before it, the
    // last image's tag writes over.
    const int tail = length - images[count - 1].to;
    for (int done = 0; done < tail; done += Slack)
        moveStep(html + size - done - Slack, message + length - done - Slack);
    char16_t *to = html;
    int from = 0;
    for (int i = 0; i < count; ++i) {
        // What this writes past the text before the image, the tag writes over.
        const int piece = images[i].from - from;
        int done = 0;
        do {
            moveStep(to + done, message + from + done);
            done += Slack;
        } while (done < piece);
        to += piece;
        // Exactly the tag, which is longer than 32 characters: its last 32 end it.
        const char16_t *tag = reinterpret_cast<const char16_t *>(images[i].tag->constData());
        const int last = int(images[i].tag->size()) - Slack;
        for (int at = 0; at < last; at += Slack)
            moveStep(to + at, tag + at);
        moveStep(to + last, tag + last);
        to += images[i].tag->size();
        from = images[i].to;
    }
}

#else

bool MessagePathAvx512::available()
{
    return false;
}

MessageWords MessagePathAvx512::read(const char16_t *, int, const FlatTrie &, char16_t *)
{
    Q_UNREACHABLE();
    return {};
}

void MessagePathAvx512::write(char16_t *, int, const char16_t *, int, const MessageImage *, int)
{
    Q_UNREACHABLE();
}

#endif
