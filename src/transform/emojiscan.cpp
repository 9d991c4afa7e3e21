// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The emoji scan: the long-text scan's steps, and emoji sequences wherever a grapheme begins.
#include "codestep_p.h"
#include "emojigraphemes_p.h"
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"

namespace {

// The scan's output: an image is drawn before the HTML first names it.
class EmojiScanOutput : public PlainTextScan
{
public:
    EmojiScanOutput(const emoSequenceSearchTreePrivate &tree, const QString &text,
        const QString &lineBreak, ConversionOptions options)
        : PlainTextScan(text, lineBreak, options)
        , tree(tree)
    { }

    // In a tree of emoji no image ends inside a grapheme, a shortcode's neither; a tree pinned
    // to this scan without emoji keeps the other engines' HTML.
    bool keepsGraphemesWhole() const { return tree.hasEmojiSequences(); }

    void replaceByImage(int from, int to, const Code *code)
    {
        if (!emojiText || code->emojiText.isEmpty())
            tree.prepareImage(code);
        PlainTextScan::replaceByImage(from, to, code);
    }

private:
    const emoSequenceSearchTreePrivate &tree;
};

} // namespace

namespace {

// The first position in [from, to) of a block of eight characters that holds one that is not
// ASCII, a digit, '#' or '*': most text is ASCII without them, and they alone may begin an emoji.
int skipPlainAscii(const char16_t *characters, int from, int to)
{
    int at = from;
#ifdef GLYPHMORPH_SCAN_SSE2
    const __m128i notAscii = _mm_set1_epi16(short(0xff80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i digitZero = _mm_set1_epi16('0');
    const __m128i nine = _mm_set1_epi16(9);
    const __m128i hash = _mm_set1_epi16('#');
    const __m128i asterisk = _mm_set1_epi16('*');
    for (; at + 8 <= to; at += 8) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(characters + at));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(c, notAscii), zero);
        const __m128i digit
            = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(c, digitZero), nine), zero);
        const __m128i keycap = _mm_or_si128(
            digit, _mm_or_si128(_mm_cmpeq_epi16(c, hash), _mm_cmpeq_epi16(c, asterisk)));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_andnot_si128(ascii, _mm_set1_epi16(-1)), keycap)))
            break;
    }
#else
    Q_UNUSED(characters);
    Q_UNUSED(to);
#endif
    return at;
}

} // namespace

int emoSequenceSearchTreePrivate::nextEmojiCandidate(const QChar *text, int from, int to) const
{
    const char16_t *characters = reinterpret_cast<const char16_t *>(text);
    for (int at = skipPlainAscii(characters, from, to); at < to; ++at) {
        if (mayBeginEmoji(characters[at]))
            return at;
    }
    return to;
}

bool emoSequenceSearchTreePrivate::mayHoldEmoji(const QString &text) const
{
    const char16_t *characters = reinterpret_cast<const char16_t *>(text.constData());
    const int length = int(text.size());
    for (int at = skipPlainAscii(characters, 0, length); at < length; ++at) {
        if (characters[at] >= 0x80 || mayBeginEmoji(characters[at]))
            return true;
    }
    return false;
}

/*
 * Emoji are characters, not typed codes: an emoji sequence may begin wherever a grapheme does
 * ("great👍👍"), while codes keep to word starts. Between two word starts the scan looks at each
 * character that may begin an emoji sequence and, where a grapheme begins, at what follows it.
 * The words themselves are read as by the long-text scan, so that a tree without emoji sequences
 * gives the same HTML as the other engines.
 */
QString emoSequenceSearchTreePrivate::scanEmojiText(
    const QString &text, const QString &lineBreak, ConversionOptions options)
{
    EmojiScanOutput result(*this, text, lineBreak, options);
    const QChar *characters = result.text;
    const int length = result.length;
    int pos = 0;
    // Where the next emoji may begin: the characters before it are read or replaced.
    int emojiFrom = 0;
    while (true) {
        const int wordStart = result.nextWordStart(pos == 0 ? 0 : pos + 1);
        int emojiStart = nextEmojiCandidate(characters, qMax(emojiFrom, pos), wordStart);
        while (
            emojiStart < wordStart && !EmojiGraphemes::isBoundary(characters, length, emojiStart))
            emojiStart = nextEmojiCandidate(characters, emojiStart + 1, wordStart);
        const int next = qMin(wordStart, emojiStart);
        result.replaceLineEnds(pos, next);
        pos = next;
        if (pos >= length)
            break;
        const QChar first = characters[pos];
        if (emojiStart < wordStart) {
            CodeStep::readCodeSequences<true>(
                flat, result, characters, length, pos, result.strictCodeEnds, true);
        } else if (mayBeginCode(first)) {
            CodeStep::readCodeSequences<true>(
                flat, result, characters, length, pos, result.strictCodeEnds);
        } else {
            if (isUnicodeBreak(first.unicode()))
                result.leaveOut(pos);
            ++pos;
        }
        emojiFrom = pos;
    }
    return finish(result, text, lineBreak);
}
