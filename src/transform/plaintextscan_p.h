// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the state of one plain text to HTML scan.
#ifndef GLYPHMORPH_PLAINTEXTSCAN_P_H
#define GLYPHMORPH_PLAINTEXTSCAN_P_H

#include "emosequencesearchtree_p.h"
#include "glyphmorph_export.h"
#include "simd_p.h"

#include <QString>
#include <QtAlgorithms>

#include <cstring>
#include <utility>
#include <vector>

/** Text [begin, end) that the image of *code replaces, or with asText its Unicode emoji. */
struct ImageSpan
{
    int begin;
    int end;
    const emoNode *code;
    bool asText;
};

/**
 * The HTML being built from a text, and where the text's words begin.
 *
 * The engines find what the HTML changes (edits: an image in place of a code, a line break in place
 * of a line end, a character left out) and the writer copies the text around them, every
 * EditBatch edits; a text with fewer edits is written once, at its exact size, and a text that
 * needs none is given back as it is, without a copy. Word starts are found 64 characters at a time
 * as bit sets, so moving to the next word costs no branch per character.
 *
 * HTML longer than maxLength() is not made: the scan then fails(), and the caller gives its
 * neutral result. Allocation failures throw std::bad_alloc as Qt's own do.
 */
class GLYPHMORPH_AUTOTEST_EXPORT PlainTextScan
{
public:
    using Code = emoNode;

    /** The longest HTML a scan makes: the longest QString that Qt 5 can hold, with room to spare.
     */
    static int maxLength();
    /** Replaces maxLength(); 0 restores it. For tests only. */
    static void setMaxLengthForTests(int length);

    /** @p text is at most maxLength() long; both strings must outlive the scan. */
    PlainTextScan(const QString &text, const QString &lineBreak, ConversionOptions options)
        : text(text.constData())
        , length(int(text.size()))
        , strictCodeEnds(options.strictCodeEnds)
        , recordsImages(options.roundTrip)
        , emojiText(options.emojiText)
        , source(text)
        , lineBreak(lineBreak)
    { }

    /** The text in [@p from, @p to) becomes the image of @p code; edits come in text order. */
    void replaceByImage(int from, int to, const Code *code)
    {
        const bool asText = emojiText && !code->emojiText.isEmpty();
        if (recordsImages)
            images.push_back({ from, to, code, asText });
        add({ from, to, asText ? &code->emojiText : &code->imageTag });
    }
    /** The character at @p at becomes the line break. */
    void replaceByLineBreak(int at) { add({ at, at + 1, &lineBreak }); }
    /** The character at @p at is left out. */
    void leaveOut(int at) { add({ at, at + 1, &nothing }); }

    /** True when the HTML would have been longer than maxLength(). */
    bool failed() const { return overflowed; }
    /** The HTML, once the whole text is scanned. */
    QString takeHtml();

    /** The first position at or after @p from that begins a word (a character that is not a
     *  separator, at the start or after a separator), or the text's length when there is none. */
    int nextWordStart(int from)
    {
        // Usually the next word begins in the block already loaded.
        if (from < length && (from >> 6) == loadedBlock) {
            const quint64 starts = wordStarts & (~quint64(0) << (from & 63));
            if (starts)
                return (loadedBlock << 6) + int(qCountTrailingZeroBits(starts));
        }
        return findWordStart(from);
    }

    /** Replaces every line feed and carriage return in [@p from, @p to) by the line break. */
    void replaceLineEnds(int from, int to)
    {
        // Usually the range lies in the loaded block and holds no line end.
        if (from < to && (from >> 6) == loadedBlock && ((to - 1) >> 6) == loadedBlock) {
            const quint64 range
                = (~quint64(0) << (from & 63)) & (~quint64(0) >> (63 - ((to - 1) & 63)));
            if (!(lineEnds & range))
                return;
        }
        replaceLineEndsInBlocks(from, to);
    }

    /** True when a code ending before @p end is followed by a separator, the end of the text or
     *  a character that cannot go on a word. */
    bool acceptsCodeEnd(int end) const;
    /** Whether a grapheme begins at @p at: emoji sequences end only there. */
    bool startsGrapheme(int at) const;

    const QChar *const text;
    const int length;
    /** Strict mode: codes count only where acceptsCodeEnd(). */
    const bool strictCodeEnds;
    /** Round trip: each image is recorded in images too, for a writer of its own. */
    const bool recordsImages;
    /** Emoji text: a code with a Unicode emoji becomes the emoji rather than its image. */
    const bool emojiText;
    std::vector<ImageSpan> images;

private:
    // What the HTML holds in place of [from, to): the image's tag, the line break or nothing.
    // How images and line breaks look is decided where edits are added, and only there.
    struct Edit
    {
        int from;
        int to;
        const QString *replacement;
    };
    static constexpr int EditBatch = 64;

    void add(const Edit &edit)
    {
        if (editCount == EditBatch)
            writeEdits(false);
        edits[editCount++] = edit;
    }
    void writeEdits(bool last);
    bool reserve(qint64 needed, qint64 wanted);
    void write(const QChar *from, int count)
    {
        std::memcpy(static_cast<void *>(out + written), from, size_t(count) * sizeof(QChar));
        written += count;
    }
    int findWordStart(int from);
    void replaceLineEndsInBlocks(int from, int to);
    void loadBlock(int block);

    const QString &source;
    const QString &lineBreak;
    const QString nothing;

    // Bit i stands for character 64 * loadedBlock + i.
    int loadedBlock = -1;
    quint64 lineEnds = 0;
    quint64 wordStarts = 0;

    Edit edits[EditBatch];
    int editCount = 0;
    int copied = 0; // the text before this is written (or left out)

    QString html;
    QChar *out = nullptr;
    int written = 0;
    bool overflowed = false;
};

#endif
