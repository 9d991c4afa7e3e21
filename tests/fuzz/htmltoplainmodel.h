// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoticon HTML to plain text written down with the two expressions the conversion is defined by:
// the model the hand-written linear scan is compared with. Backtracks badly: short inputs only.
#ifndef GLYPHMORPH_HTMLTOPLAINMODEL_H
#define GLYPHMORPH_HTMLTOPLAINMODEL_H

#include <QRegExp>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace GlyphmorphTest {

inline QString htmlToPlainWithExpressions(const QString &html)
{
    QSet<QString> tags;
    const QRegExp tag(QStringLiteral("(<img src=[^>]+alt='[^>]+'>)"));
    for (int at = tag.indexIn(html, 0); at >= 0; at = tag.indexIn(html, at + 1))
        tags.insert(tag.cap(0));
    // Of two nested tags, the longer is replaced first.
    QStringList ordered(tags.cbegin(), tags.cend());
    std::sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    QString result = html;
    for (const QString &found : ordered) {
        QRegExp alt(QStringLiteral("(.*alt=')([^>]+)(' width='[\\d]+' height='[\\d]+'>)"));
        if (alt.indexIn(found) >= 0)
            result.replace(found, alt.cap(2));
    }
    return result.replace(QStringLiteral("<br>"), QStringLiteral("\n"));
}

} // namespace GlyphmorphTest

#endif
