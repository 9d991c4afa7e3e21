// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the state of one plain text to HTML scan.
#ifndef GLYPHMORPH_PLAINTEXTSCAN_P_H
#define GLYPHMORPH_PLAINTEXTSCAN_P_H

#include "glyphmorph_export.h"

#include <QString>
#include <QtAlgorithms>

#include <cstring>
#include <utility>
#include <vector>

/** Text [begin, end) that the image at *filePath replaces. */
struct ImageSpan
{
    int begin;
    int end;
    const QString *filePath;
};

/**
 * The HTML being built from a text, and where the text's words begin.
 *
 * Most of a message is copied unchanged, so the text is copied lazily, in runs, up to where the
 * HTML differs from it. Word starts are found 64 characters at a time as bit sets, so moving to the
 * next word costs no branch per character.
 *
 * HTML longer than maxLength is not made: the scan then fails(), and the caller gives its neutral
 * result. Allocation failures throw std::bad_alloc as Qt's own do.
 */
class GLYPHMORPH_AUTOTEST_EXPORT PlainTextScan
{
public:
    /** The longest HTML a scan makes: the longest QString that Qt 5 can hold, with room to spare.
     *  Only tests change it. */
    static int maxLength;

    /** Starts with room for @p reserved characters of HTML; @p text is at most maxLength long. */
    PlainTextScan(const QString &text, qint64 reserved)
        : text(text.constData())
        , length(int(text.size()))
    {
        html.resize(int(qMin<qint64>(reserved, maxLength)));
        out = html.data();
    }

    /** Copies the text from the copied position up to @p end. */
    void copyUpTo(int end)
    {
        write(text + copied, end - copied);
        copied = end;
    }
    /** Leaves out the text from the copied position up to @p end. */
    void skipTo(int end) { copied = end; }
    /** Writes HTML that does not come from the text. */
    void write(const QString &piece) { write(piece.constData(), piece.size()); }

    /** True when the HTML would have been longer than maxLength. */
    bool failed() const { return overflowed; }
    /** The HTML, once the whole text is copied. */
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

    /** Writes @p lineBreak in place of every line feed and carriage return in [@p from, @p to). */
    void replaceLineEnds(int from, int to, const QString &lineBreak)
    {
        // Usually the range lies in the loaded block and holds no line end.
        if (from < to && (from >> 6) == loadedBlock && ((to - 1) >> 6) == loadedBlock) {
            const quint64 range
                = (~quint64(0) << (from & 63)) & (~quint64(0) >> (63 - ((to - 1) & 63)));
            if (!(lineEnds & range))
                return;
        }
        replaceLineEndsInBlocks(from, to, lineBreak);
    }

    /** True when a code ending before @p end is followed by a separator, the end of the text or
     *  a character that cannot go on a word. */
    bool acceptsCodeEnd(int end) const;

    const QChar *const text;
    const int length;
    int copied = 0;
    /** Strict mode: codes count only where acceptsCodeEnd(). */
    bool strictCodeEnds = false;
    /** When set, each image is recorded here too, for a writer of its own. */
    std::vector<ImageSpan> *images = nullptr;

private:
    // Writing through the string's own buffer spares a capacity check per piece in QString::append.
    void write(const QChar *from, int count)
    {
        if (count > html.size() - written && !grow(count))
            return;
        std::memcpy(static_cast<void *>(out + written), from, size_t(count) * sizeof(QChar));
        written += count;
    }
    bool grow(int count);
    int findWordStart(int from);
    void replaceLineEndsInBlocks(int from, int to, const QString &lineBreak);
    void loadBlock(int block);

    // Bit i stands for character 64 * loadedBlock + i.
    int loadedBlock = -1;
    quint64 lineEnds = 0;
    quint64 wordStarts = 0;

    QString html;
    QChar *out = nullptr;
    int written = 0;
    bool overflowed = false;
};

#endif
