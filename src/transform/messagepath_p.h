// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the message path's view of a message, and its AVX-512 read and write.
#ifndef GLYPHMORPH_MESSAGEPATH_P_H
#define GLYPHMORPH_MESSAGEPATH_P_H

#include "flattrie_p.h"

#include <QString>

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

/** An image of a message: the text [from, to) becomes @p tag. */
struct MessageImage
{
    int from;
    int to;
    const QString *tag;
};

/**
 * The message path in 64-character steps, on processors with AVX-512 BW and VBMI (byte permutes
 * look up 64 characters in the first- and second-character tables at once). Besides word starts,
 * it leaves out words whose walk must end after their first character without a code. It writes
 * the HTML in moves of one 512-bit register (32 characters) from a copy of the message, and may
 * read and write up to a move past each piece: an image tag (36 characters at least) then writes
 * over what went too far.
 */
namespace MessagePathAvx512 {

/** Characters of one move, and of the slack the copy of a message has on both sides. */
constexpr int Slack = 32;

/** Whether this build and processor can run it. */
bool available();
/** The words of the @p length (at most 128) characters at @p data, which it copies to @p copy. */
MessageWords read(const char16_t *data, int length, const FlatTrie &flat, char16_t *copy);
/** Writes the HTML, @p size long, at @p html: the @p length characters of @p message (a copy
 *  made by read()) around its @p count (at least one) images. */
void write(char16_t *html, int size, const char16_t *message, int length,
    const MessageImage *images, int count);

} // namespace MessagePathAvx512

#endif
