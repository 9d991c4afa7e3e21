// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML with the account's theme, and the conversions' opt-in departures.
#include "glyphmorpher.h"

#include "emosequencesearchtree_p.h"
#include "emoticonthememanager.h"
#include "roundtriphtml_p.h"
#include "sharedinstance_p.h"

#include <new>

QString Glyphmorpher::transformPlainTextToHTML(const QString &plainText, const QString &accountPath,
    int, const QString &lineBreak, ConversionOptions options)
{
    ::ConversionOptions engineOptions;
    engineOptions.roundTrip = options.testFlag(RoundTrip);
    engineOptions.strictCodeEnds = options.testFlag(StrictCodeEnds);
    engineOptions.emojiText = options.testFlag(EmojiText);
    // The manager holds the theme, and with it the tree, while the tree works: the scan does not
    // call back into the manager.
    if (emoSequenceSearchTree *tree
        = sharedInstance<EmoticonThemeManager>()->searchTreeForAccountPath(accountPath))
        return emoSequenceSearchTreePrivate::get(tree)->performPlainText2HTMLReplacement(
            plainText, lineBreak, engineOptions);
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
