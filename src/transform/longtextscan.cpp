// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The long-text scan: a single left-to-right pass alternating a word step and a code step.
#include "codestep_p.h"
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"

QString emoSequenceSearchTreePrivate::scanText(
    const QString &text, const QString &lineBreak, ConversionOptions options)
{
    PlainTextScan result(text, lineBreak, options);
    int pos = 0;
    while (moveToStartOfNextWord(result, pos))
        replaceEmoticonSequence(result, pos);
    return finish(result, text, lineBreak);
}

// Both steps run once per word: they are inlined into the scan.
Q_ALWAYS_INLINE bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(
    PlainTextScan &result, int &pos)
{
    // From inside a word, or from the separator that ended it, to the start of the next word:
    // the rest of the word and the spaces stand as they are, line ends become line breaks.
    const int next = result.nextWordStart(pos == 0 ? 0 : pos + 1);
    result.replaceLineEnds(pos, next);
    pos = next;
    return next < result.length;
}

Q_ALWAYS_INLINE void emoSequenceSearchTreePrivate::replaceEmoticonSequence(
    PlainTextScan &result, int &pos)
{
    // Most words begin with no code: the first character is copied and the word step goes on.
    const QChar first = result.text[pos];
    if (Q_LIKELY(!mayBeginCode(first))) {
        if (Q_UNLIKELY(isUnicodeBreak(first.unicode())))
            result.leaveOut(pos);
        ++pos;
        return;
    }
    CodeStep::readCodeSequences(
        flat, result, result.text, result.length, pos, result.strictCodeEnds);
}
