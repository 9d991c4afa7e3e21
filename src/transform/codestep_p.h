// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the code step that both plain text engines run at a word that may begin a code.
#ifndef GLYPHMORPH_CODESTEP_P_H
#define GLYPHMORPH_CODESTEP_P_H

#include "emosequencesearchtree_p.h"

/**
 * The walk from the root at a word start, inlined into each engine, which passes its own output:
 * @p Out has replaceByImage(from, to, code) and leaveOut(at), for strict code ends
 * acceptsCodeEnd(end), and, where @p Emoji is set, startsGrapheme(at) and keepsGraphemesWhole().
 *
 * With @p Emoji, a code that is an emoji sequence (in a tree that keeps graphemes whole, any
 * code) counts only where a grapheme begins after it, and a walk that finds nothing leaves the
 * character it stopped at to be read again, since an emoji may begin there.
 */
namespace CodeStep {

using Tree = emoSequenceSearchTreePrivate;

/** The longest code that begins at @p pos in @p text that @p out accepts: with @p strict, the
 *  longest whose end it accepts; with @p emojiOnly, the longest emoji sequence. */
template<bool Emoji = false, typename Out>
Q_ALWAYS_INLINE Tree::Match matchCode(const FlatTrie &flat, const Out &out, const QChar *text,
    int length, int pos, bool strict, bool emojiOnly = false)
{
    Tree::Match match { nullptr, pos, pos };
    if (pos < length) {
        FlatTrie::Index node = flat.first(text[pos].unicode());
        while (node) {
            ++pos;
            const emoNode *code = flat.terminal(node);
            if constexpr (Emoji) {
                if (code
                    && ((emojiOnly && !code->emojiSequence)
                        || ((code->emojiSequence || out.keepsGraphemesWhole())
                            && !out.startsGrapheme(pos))))
                    code = nullptr;
            }
            if (code && (!strict || out.acceptsCodeEnd(pos))) {
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

/** Replaces the codes from @p pos on: codes directly after one another are all replaced, and the
 *  chain ends at the first character that begins none. Leaves @p pos where the word step goes on:
 *  on the separator that ended the walk, after the character that did (with @p Emoji, on it,
 *  unless it was left out), or at the end. With @p emojiFirst the first code must be an emoji
 *  sequence. */
template<bool Emoji = false, typename Out>
Q_ALWAYS_INLINE void readCodeSequences(const FlatTrie &flat, Out &out, const QChar *text,
    int length, int &pos, bool strict, bool emojiFirst = false)
{
    bool emojiOnly = emojiFirst;
    while (true) {
        const Tree::Match match
            = matchCode<Emoji>(flat, out, text, length, pos, strict, Emoji && emojiOnly);
        emojiOnly = false;
        if (match.code)
            out.replaceByImage(pos, match.end, match.code);
        if (match.walked == length) {
            // The walk ran into the end: what follows the code is not read again.
            for (int i = match.code ? match.end : pos; i < length; ++i)
                if (Tree::isUnicodeBreak(text[i].unicode()))
                    out.leaveOut(i);
            pos = length;
            return;
        }
        if (!match.code) {
            // A separator stays for the word step, which emits it exactly once; line ends that a
            // code's beginning took in are left out.
            const char16_t stop = text[match.walked].unicode();
            const bool separator = Tree::isSeparator(stop);
            const bool again = Emoji && !Tree::isUnicodeBreak(stop);
            const int last = separator || again ? match.walked : match.walked + 1;
            for (int i = pos; i < last; ++i) {
                const char16_t c = text[i].unicode();
                if (Tree::isUnicodeBreak(c) || c == u'\n' || c == u'\r')
                    out.leaveOut(i);
            }
            pos = last;
            return;
        }
        pos = match.end;
    }
}

} // namespace CodeStep

#endif
