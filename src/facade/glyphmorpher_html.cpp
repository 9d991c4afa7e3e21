// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoticon HTML back to plain text.
//
// A tag is converted when it reads "<img src=" X "alt='" Y "'>" up to its first ">" (X and Y not
// empty), and the tag ends with "' width='" digits "' height='" digits "'>"; it is replaced by the
// text between the last "alt='" that leaves something before that ending, and the ending. These
// are the matches of the expressions (<img src=[^>]+alt='[^>]+'>) and
// (.*alt=')([^>]+)(' width='[\d]+' height='[\d]+'>). They are found by hand, in time linear in the
// text: the expressions backtrack quadratically on text from a peer such as "<img src=" followed
// by many "alt='" and no ">".
#include "glyphmorpher.h"

#include <QStringView>

namespace {

const QLatin1String tagStart("<img src=");
const QLatin1String altStart("alt='");

bool isDigit(QChar c)
{
    return c.isDigit();
}

// Where "' width='N' height='N'>" begins in @p tag, or -1.
int sizeSuffixStart(QStringView tag)
{
    int at = int(tag.size()) - 2;
    if (at < 0 || !tag.endsWith(QLatin1String("'>")))
        return -1;
    const auto digitsBack = [&tag](int end) {
        int begin = end;
        while (begin > 0 && isDigit(tag.at(begin - 1)))
            --begin;
        return begin;
    };
    const QLatin1String heightText("' height='");
    const QLatin1String widthText("' width='");
    int begin = digitsBack(at);
    if (begin == at || !tag.left(begin).endsWith(heightText))
        return -1;
    at = begin - int(heightText.size());
    begin = digitsBack(at);
    if (begin == at || !tag.left(begin).endsWith(widthText))
        return -1;
    return begin - int(widthText.size());
}

// The code an emoticon tag carries, or a null string when the tag is not converted.
QString altValue(QStringView tag)
{
    const int suffix = sizeSuffixStart(tag);
    if (suffix < 0)
        return QString();
    // The last "alt='" that leaves at least one character before the suffix.
    const int alt = int(tag.left(suffix - 1).lastIndexOf(altStart));
    if (alt < 0)
        return QString();
    const int value = alt + int(altStart.size());
    return tag.mid(value, suffix - value).toString();
}

} // namespace

QString Glyphmorpher::transformHTMLToPlainText(const QString &html)
{
    QString result;
    int copied = 0;
    // Both only move forward as the tag starts do, which keeps the scan linear.
    int nextClose = -1; // the first ">" after the current tag start
    int nextAlt = -1; // the first "alt='" after the current tag start's "<img src=" and one more
    int from = 0;
    while (true) {
        const int start = html.indexOf(tagStart, from);
        if (start < 0)
            break;
        from = start + 1;
        if (start < copied)
            continue; // inside a tag already converted
        const int inner = start + int(tagStart.size());
        if (nextClose < inner)
            nextClose = html.indexOf(QLatin1Char('>'), inner);
        if (nextClose < 0)
            break;
        if (nextAlt < inner + 1) {
            nextAlt = html.indexOf(altStart, inner + 1);
            if (nextAlt < 0)
                break;
        }
        // "<img src=", something, "alt='", something, "'" just before ">".
        if (nextAlt + int(altStart.size()) + 1 >= nextClose
            || html.at(nextClose - 1) != QLatin1Char('\''))
            continue;
        const QString code = altValue(QStringView(html).mid(start, nextClose + 1 - start));
        if (code.isNull())
            continue;
        result.append(html.constData() + copied, start - copied);
        result += code;
        copied = nextClose + 1;
    }
    if (copied == 0)
        result = html;
    else
        result.append(html.constData() + copied, html.size() - copied);
    result.replace(QLatin1String("<br>"), QLatin1String("\n"));
    return result;
}
