// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoticon HTML from a peer back to plain text, checked against the two expressions the
// conversion is defined by (on short inputs, where their backtracking stays cheap).
#include "fuzzsupport.h"
#include "glyphmorpher.h"

#include <QRegExp>
#include <QSet>

#include <algorithm>

namespace {

constexpr int ModelLengthLimit = 300;

QString htmlToPlainWithExpressions(const QString &html)
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    GlyphmorphFuzz::isolate();
    GlyphmorphFuzz::startApplication();
    Glyphmorpher::m_pInstance = new Glyphmorpher;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString html = GlyphmorphFuzz::Input(data, size).rest();
    const QString plain = Glyphmorpher::m_pInstance->transformHTMLToPlainText(html);
    // A tag becomes a part of itself and a line break one character: text never grows.
    GLYPHMORPH_FUZZ_CHECK(plain.size() <= html.size(), html);
    if (html.size() <= ModelLengthLimit) {
        const QString expected = htmlToPlainWithExpressions(html);
        GLYPHMORPH_FUZZ_CHECK(plain == expected,
            html + QStringLiteral("\ngives\n") + plain + QStringLiteral("\nnot\n") + expected);
    }
    return 0;
}
