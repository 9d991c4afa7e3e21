// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOJIDATA_H
#define GLYPHMORPH_EMOJIDATA_H

#include "glyphmorph_export.h"

#include <QExplicitlySharedDataPointer>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

class EmojiDataPrivate;

/**
 * Unicode emoji: every sequence of emoji-test.txt with its qualification, group and subgroup;
 * names and keywords from CLDR in English and 100+ other locales; skin-tone variants; shortcode
 * sets; whether a text is emoji only.
 *
 * A cheap handle: default-constructed instances share one set of tables, read on first use and
 * kept for the life of the process. English and the shortcode sets are built into the library;
 * every other locale is a file installed with it, read the first time a call names it. A
 * locale is a name such as "de", "pt_PT", "zh-Hant" or "de_DE.UTF-8"; the nearest one with a
 * table is used ("de_AT" reads "de"), then its CLDR parents, then English. An empty locale is
 * the application's default locale (QLocale()).
 *
 * Sequences are looked up without regard to U+FE0F, so "❤" and "❤️" are the same emoji;
 * results give the fully-qualified form. All functions are safe to call from several threads.
 */
class GLYPHMORPH_EXPORT EmojiData
{
public:
    /** How a line of emoji-test.txt is qualified. */
    enum Qualification
    {
        NotEmoji, ///< not a line of emoji-test.txt
        FullyQualified,
        MinimallyQualified,
        Unqualified,
        Component, ///< a skin tone or hair style alone
    };

    /** The shortcode sets: GitHub's names (gemoji), Slack's (emoji-datasource), or the English
     *  CLDR name in snake case ("thumbs_up"). */
    enum ShortcodeSet
    {
        GitHubShortcodes,
        SlackShortcodes,
        CldrShortcodes,
    };

    /** The process's shared tables, locales found where the library is installed (or in its
     *  build tree), or in $GLYPHMORPH_EMOJI_LOCALE_DIR when that is set. */
    EmojiData();
    /** Tables of its own, with the locale files in @p localeDirectory. */
    explicit EmojiData(const QString &localeDirectory);
    EmojiData(const EmojiData &other);
    EmojiData &operator=(const EmojiData &other);
    ~EmojiData();

    /** Every line of emoji-test.txt in its order, as written there (FE0F kept). */
    QStringList sequences() const;
    /** The fully-qualified emoji in emoji-test.txt's order, without components. */
    QStringList emoji() const;
    /** How @p sequence, exactly as written, is qualified. */
    Qualification qualification(const QString &sequence) const;
    /** The fully-qualified form of @p sequence (FE0F-insensitive); empty for no emoji. */
    QString fullyQualified(const QString &sequence) const;
    /** The group ("Smileys & Emotion") and subgroup ("face-smiling") of @p sequence; empty for
     *  no emoji. */
    QString group(const QString &sequence) const;
    QString subgroup(const QString &sequence) const;
    /** The Emoji version that introduced @p sequence ("0.6"); empty for no emoji. */
    QString emojiVersion(const QString &sequence) const;

    /** The name of @p sequence in @p locale, else in English ("thumbs up"); empty for no
     *  emoji. */
    QString emojiName(const QString &sequence, const QString &locale = QString()) const;
    /** The keywords of @p sequence in @p locale, else in English; empty for no emoji. */
    QStringList emojiKeywords(const QString &sequence, const QString &locale = QString()) const;
    /**
     * Fully-qualified emoji whose name or keywords in @p locale contain @p query, at most
     * @p limit of them (all when 0 or less), best first: names before keywords, and within each
     * a whole match, then a prefix, a word prefix, a substring; then, for several words, emoji
     * whose names or keywords have every word at a word start. Case, accents and other
     * non-spacing marks do not matter. Within a rank, shorter names and keywords come first.
     * Skin-tone variants are found by name only and come after the other emoji of their rank.
     * The first search in a locale builds its index.
     */
    QStringList searchEmoji(
        const QString &query, const QString &locale = QString(), int limit = 0) const;
    /** The five fully-qualified variants of @p sequence with one skin tone, light to dark, for
     *  @p sequence with or without a tone; empty when it has none. */
    QStringList skinToneVariants(const QString &sequence) const;

    /** The shortcodes of @p set without colons, each with its fully-qualified emoji. Each name
     *  means one emoji within a set; sets differ ("umbrella" is ☔ for GitHub, ☂️ for Slack).
     */
    QHash<QString, QString> shortcodes(ShortcodeSet set = GitHubShortcodes) const;
    /** The emoji of @p shortcode in @p set, with or without colons; empty when it has none. */
    QString sequenceForShortcode(
        const QString &shortcode, ShortcodeSet set = GitHubShortcodes) const;
    /** The shortcodes of @p sequence in @p set, without colons, the preferred one first. */
    QStringList shortcodesFor(const QString &sequence, ShortcodeSet set = GitHubShortcodes) const;

    /**
     * Whether @p text consists of emoji and white space only, with at least one emoji; then
     * @p emojiCount (when given) receives their number, else 0. Each grapheme counts once: a
     * joined sequence, a flag, a keycap, an emoji with its skin tone. A character that is text
     * by default (a digit, ©, ™, ☺) is an emoji only with U+FE0F after it; a skin tone, hair
     * style or regional indicator alone is none.
     */
    bool isEmojiOnly(const QString &text, int *emojiCount = nullptr) const;
    /** Whether @p grapheme is one grapheme and an emoji, by the rule of isEmojiOnly(). */
    bool isEmoji(const QString &grapheme) const;

    /** The locales with names: "en" and those installed, sorted. */
    QStringList availableLocales() const;
    /** The table @p locale reads first: an installed locale's name, or "en". */
    QString resolvedLocale(const QString &locale) const;
    /** Where the installed locale files are looked for. */
    QString localeDirectory() const;

    /** The versions of the data: "unicode-emoji" (15.0), "cldr" (41), "gemoji" and
     *  "emoji-datasource", each as its source names it. */
    QMap<QString, QString> dataVersions() const;

private:
    QExplicitlySharedDataPointer<EmojiDataPrivate> d;
};

#endif
