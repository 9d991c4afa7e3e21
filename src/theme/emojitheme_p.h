// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the built-in Emoji theme, made from the Unicode emoji data.
#ifndef GLYPHMORPH_EMOJITHEME_P_H
#define GLYPHMORPH_EMOJITHEME_P_H

#include "emojidata.h"
#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QString>

namespace EmojiTheme {

/** "928ab845-fe9b-497d-af5f-e49ee6609415". */
GLYPHMORPH_AUTOTEST_EXPORT QString uuid();

/** What the user chose for the theme. */
struct Options
{
    EmojiData::ShortcodeSet shortcodes = EmojiData::GitHubShortcodes;
    /** The built-in theme's codes (":)", "<3") as their emoji. */
    bool asciiSmileys = false;

    bool operator==(const Options &other) const
    {
        return shortcodes == other.shortcodes && asciiSmileys == other.asciiSmileys;
    }
    bool operator!=(const Options &other) const { return !(*this == other); }
};

/**
 * The Emoji theme, named "Emoji". Its codes: every line of emoji-test.txt as written, but for
 * components and for a lone code point that is text by default (a digit, ©, ☺), which is an
 * emoji only with U+FE0F after it; each shortcode of the chosen set as ":name:"; with
 * asciiSmileys, every code of the built-in theme. Every code names the image of its emoji in
 * @p imageDirectory (EmojiImages::fileName()), drawn there when text first names it. Emoji
 * sequences are found wherever a grapheme begins, the other codes at word starts. The picker
 * mappings hold the fully-qualified emoji without skin tones, in emoji-test.txt's order. The
 * codes, mappings and tree are made when first asked for. Draws nothing and writes no file.
 */
GLYPHMORPH_AUTOTEST_EXPORT EmoticonTheme create(
    const Options &options, const QString &imageDirectory);

} // namespace EmojiTheme

#endif
