// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The conversions with their opt-in departures: round trip and strict code ends.
#include "glyphmorpher.h"

#include "emosequencesearchtree_p.h"
#include "emoticonthememanager.h"
#include "roundtriphtml_p.h"
#include "sharedinstance_p.h"

#include <new>

QString Glyphmorpher::transformPlainTextToHTML(const QString &plainText, const QString &accountPath,
    int n, const QString &lineBreak, ConversionOptions options)
{
    if (emoSequenceSearchTreePrivate *tree
        = sharedInstance<EmoticonThemeManager>()->searchTreeForAccountPath(accountPath))
        return tree->performPlainText2HTMLReplacement(plainText, n, lineBreak, options);
    if (!options.testFlag(RoundTrip))
        return plainText;
    // Without a theme the text must still read back.
    try {
        const QString html = RoundTripHtml::write(plainText, {}, lineBreak);
        return html.isNull() ? plainText : html;
    } catch (const std::bad_alloc &) {
        return plainText;
    }
}

QString Glyphmorpher::transformHTMLToPlainText(const QString &html, ConversionOptions options)
{
    return options.testFlag(RoundTrip) ? RoundTripHtml::read(html) : transformHTMLToPlainText(html);
}
