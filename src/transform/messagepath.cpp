// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The message path: a short one-line text read at once, then only its words that may begin a code.
#include "codestep_p.h"
#include "emosequencesearchtree_p.h"
#include "messagepath_p.h"
#include "plaintextscan_p.h"

#include <cstring>

namespace {

using Tree = emoSequenceSearchTreePrivate;

// The words of @p text, at most MessageLength long.
MessageWords readMessage(const QString &text, const FlatTrie &flat)
{
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    const int length = int(text.size());
    MessageWords words;
#ifdef GLYPHMORPH_SCAN_SSE2
    if (length >= 16) {
        // Sixteen characters a step, packed into bytes: a character above U+00FF packs to 0xFF
        // (or, from U+8000 on, to 0), which is neither a separator nor a lower-case letter. Either
        // byte may send the scan to a word for nothing, never past one that holds a code.
        const __m128i space = _mm_set1_epi8(' ');
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i carriageReturn = _mm_set1_epi8('\r');
        const __m128i lowercaseA = _mm_set1_epi8('a');
        const __m128i lettersAfterA = _mm_set1_epi8('z' - 'a');
        const __m128i highestFirst
            = _mm_set1_epi8(char(qMin<int>(flat.highestFirstCharacter(), 0xff)));
        // Lower-case words are most words: they are skipped unless a code begins with a letter.
        const __m128i lowercaseSkipped
            = flat.hasLowercaseFirst() ? _mm_setzero_si128() : _mm_set1_epi8(-1);
        const __m128i unicodeBreak = _mm_set1_epi16(short(Tree::LineSeparator));
        const __m128i lastBitCleared = _mm_set1_epi16(short(~1));
        const __m128i zero = _mm_setzero_si128();
        __m128i breaks = zero;
        // Sixteen characters from @p at on: bits 0-15 separators, 16-31 possible code starts.
        const auto sixteenAt = [&](int at) {
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
            const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 8));
            const __m128i bytes = _mm_packus_epi16(low, high);
            const __m128i lineEnds = _mm_or_si128(
                _mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn));
            const __m128i separators = _mm_or_si128(lineEnds, _mm_cmpeq_epi8(bytes, space));
            const __m128i lowercase = _mm_cmpeq_epi8(
                _mm_subs_epu8(_mm_sub_epi8(bytes, lowercaseA), lettersAfterA), zero);
            const __m128i notAbove = _mm_cmpeq_epi8(_mm_subs_epu8(bytes, highestFirst), zero);
            const __m128i unicodeBreaks
                = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(low, lastBitCleared), unicodeBreak),
                    _mm_cmpeq_epi16(_mm_and_si128(high, lastBitCleared), unicodeBreak));
            breaks = _mm_or_si128(breaks, _mm_or_si128(lineEnds, unicodeBreaks));
            const __m128i mayBegin = _mm_andnot_si128(
                _mm_or_si128(separators, _mm_and_si128(lowercase, lowercaseSkipped)), notAbove);
            return quint32(_mm_movemask_epi8(separators))
                | quint32(_mm_movemask_epi8(mayBegin)) << 16;
        };
        quint64 separators[2] = {}, mayBegin[2] = {};
        int at = 0;
        for (; at + 16 <= length; at += 16) {
            const quint32 both = sixteenAt(at);
            separators[at >> 6] |= quint64(both & 0xffff) << (at & 63);
            mayBegin[at >> 6] |= quint64(both >> 16) << (at & 63);
        }
        if (at < length) {
            // The last sixteen characters again, of which the first are known.
            const int known = 16 - (length - at);
            const quint32 both = sixteenAt(length - 16);
            separators[at >> 6] |= quint64((both & 0xffff) >> known) << (at & 63);
            mayBegin[at >> 6] |= quint64((both >> 16) >> known) << (at & 63);
        }
        words.set(separators[0], separators[1], mayBegin[0], mayBegin[1]);
        words.anyBreak = _mm_movemask_epi8(breaks) != 0;
        return words;
    }
#endif
    quint64 separators[2] = {}, mayBegin[2] = {};
    words.anyBreak = false;
    for (int i = 0; i < length; ++i) {
        const char16_t c = data[i];
        const bool separator = Tree::isSeparator(c);
        separators[i >> 6] |= quint64(separator) << (i & 63);
        mayBegin[i >> 6] |= quint64(!separator && flat.first(c) != 0) << (i & 63);
        words.anyBreak = words.anyBreak || c == u'\n' || c == u'\r' || Tree::isUnicodeBreak(c);
    }
    words.set(separators[0], separators[1], mayBegin[0], mayBegin[1]);
    return words;
}

} // namespace

namespace {

// The images of a message, as the code step finds them, and its HTML written from them.
class MessageImages
{
public:
    MessageImages(const emoSequenceSearchTreePrivate &tree, const QString &text)
        : m_tree(tree)
        , m_text(text)
    { }

    void replaceByImage(int from, int to, const emoNode *code)
    {
        m_tree.prepareImage(code);
        m_images[m_count++] = { from, to, &code->imageTag };
        m_size += code->imageTag.size() - (to - from);
    }
    // Only a U+2028, U+2029 or line end is ever left out, and the message path takes none.
    void leaveOut(int) { Q_UNREACHABLE(); }
    // The message path takes no options.
    bool acceptsCodeEnd(int) const { return true; }

    /** The HTML at its exact size, or the text itself when nothing changed; with @p copy, written
     *  by MessagePathAvx512 from that copy of the text. */
    QString html(const char16_t *copy) const
    {
        if (m_count == 0)
            return m_text;
        if (m_size > PlainTextScan::maxLength())
            return m_text;
        QString html(int(m_size), Qt::Uninitialized);
        if (copy) {
            MessagePathAvx512::write(reinterpret_cast<char16_t *>(html.data()), int(m_size), copy,
                int(m_text.size()), m_images, m_count);
            return html;
        }
        QChar *to = html.data();
        int from = 0;
        const auto append = [&to](const QChar *characters, int count) {
            std::memcpy(static_cast<void *>(to), characters, size_t(count) * sizeof(QChar));
            to += count;
        };
        for (int i = 0; i < m_count; ++i) {
            append(m_text.constData() + from, m_images[i].from - from);
            append(m_images[i].tag->constData(), int(m_images[i].tag->size()));
            from = m_images[i].to;
        }
        append(m_text.constData() + from, int(m_text.size()) - from);
        return html;
    }

private:
    const emoSequenceSearchTreePrivate &m_tree;
    const QString &m_text;
    // Every image takes at least one character of the message.
    MessageImage m_images[emoSequenceSearchTreePrivate::MessageLength];
    int m_count = 0;
    qint64 m_size = m_text.size();
};

} // namespace

bool emoSequenceSearchTreePrivate::convertMessage(
    const QString &text, bool avx512, QString &html) const
{
    char16_t copy[MessagePathAvx512::Slack + MessageLength + MessagePathAvx512::Slack];
    char16_t *const message = avx512 ? copy + MessagePathAvx512::Slack : nullptr;
    const MessageWords words = avx512
        ? MessagePathAvx512::read(
            reinterpret_cast<const char16_t *>(text.constData()), int(text.size()), flat, message)
        : readMessage(text, flat);
    if (words.anyBreak)
        return false;
    MessageImages images(*this, text);
    const QChar *data = text.constData();
    const int length = int(text.size());
    int pos = 0; // the text before this has been read
    for (int half = 0; half < 2; ++half) {
        for (quint64 starts = words.starts[half]; starts; starts &= starts - 1) {
            const int at = (half << 6) + int(qCountTrailingZeroBits(starts));
            // A word that a code's walk has read past, or one whose first character only looked
            // like a code's.
            if (at < pos || !mayBeginCode(data[at]))
                continue;
            pos = at;
            CodeStep::readCodeSequences(flat, images, data, length, pos, false);
        }
    }
    html = images.html(message);
    return true;
}
