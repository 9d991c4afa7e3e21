// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: HTML that gives back exactly the text it was made from.
#ifndef GLYPHMORPH_ROUNDTRIPHTML_P_H
#define GLYPHMORPH_ROUNDTRIPHTML_P_H

#include "plaintextscan_p.h"

#include <QString>

#include <vector>

/**
 * Both directions of the round trip. The HTML holds no raw line end of the text: a line feed is
 * the line break, a carriage return "&#13;", so that the reader may take raw line ends as layout.
 */
class GLYPHMORPH_AUTOTEST_EXPORT RoundTripHtml
{
public:
    /** @p text as HTML, escaped, each span an image tag carrying its code in alt and, in title,
     *  the title that @p tree (needed when there are images) gives it; a span as text is its
     *  Unicode emoji, escaped. A null string when it would be longer than
     *  PlainTextScan::maxLength. */
    static QString write(const QString &text, const std::vector<ImageSpan> &images,
        const QString &lineBreak, const emoSequenceSearchTreePrivate *tree = nullptr);
    /** The text back: an image tag with an alt attribute becomes its value, "<br>" (also "<br/>",
     *  any case) a line feed, entities are decoded, raw line ends dropped; other tags stay. */
    static QString read(const QString &html);
};

#endif
