// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOJIPREFERENCES_H
#define GLYPHMORPH_EMOJIPREFERENCES_H

#include "glyphmorph_export.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class EmojiPreferencesPrivate;

/**
 * The user's emoji preferences, shared by every process of the user through the settings store
 * (MGConfItem): the default skin tone, the skin tones chosen for single emoji, and the emoji used
 * recently. Every instance, in every process, emits the change signals from the event loop after
 * any of them changes a preference.
 *
 * Keys: "/Messaging/Settings/Emoji/SkinTone" (0 to 5), "/Messaging/Settings/Emoji/SkinToneChoices"
 * (the chosen variants, separated by spaces) and "/Messaging/Settings/Emoji/Recent" (up to 40
 * "EMOJI:WEIGHT" items separated by spaces, heaviest first). Values that cannot be read count as
 * unset; unreadable items of a list are left out.
 */
class GLYPHMORPH_EXPORT EmojiPreferences : public QObject
{
    Q_OBJECT

public:
    /** The most emoji recentEmoji() keeps. */
    static constexpr int maxRecentEmoji = 40;

    explicit EmojiPreferences(QObject *parent = nullptr);
    ~EmojiPreferences() override;

    /** The default skin tone: 0 for none, 1 to 5 from light to dark (U+1F3FB to U+1F3FF). */
    int skinTone() const;
    /** Stores @p tone as the default skin tone; false when it is not 0 to 5 or the store could
     *  not be written. */
    bool setSkinTone(int tone);

    /** The variant chosen for @p emoji (with or without a tone) by setSkinToneChoice(); empty
     *  when none was chosen. */
    QString skinToneChoice(const QString &emoji) const;
    /** Makes @p variant, an emoji with its skin tones or without any, what applySkinTone() gives
     *  for its emoji whatever the default tone: a picker's choice. False for no emoji with skin-
     *  tone variants, or when the store could not be written. */
    bool setSkinToneChoice(const QString &variant);
    /** Forgets the choice for @p emoji: the default tone applies to it again. */
    bool clearSkinToneChoice(const QString &emoji);
    /** Forgets every choice. */
    bool clearSkinToneChoices();

    /**
     * @p emoji as the user wants it: the variant chosen for it, else with the default skin tone,
     * else as it is. An emoji written with a tone keeps it, as does one without tone variants;
     * anything that is no emoji is given back unchanged.
     */
    QString applySkinTone(const QString &emoji) const;
    /** applySkinTone() of each of @p emoji, the settings read once: for a picker's grid or a
     *  list of completions. */
    QStringList applySkinTone(const QStringList &emoji) const;

    /**
     * The fully-qualified variant of @p emoji with skin tone @p tone (0: none, 1 to 5: light to
     * dark), any tone it had replaced. An emoji of two people, or of two hands, takes
     * @p secondTone (1 to 5) for the second where Unicode defines that variant
     * (🧑🏻‍🤝‍🧑🏿,
     * 👩🏻‍❤️‍💋‍👨🏼, and 👫 🤝 💏 💑 as 👩🏻‍🤝‍👨🏿
     * 🫱🏻‍🫲🏿
     * 🧑🏻‍❤️‍💋‍🧑🏿 🧑🏻‍❤️‍🧑🏿); otherwise, and with 0 or
     * the same tone, both take @p tone. An emoji without tone variants is given in its
     * fully-qualified form; anything that is no emoji comes back unchanged.
     */
    static QString withSkinTone(const QString &emoji, int tone, int secondTone = 0);

    /**
     * The emoji used recently, fully qualified and with the tone they were used with, most used
     * first and at most maxRecentEmoji; empty at first. Each use adds 1 to the weight of its
     * emoji and takes a tenth off every other weight, so frequent use counts and old use fades;
     * of equal weights, the more recent use comes first.
     */
    QStringList recentEmoji() const;
    /** Counts one use of @p emoji (any qualification); false for no emoji, or when the store
     *  could not be written. The lightest emoji makes room for a new one. */
    bool noteEmojiUsed(const QString &emoji);
    /** Empties recentEmoji(). */
    bool clearRecentEmoji();

Q_SIGNALS:
    void skinToneChanged();
    void skinToneChoicesChanged();
    void recentEmojiChanged();

private:
    const std::unique_ptr<EmojiPreferencesPrivate> d;
};

#endif
