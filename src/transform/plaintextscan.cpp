// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "plaintextscan_p.h"

#include "emojigraphemes_p.h"

#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr int BlockShift = 6;
constexpr int BlockSize = 1 << BlockShift;

inline int lowestBit(quint64 bits)
{
    return int(qCountTrailingZeroBits(bits));
}

#ifdef GLYPHMORPH_SCAN_SSE2
// One bit per character from two comparisons of eight characters each.
inline quint64 matchMask(__m128i low, __m128i high)
{
    return quint32(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
}
#endif

} // namespace

void PlainTextScan::loadBlock(int block)
{
    const int first = block << BlockShift;
    const int count = qMin(BlockSize, length - first);
    const char16_t *characters = reinterpret_cast<const char16_t *>(text + first);
    char16_t padded[BlockSize];
    if (count < BlockSize) {
        // Past the end: characters that are never separators.
        std::memcpy(padded, characters, size_t(count) * sizeof(char16_t));
        std::memset(padded + count, 0xff, size_t(BlockSize - count) * sizeof(char16_t));
        characters = padded;
    }

    quint64 newSeparators = 0;
    quint64 newLineEnds = 0;
#ifdef GLYPHMORPH_SCAN_SSE2
    const __m128i space = _mm_set1_epi16(' ');
    const __m128i lineFeed = _mm_set1_epi16('\n');
    const __m128i carriageReturn = _mm_set1_epi16('\r');
    for (int i = 0; i < BlockSize; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(characters + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(characters + i + 8));
        const __m128i endsLow
            = _mm_or_si128(_mm_cmpeq_epi16(low, lineFeed), _mm_cmpeq_epi16(low, carriageReturn));
        const __m128i endsHigh
            = _mm_or_si128(_mm_cmpeq_epi16(high, lineFeed), _mm_cmpeq_epi16(high, carriageReturn));
        newLineEnds |= matchMask(endsLow, endsHigh) << i;
        newSeparators |= matchMask(_mm_or_si128(endsLow, _mm_cmpeq_epi16(low, space)),
                             _mm_or_si128(endsHigh, _mm_cmpeq_epi16(high, space)))
            << i;
    }
#else
    for (int i = 0; i < BlockSize; ++i) {
        const char16_t c = characters[i];
        newSeparators |= quint64(emoSequenceSearchTreePrivate::isSeparator(c)) << i;
        newLineEnds |= quint64(c == u'\n' || c == u'\r') << i;
    }
#endif
    // The character before the block decides whether its first character begins a word.
    const quint64 before
        = first == 0 || emoSequenceSearchTreePrivate::isSeparator(text[first - 1].unicode()) ? 1
                                                                                             : 0;
    quint64 starts = ~newSeparators & ((newSeparators << 1) | before);
    if (count < BlockSize)
        starts &= (quint64(1) << count) - 1;
    loadedBlock = block;
    lineEnds = newLineEnds;
    wordStarts = starts;
}

int PlainTextScan::findWordStart(int from)
{
    if (from >= length)
        return length;
    const int lastBlock = (length - 1) >> BlockShift;
    for (int block = from >> BlockShift; block <= lastBlock; ++block) {
        const int first = block << BlockShift;
        if (block != loadedBlock)
            loadBlock(block);
        quint64 starts = wordStarts;
        if (first < from)
            starts &= ~quint64(0) << (from - first);
        if (starts)
            return first + lowestBit(starts);
    }
    return length;
}

void PlainTextScan::replaceLineEndsInBlocks(int from, int to)
{
    for (int block = from >> BlockShift; from < to; ++block) {
        const int first = block << BlockShift;
        if (block != loadedBlock)
            loadBlock(block);
        quint64 ends = lineEnds;
        if (first < from)
            ends &= ~quint64(0) << (from - first);
        if (to - first < BlockSize)
            ends &= (quint64(1) << (to - first)) - 1;
        while (ends) {
            replaceByLineBreak(first + lowestBit(ends));
            ends &= ends - 1;
        }
        from = first + BlockSize;
    }
}

bool PlainTextScan::acceptsCodeEnd(int end) const
{
    if (end >= length || emoSequenceSearchTreePrivate::isSeparator(text[end].unicode()))
        return true;
    uint c = text[end].unicode();
    if (QChar::isHighSurrogate(c) && end + 1 < length && text[end + 1].isLowSurrogate())
        c = QChar::surrogateToUcs4(text[end], text[end + 1]);
    return !(QChar::isLetterOrNumber(c) || QChar::isMark(c));
}

bool PlainTextScan::startsGrapheme(int at) const
{
    return EmojiGraphemes::isBoundary(text, length, at);
}

namespace {

constexpr int LongestHtml = (std::numeric_limits<int>::max() - 64) / int(sizeof(QChar));
int maxLengthForTests = 0;

} // namespace

int PlainTextScan::maxLength()
{
    return maxLengthForTests ? maxLengthForTests : LongestHtml;
}

void PlainTextScan::setMaxLengthForTests(int length)
{
    maxLengthForTests = length;
}

void PlainTextScan::writeEdits(bool last)
{
    // What these edits write: the text before each, its replacement and, the last time, the rest.
    qint64 size = 0;
    int from = copied;
    for (int i = 0; i < editCount; ++i) {
        size += edits[i].from - from + edits[i].replacement->size();
        from = edits[i].to;
    }
    if (last)
        size += length - from;
    const qint64 needed = qint64(written) + size;
    // A text with more edits to come gets room for the rest as well, half as much again as its
    // length.
    const qint64 wanted = last ? needed : needed + qint64(length - from) * 3 / 2;
    if (reserve(needed, wanted)) {
        for (int i = 0; i < editCount; ++i) {
            write(text + copied, edits[i].from - copied);
            const QString &replacement = *edits[i].replacement;
            write(replacement.constData(), int(replacement.size()));
            copied = edits[i].to;
        }
        if (last)
            write(text + copied, length - copied);
    }
    copied = last ? length : from;
    editCount = 0;
}

bool PlainTextScan::reserve(qint64 needed, qint64 wanted)
{
    // In 64 bits: near the limit, an int would overflow.
    if (overflowed || needed > maxLength()) {
        overflowed = true;
        return false;
    }
    if (needed <= html.size() && !html.isNull())
        return true;
    const qint64 size = html.size();
    const int target = int(qBound(needed, qMax(wanted, size + size / 2), qint64(maxLength())));
    if (html.isNull())
        html = QString(target, Qt::Uninitialized);
    else
        html.resize(target);
    out = html.data();
    return true;
}

QString PlainTextScan::takeHtml()
{
    // Nothing differs from the text: share it rather than copy it.
    if (editCount == 0 && html.isNull())
        return source;
    writeEdits(true);
    if (overflowed)
        return QString();
    // A text written in one go is allocated at its size; a long one may have room to spare.
    if (written != html.size()) {
        html.resize(written);
        // A result far shorter than its buffer would hold on to the rest for as long as it lives.
        if (html.capacity() - written > 1 << 16)
            html.squeeze();
    }
    return std::move(html);
}
