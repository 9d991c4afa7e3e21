// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML: a single left-to-right scan alternating a word step and a code step.
#include "emosequencesearchtree_p.h"

namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;

inline bool isSeparator(char16_t c)
{
    return c == u' ' || c == u'\n' || c == u'\r';
}

inline void appendSeparator(QString &result, char16_t c, const QString &lineBreak)
{
    if (c == u' ')
        result += QLatin1Char(' ');
    else
        result += lineBreak;
}

inline bool needsAttributeEscape(char16_t c)
{
    return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
}

// The path goes into a single-quoted attribute: a quote or markup in it must not end the attribute.
void appendImageTag(QString &result, const QString &filePath)
{
    result += QLatin1String("<img src='");
    const QChar *data = filePath.constData();
    const int length = filePath.size();
    int runStart = 0;
    for (int i = 0; i < length; ++i) {
        const char16_t c = data[i].unicode();
        if (!needsAttributeEscape(c))
            continue;
        result.append(data + runStart, i - runStart);
        runStart = i + 1;
        switch (c) {
        case u'&': result += QLatin1String("&amp;"); break;
        case u'<': result += QLatin1String("&lt;"); break;
        case u'>': result += QLatin1String("&gt;"); break;
        case u'"': result += QLatin1String("&quot;"); break;
        default: result += QLatin1String("&#39;"); break;
        }
    }
    result.append(data + runStart, length - runStart);
    result += QLatin1String("'  width='20' height='20'>");
}

// Appends [first, last) without the characters @p drop says to leave out, in runs.
template<typename Drop>
void appendWithout(QString &result, const QChar *first, const QChar *last, Drop drop)
{
    const QChar *runStart = first;
    for (const QChar *p = first; p != last; ++p) {
        if (drop(p->unicode())) {
            result.append(runStart, int(p - runStart));
            runStart = p + 1;
        }
    }
    result.append(runStart, int(last - runStart));
}

} // namespace

QString emoSequenceSearchTreePrivate::performPlainText2HTMLReplacement(const QString &text, int n,
                                                                      const QString &lineBreak)
{
    QString result;
    result.reserve(int(float(text.size()) * 1.5f));
    int pos = 0;
    while (moveToStartOfNextWord(result, text, pos, lineBreak))
        replaceEmoticonSequence(result, text, pos, n, lineBreak);
    return result;
}

bool emoSequenceSearchTreePrivate::moveToStartOfNextWord(QString &result, const QString &text,
                                                         int &pos, const QString &lineBreak)
{
    const QChar *data = text.constData();
    const int length = text.size();
    if (pos != 0) {
        // Rest of the word the code step began: copied as one run up to its separator.
        if (pos >= length)
            return false;
        const int runStart = pos;
        while (pos < length && !isSeparator(data[pos].unicode()))
            ++pos;
        result.append(data + runStart, pos - runStart);
        if (pos >= length)
            return false;
        appendSeparator(result, data[pos].unicode(), lineBreak);
        ++pos;
    }
    for (; pos < length; ++pos) {
        const char16_t c = data[pos].unicode();
        if (!isSeparator(c))
            return true;
        appendSeparator(result, c, lineBreak);
    }
    return false;
}

void emoSequenceSearchTreePrivate::replaceEmoticonSequence(QString &result, const QString &text,
                                                           int &pos, int, const QString &)
{
    const QChar *data = text.constData();
    const int length = text.size();
    const emoNode *node = rootNode;
    const emoNode *pending = nullptr;
    int start = pos;
    bool matched = false;
    int matchEnd = pos;

    while (pos < length) {
        const auto it = node->children.constFind(data[pos]);
        if (it != node->children.constEnd()) {
            node = it.value();
            ++pos;
            if (node->filePath.isEmpty())
                continue;
            pending = node;
            if (!node->children.isEmpty()) {
                // A longer code may follow: hold the image back until the walk knows.
                matched = true;
                start = matchEnd = pos;
            } else {
                appendImageTag(result, pending->filePath);
                node = rootNode;
                start = pos;
                matched = false;
            }
        } else if (matched) {
            appendImageTag(result, pending->filePath);
            matched = false;
            pos = matchEnd;
            node = rootNode;
        } else {
            const char16_t c = data[pos].unicode();
            const QChar *end = data + pos + (c == u' ' ? 0 : 1);
            appendWithout(result, data + start, end, [](char16_t x) {
                return x == LineSeparator || x == ParagraphSeparator || x == u'\n' || x == u'\r';
            });
            // A separator stays for the word step, which emits it exactly once.
            if (!isSeparator(c))
                ++pos;
            return;
        }
    }
    if (matched)
        appendImageTag(result, pending->filePath);
    appendWithout(result, data + start, data + length,
                  [](char16_t x) { return x == LineSeparator || x == ParagraphSeparator; });
}
