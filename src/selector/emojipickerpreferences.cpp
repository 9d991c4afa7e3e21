// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipickerpreferences_p.h"

#include "emojidata.h"

EmojiPickerPreferences *EmojiPickerPreferences::instance()
{
    static EmojiPickerPreferences preferences;
    return &preferences;
}

int EmojiPickerPreferences::skinTone() const
{
    return m_skinTone;
}

void EmojiPickerPreferences::setSkinTone(int tone)
{
    if (tone < 0 || tone > 5 || tone == m_skinTone)
        return;
    m_skinTone = tone;
    Q_EMIT skinToneChanged();
}

QString EmojiPickerPreferences::applySkinTone(const QString &emoji) const
{
    if (m_skinTone == 0)
        return emoji;
    return EmojiData().skinToneVariants(emoji).value(m_skinTone - 1, emoji);
}

QStringList EmojiPickerPreferences::recentEmoji() const
{
    return m_recent;
}

void EmojiPickerPreferences::noteEmojiUsed(const QString &emoji)
{
    const QString qualified = EmojiData().fullyQualified(emoji);
    if (qualified.isEmpty())
        return;
    m_recent.removeAll(qualified);
    m_recent.prepend(qualified);
    while (m_recent.size() > maxRecentEmoji)
        m_recent.removeLast();
    Q_EMIT recentEmojiChanged();
}

void EmojiPickerPreferences::clearRecentEmoji()
{
    if (m_recent.isEmpty())
        return;
    m_recent.clear();
    Q_EMIT recentEmojiChanged();
}
