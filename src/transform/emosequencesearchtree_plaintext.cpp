// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: a single left-to-right scan alternating a word step and a code step.
#include "emosequencesearchtree_p.h"
#include "plaintextscan_p.h"
#include "roundtriphtml_p.h"

#include <new>

namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;

inline bool isSeparator(char16_t c)
{
    return c == u' ' || c == u'\n' || c == u'\r';
}

inline bool isUnicodeBreak(char16_t c)
{
    return c == LineSeparator || c == ParagraphSeparator;
}

using Output = PlainTextScan;

// Leaves out of [first, last) the characters @p drop names; the rest is copied as it stands.
template<typename Drop> void dropFrom(Output &out, int first, int last, Drop drop)
{
    for (int i = first; i < last; ++i) {
        if (drop(out.text[i].unicode())) {
            out.copyUpTo(i);
            out.skipTo(i + 1);
        }
    }
}

// The image replaces the code read from @p begin up to @p end.
void emitImage(Output &out, int begin, int end, const emoSequenceSearchTreePrivate::emoNode *node)
{
    if (out.images)
        out.images->push_back({ begin, end, &node->filePath });
    out.copyUpTo(begin);
    out.write(node->imageTag);
    out.skipTo(end);
}

} // namespace

// The path goes into a single-quoted attribute: a quote or markup in it must not end the attribute.
QString emoSequenceSearchTreePrivate::htmlImageTag(const QString &filePath)
{
    QString tag = QStringLiteral("<img src='");
    for (const QChar c : filePath) {
        switch (c.unicode()) {
        case u'&':
            tag += QLatin1String("&amp;");
            break;
        case u'<':
            tag += QLatin1String("&lt;");
            break;
        case u'>':
            tag += QLatin1String("&gt;");
            break;
        case u'"':
            tag += QLatin1String("&quot;");
            break;
        case u'\'':
            tag += QLatin1String("&#39;");
            break;
        default:
            tag += c;
            break;
        }
    }
    tag += QLatin1String("'  width='20' height='20'>");
    return tag;
}

// Both steps run once per word: they are inlined into the scan.
Q_ALWAYS_INLINE bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(
    PlainTextScan &result, const QString &, int &pos, const QString &lineBreak)
{
    // From inside a word, or from the separator that ended it, to the start of the next word:
    // the rest of the word and the spaces stand as they are, line ends become line breaks.
    const int next = result.nextWordStart(pos == 0 ? 0 : pos + 1);
    result.replaceLineEnds(pos, next, lineBreak);
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
            dropFrom(result, pos, pos + 1, isUnicodeBreak);
        ++pos;
        return;
    }
    readCodeSequences(result, pos);
}

QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(
    const QString &text, int n, const QString &lineBreak, Glyphmorpher::ConversionOptions options)
{
    // HTML that no string can hold, or no memory left for it: the text as it stands.
    if (text.size() > PlainTextScan::maxLength)
        return text;
    try {
        PlainTextScan result(text, qint64(text.size()) * 3 / 2);
        std::vector<ImageSpan> images;
        result.strictCodeEnds = options.testFlag(Glyphmorpher::StrictCodeEnds);
        if (options.testFlag(Glyphmorpher::RoundTrip))
            result.images = &images;
        int pos = 0;
        while (moveToStartOfNextWord(result, text, pos, lineBreak))
            replaceEmoticonSequence(result, text, pos, n, lineBreak);
        result.copyUpTo(int(text.size()));
        if (result.images) {
            const QString html = RoundTripHtml::write(text, images, lineBreak);
            return html.isNull() ? text : html;
        }
        return result.failed() ? text : result.takeHtml();
    } catch (const std::bad_alloc &) {
        return text;
    }
}

void emoSequenceSearchTreePrivate::readCodeSequences(PlainTextScan &result, int &pos) const
{
    const QChar *data = result.text;
    const int length = result.length;
    const auto dropLineEnds = [](char16_t x) {
        return isUnicodeBreak(x) || x == u'\n' || x == u'\r';
    };
    const emoNode *node = rootNode;
    const emoNode *pending = nullptr;
    int start = pos;
    int codeStart = pos; // where the code being read began
    bool matched = false;
    int matchEnd = pos;

    while (pos < length) {
        // At the root the bit set answers most misses without a hash lookup.
        const emoNode *child = node == rootNode && !mayBeginCode(data[pos])
            ? nullptr
            : node->children.value(data[pos]);
        if (child) {
            node = child;
            ++pos;
            if (node->filePath.isEmpty() || (result.strictCodeEnds && !result.acceptsCodeEnd(pos)))
                continue;
            pending = node;
            if (!node->children.isEmpty()) {
                // A longer code may follow: hold the image back until the walk knows.
                matched = true;
                start = matchEnd = pos;
            } else {
                emitImage(result, codeStart, pos, pending);
                node = rootNode;
                start = codeStart = pos;
                matched = false;
            }
        } else if (matched) {
            emitImage(result, codeStart, matchEnd, pending);
            matched = false;
            pos = codeStart = matchEnd;
            node = rootNode;
        } else {
            // A separator stays for the word step, which emits it exactly once.
            const bool separator = isSeparator(data[pos].unicode());
            dropFrom(result, start, separator ? pos : pos + 1, dropLineEnds);
            if (!separator)
                ++pos;
            return;
        }
    }
    if (matched)
        emitImage(result, codeStart, matchEnd, pending);
    dropFrom(result, start, length, isUnicodeBreak);
}
