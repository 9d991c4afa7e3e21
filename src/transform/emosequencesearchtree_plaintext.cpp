// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: a single left-to-right scan alternating a word step and a code step.
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"
#include "roundtriphtml_p.h"

#include <cstring>
#include <new>

namespace {

// Leaves out of [first, last) the characters @p drop names; the rest is copied as it stands.
template<typename Drop> void dropFrom(PlainTextScan &out, int first, int last, Drop drop)
{
    for (int i = first; i < last; ++i)
        if (drop(out.text[i].unicode()))
            out.leaveOut(i);
}

// Copies @p count characters in steps of 32: up to 31 more are read after them and written, which
// an image tag (36 characters at least) then writes over.
inline char16_t *copyWithRoom(char16_t *to, const char16_t *from, int count)
{
    constexpr int Step = emoSequenceSearchTreePrivate::Room;
    int done = 0;
    do {
        std::memcpy(to + done, from + done, Step * sizeof(char16_t));
        done += Step;
    } while (done < count);
    return to + count;
}

} // namespace

void emoSequenceSearchTreePrivate::appendHtmlEscaped(QString &html, QChar c)
{
    switch (c.unicode()) {
    case u'&':
        html += QLatin1String("&amp;");
        break;
    case u'<':
        html += QLatin1String("&lt;");
        break;
    case u'>':
        html += QLatin1String("&gt;");
        break;
    case u'"':
        html += QLatin1String("&quot;");
        break;
    case u'\'':
        html += QLatin1String("&#39;");
        break;
    default:
        html += c;
        break;
    }
}

// The path goes into a single-quoted attribute: a quote or markup in it must not end the attribute.
// A tag is longer than Room, which the writing of messages relies on.
QString emoSequenceSearchTreePrivate::htmlImageTag(const QString &filePath)
{
    QString tag = QStringLiteral("<img src='");
    for (const QChar c : filePath)
        appendHtmlEscaped(tag, c);
    tag += QLatin1String("'  width='20' height='20'>");
    return tag;
}

// Both steps run once per word: they are inlined into the scan.
Q_ALWAYS_INLINE bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(
    PlainTextScan &result, const QString &, int &pos, const QString &)
{
    // From inside a word, or from the separator that ended it, to the start of the next word:
    // the rest of the word and the spaces stand as they are, line ends become line breaks.
    const int next = result.nextWordStart(pos == 0 ? 0 : pos + 1);
    result.replaceLineEnds(pos, next);
    pos = next;
    return next < result.length;
}

Q_ALWAYS_INLINE void emoSequenceSearchTreePrivate::replaceEmoticonSequence(
    PlainTextScan &result, const QString &, int &pos, int, const QString &)
{
    // Most words begin with no code: the first character is copied and the word step goes on.
    const QChar first = result.text[pos];
    if (Q_LIKELY(!mayBeginCode(first))) {
        if (Q_UNLIKELY(isUnicodeBreak(first.unicode())))
            result.leaveOut(pos);
        ++pos;
        return;
    }
    readCodeSequences(result, pos);
}

QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(
    const QString &text, int, const QString &lineBreak, Glyphmorpher::ConversionOptions options)
{
    // HTML that no string can hold, or no memory left for it: the text as it stands.
    if (text.size() > PlainTextScan::maxLength)
        return text;
    try {
        if (text.size() > ShortText)
            return scanText(text, lineBreak, options, nullptr);
#ifdef GLYPHMORPH_SCAN_WIDE
        const MessageBits bits = flat.scansWide()
            ? readMessageWide(
                reinterpret_cast<const char16_t *>(text.constData()), int(text.size()))
            : readMessage(text);
#else
        const MessageBits bits = readMessage(text);
#endif
        // Most messages are one line: their codes are all there is to replace.
        if (!bits.anyBreak && options == Glyphmorpher::DefaultConversion)
            return bits.codeStarts[0] | bits.codeStarts[1] ? convertMessage(text, bits) : text;
        return scanText(text, lineBreak, options, &bits);
    } catch (const std::bad_alloc &) {
        return text;
    }
}

// Apart from one-line messages: the scan's state is large, and kept out of their way.
Q_NEVER_INLINE QString emoSequenceSearchTreePrivate::scanText(const QString &text,
    const QString &lineBreak, Glyphmorpher::ConversionOptions options, const MessageBits *message)
{
    PlainTextScan result(text, lineBreak);
    std::vector<ImageSpan> images;
    result.strictCodeEnds = options.testFlag(Glyphmorpher::StrictCodeEnds);
    if (options.testFlag(Glyphmorpher::RoundTrip))
        result.images = &images;
    if (message) {
        scanShortText(result, *message);
    } else {
        int pos = 0;
        while (moveToStartOfNextWord(result, text, pos, lineBreak))
            replaceEmoticonSequence(result, text, pos, 0, lineBreak);
    }
    // The round trip writes the whole text anew around the images the scan found.
    if (result.images) {
        const QString html = RoundTripHtml::write(text, images, lineBreak);
        return html.isNull() ? text : html;
    }
    // Each copy of a shared string is an atomic operation: the HTML is moved out, not copied.
    QString html = result.takeHtml();
    if (result.failed())
        return text;
    return html;
}

// The word steps of the scan for a message whose only edits are images: no scan state, and the
// HTML written at its size once the images are known.
QString emoSequenceSearchTreePrivate::convertMessage(
    const QString &text, const MessageBits &bits) const
{
    const QChar *data = text.constData();
    const int length = int(text.size());
    const char16_t *const message = bits.text();
    MessageImage images[ShortText];
    int imageCount = 0;
    qint64 size = length;
    int pos = 0; // the text before this has been read
    for (int word = 0; word < 2; ++word) {
        for (quint64 wordStarts = bits.codeStarts[word]; wordStarts; wordStarts &= wordStarts - 1) {
            const int at = (word << 6) + int(qCountTrailingZeroBits(wordStarts));
            // A word that a code's walk has read past, or, where the pass did not sort out the words
            // whose second character goes on no code, one that begins no code.
            if (at < pos || (!flat.scansWide() && !mayBeginCode(data[at])))
                continue;
#ifdef GLYPHMORPH_SCAN_SSE2
            // Most codes stand alone, a word of their own: found so, they need no walk.
            int wordLength;
            if (const FlatTrie::WordCode *found
                = flat.wholeWord(message + at, length - at, wordLength)) {
                images[imageCount++] = { at, at + wordLength, found->tag, found->tagLength };
                size += found->tagLength - wordLength;
                pos = at + wordLength;
                continue;
            }
#endif
            // A word that begins no code (the narrower pass's words were checked above).
            if (flat.scansWide() && !mayBeginCode(data[at]))
                continue;
            // Codes directly after one another are all replaced, as in the scan's code step.
            pos = at;
            while (true) {
                const Match match = matchCode(data, length, pos, nullptr);
                if (match.code) {
                    const QString &tag = match.code->imageTag;
                    images[imageCount++] = { pos, match.end,
                        reinterpret_cast<const char16_t *>(tag.constData()), int(tag.size()) };
                    size += tag.size() - (match.end - pos);
                }
                if (match.walked == length) {
                    pos = length;
                    break;
                }
                if (!match.code) {
                    pos = isSeparator(data[match.walked].unicode()) ? match.walked
                                                                    : match.walked + 1;
                    break;
                }
                pos = match.end;
            }
        }
    }
    // Nothing differs from the text: share it rather than copy it.
    if (imageCount == 0)
        return text;
    if (size > PlainTextScan::maxLength)
        return text;
    QString html(int(size), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(html.data());
#ifdef GLYPHMORPH_SCAN_WIDE
    if (flat.scansWide()) {
        writeMessageWide(begin, int(size), message, length, images, imageCount);
        return html;
    }
#endif
    // The text after the last image first, from the end back: what this writes before it, the
    // last image's tag writes over.
    const int tail = length - images[imageCount - 1].to;
    for (int done = 0; done < tail; done += Room)
        std::memcpy(
            begin + size - done - Room, message + length - done - Room, Room * sizeof(char16_t));
    char16_t *to = begin;
    int from = 0;
    for (int i = 0; i < imageCount; ++i) {
        // What this writes past the text before the image, the image's tag writes over.
        to = copyWithRoom(to, message + from, images[i].from - from);
        std::memcpy(to, images[i].tag, size_t(images[i].tagLength) * sizeof(char16_t));
        to += images[i].tagLength;
        from = images[i].to;
    }
    return html;
}

// The steps are the same as for longer texts.
void emoSequenceSearchTreePrivate::scanShortText(
    PlainTextScan &result, const MessageBits &bits) const
{
    const char16_t *data = reinterpret_cast<const char16_t *>(result.text);
    const int length = result.length;
    quint64 lineEnds[2] = {};
    if (bits.anyBreak) {
        for (int i = 0; i < length; ++i)
            lineEnds[i >> 6] |= quint64(data[i] == u'\n' || data[i] == u'\r') << (i & 63);
    }

    // Spaces stay; line ends in [pos, before) become line breaks.
    const auto lineBreaksUpTo = [&](int pos, int before) {
        for (int at = pos; at < before; ++at) {
            if (lineEnds[at >> 6] & (quint64(1) << (at & 63)))
                result.replaceByLineBreak(at);
        }
    };
    int pos = 0; // the text before this has been read
    for (int word = 0; word < 2; ++word) {
        for (quint64 wordStarts = bits.starts[word]; wordStarts; wordStarts &= wordStarts - 1) {
            const int at = (word << 6) + int(qCountTrailingZeroBits(wordStarts));
            // A word that a code's walk has read past.
            if (at < pos)
                continue;
            const char16_t first = data[at];
            const bool code = mayBeginCode(QChar(first));
            if (Q_LIKELY(!code && !isUnicodeBreak(first)))
                continue;
            lineBreaksUpTo(pos, at);
            if (!code) {
                result.leaveOut(at);
                pos = at + 1;
            } else {
                pos = at;
                readCodeSequences(result, pos);
            }
        }
    }
    lineBreaksUpTo(pos, length);
}

// Inlined into the code steps, which run it once or twice per code.
Q_ALWAYS_INLINE emoSequenceSearchTreePrivate::Match emoSequenceSearchTreePrivate::matchCode(
    const QChar *text, int length, int pos, const PlainTextScan *strict) const
{
    Match match { nullptr, pos, pos };
    if (pos < length) {
        FlatTrie::Index node = flat.first(text[pos].unicode());
        while (node) {
            ++pos;
            // The longest code on the way; in strict mode the longest that a word does not go
            // on after.
            const emoNode *code = flat.terminal(node);
            if (Q_UNLIKELY(strict)) {
                if (code && strict->acceptsCodeEnd(pos)) {
                    match.code = code;
                    match.end = pos;
                }
            } else {
                // Without a branch: whether a code ends here is hard to foretell.
                const quintptr keep = quintptr(code != nullptr) - 1;
                match.end = int((quintptr(pos) & ~keep) | (quintptr(match.end) & keep));
                match.code = reinterpret_cast<const emoNode *>(
                    quintptr(code) | (quintptr(match.code) & keep));
            }
            if (pos == length)
                break;
            node = flat.next(node, text[pos].unicode());
        }
    }
    match.walked = pos;
    return match;
}

void emoSequenceSearchTreePrivate::readCodeSequences(PlainTextScan &result, int &pos) const
{
    const QChar *data = result.text;
    const int length = result.length;
    // Codes directly after one another are all replaced; the chain ends at the first character
    // that begins none.
    while (true) {
        const Match match = matchCode(data, length, pos, result.strictCodeEnds ? &result : nullptr);
        if (match.code)
            result.replaceByImage(pos, match.end, match.code);
        if (match.walked == length) {
            // The walk ran into the end: what follows the code is not read again.
            dropFrom(result, match.code ? match.end : pos, length, isUnicodeBreak);
            pos = length;
            return;
        }
        if (!match.code) {
            // A separator stays for the word step, which emits it exactly once; line ends that a
            // code's beginning took in are left out.
            const bool separator = isSeparator(data[match.walked].unicode());
            const int last = separator ? match.walked : match.walked + 1;
            dropFrom(result, pos, last,
                [](char16_t x) { return isUnicodeBreak(x) || x == u'\n' || x == u'\r'; });
            pos = last;
            return;
        }
        pos = match.end;
    }
}
