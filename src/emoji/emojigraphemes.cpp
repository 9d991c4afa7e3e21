// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojigraphemes_p.h"

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

} // namespace

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
