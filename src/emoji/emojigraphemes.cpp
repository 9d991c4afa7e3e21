// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojigraphemes_p.h"

#include "emojitables_p.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace EmojiGraphemes {

namespace {

/** Regional indicators are U+1F1E6..U+1F1FF: D83C DDE6..DDFF in UTF-16. */
bool isRegionalIndicatorAt(const QString &text, int at)
{
    return at + 1 < text.size() && text.at(at).unicode() == 0xD83C
        && text.at(at + 1).unicode() >= 0xDDE6 && text.at(at + 1).unicode() <= 0xDDFF;
}

// How far isBoundary reads back over a run; beyond it, it answers "no boundary", which keeps an
// image from starting inside a grapheme at the price of leaving it text.
constexpr int LookBehind = 256;

char32_t codePointAt(const QChar *text, int length, int at)
{
    const char16_t c = text[at].unicode();
    if (QChar::isHighSurrogate(c) && at + 1 < length && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[at + 1].unicode());
    return c;
}

/** The code point that ends before @p at, and in @p start where it begins. */
char32_t codePointBefore(const QChar *text, int at, int &start)
{
    const char16_t c = text[at - 1].unicode();
    if (QChar::isLowSurrogate(c) && at >= 2 && text[at - 2].isHighSurrogate()) {
        start = at - 2;
        return QChar::surrogateToUcs4(text[at - 2].unicode(), c);
    }
    start = at - 1;
    return c;
}

bool isRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

constexpr char32_t Zwj = 0x200D;

// Extend, ZWJ and SpacingMark: nothing may begin before them.
bool continuesGrapheme(char32_t c)
{
    switch (QChar::category(uint(c))) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        break;
    }
    return c == 0x200C || c == Zwj || c == 0x0E33 || c == 0x0EB3 || (c >= 0xFF9E && c <= 0xFF9F)
        || EmojiTables::isTone(c) || (c >= 0xE0020 && c <= 0xE007F);
}

// Prepend: what follows belongs to it.
bool isPrepend(char32_t c)
{
    return (c >= 0x0600 && c <= 0x0605) || c == 0x06DD || c == 0x070F || c == 0x0890 || c == 0x0891
        || c == 0x08E2 || c == 0x0D4E || c == 0x110BD || c == 0x110CD || c == 0x111C2
        || c == 0x111C3 || c == 0x1193F || c == 0x11941 || c == 0x11A3A
        || (c >= 0x11A84 && c <= 0x11A89) || c == 0x11D46;
}

bool isPictographic(char32_t c)
{
    return EmojiTables::Sequences::builtIn().pictographic.contains(c);
}

} // namespace

bool isBoundary(const QChar *text, int length, int pos)
{
    if (pos <= 0 || pos >= length)
        return true;
    if (text[pos].isLowSurrogate() && text[pos - 1].isHighSurrogate())
        return false;
    const char32_t next = codePointAt(text, length, pos);
    int prevStart = 0;
    const char32_t prev = codePointBefore(text, pos, prevStart);
    if (prev == u'\r' && next == u'\n')
        return false;
    if (continuesGrapheme(next) || isPrepend(prev))
        return false;
    if (prev == Zwj && isPictographic(next)) {
        // An emoji, its marks, a ZWJ: the emoji after it joins them.
        int at = prevStart;
        for (int step = 0; at > 0; ++step) {
            if (step == LookBehind)
                return false;
            int start = 0;
            const char32_t c = codePointBefore(text, at, start);
            if (isPictographic(c))
                return false;
            if (!continuesGrapheme(c) || c == Zwj)
                break;
            at = start;
        }
        return true;
    }
    if (isRegionalIndicator(prev) && isRegionalIndicator(next)) {
        // Indicators pair from the start of their run.
        int count = 1;
        for (int at = prevStart; at > 0; ++count) {
            if (count == LookBehind)
                return false;
            int start = 0;
            if (!isRegionalIndicator(codePointBefore(text, at, start)))
                break;
            at = start;
        }
        return count % 2 == 0;
    }
    return true;
}

QVector<int> ends(const QString &text)
{
    QVector<int> boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (int at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        boundaries.append(at);

    for (int at = 0; at < text.size();) {
        if (!isRegionalIndicatorAt(text, at)) {
            ++at;
            continue;
        }
        // Within a run, a boundary after every second indicator and none after the others.
        int count = 0;
        for (; isRegionalIndicatorAt(text, at); at += 2) {
            if (count > 0) {
                const auto it = std::lower_bound(boundaries.begin(), boundaries.end(), at);
                const bool present = it != boundaries.end() && *it == at;
                if (count % 2 == 0 && !present)
                    boundaries.insert(it, at);
                else if (count % 2 == 1 && present)
                    boundaries.erase(it);
            }
            ++count;
        }
    }
    return boundaries;
}

} // namespace EmojiGraphemes
