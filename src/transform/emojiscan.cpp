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
        int emojiStart = qMax(emojiFrom, pos);
        while (emojiStart < wordStart
            && !(mayBeginEmoji(characters[emojiStart].unicode())
                && EmojiGraphemes::isBoundary(characters, length, emojiStart)))
            ++emojiStart;
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
