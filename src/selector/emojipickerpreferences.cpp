// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipickerpreferences_p.h"

#include "emojidata.h"

EmojiPickerPreferences *EmojiPickerPreferences::instance()
{
    static EmojiPickerPreferences preferences;
    return &preferences;
}

EmojiPickerPreferences::EmojiPickerPreferences()
{
    connect(&m_preferences, &EmojiPreferences::skinToneChanged, this,
        &EmojiPickerPreferences::skinToneChanged);
    // A chosen tone changes what cells show, as the default tone does.
    connect(&m_preferences, &EmojiPreferences::skinToneChoicesChanged, this,
        &EmojiPickerPreferences::skinToneChanged);
    connect(&m_preferences, &EmojiPreferences::recentEmojiChanged, this,
        &EmojiPickerPreferences::recentEmojiChanged);
}

int EmojiPickerPreferences::skinTone() const
{
    return m_preferences.skinTone();
}

void EmojiPickerPreferences::setSkinTone(int tone)
{
    if (tone != m_preferences.skinTone())
        m_preferences.setSkinTone(tone);
}

QString EmojiPickerPreferences::applySkinTone(const QString &emoji) const
{
    return m_preferences.applySkinTone(emoji);
}

void EmojiPickerPreferences::noteVariantPicked(const QString &variant)
{
    // Untoned counts as a choice too: the cell stays untoned whatever the default tone.
    if (!EmojiData().skinToneVariants(variant).isEmpty())
        m_preferences.setSkinToneChoice(variant);
}

void EmojiPickerPreferences::clearSkinToneChoices()
{
    m_preferences.clearSkinToneChoices();
}

QStringList EmojiPickerPreferences::recentEmoji() const
{
    return m_preferences.recentEmoji();
}

void EmojiPickerPreferences::noteEmojiUsed(const QString &emoji)
{
    m_preferences.noteEmojiUsed(emoji);
}

void EmojiPickerPreferences::clearRecentEmoji()
{
    m_preferences.clearRecentEmoji();
}
