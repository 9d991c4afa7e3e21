// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the emoji preferences that pickers read and change.
#ifndef GLYPHMORPH_EMOJIPICKERPREFERENCES_P_H
#define GLYPHMORPH_EMOJIPICKERPREFERENCES_P_H

#include "emojipreferences.h"
#include "glyphmorph_export.h"

#include <QObject>
#include <QString>
#include <QStringList>

/**
 * The user's emoji preferences as pickers use them, one instance for every picker of the
 * process: the default skin tone, the tones chosen for single emoji, and the recently used emoji,
 * kept by EmojiPreferences in the settings store. The change signals come from the event loop.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiPickerPreferences : public QObject
{
    Q_OBJECT

public:
    static EmojiPickerPreferences *instance();

    /** 0 for none, 1 to 5 from light to dark. */
    int skinTone() const;
    /** Ignores a tone outside 0 to 5. */
    void setSkinTone(int tone);
    /** @p emoji with the tone chosen for it, else with the default skin tone where it has tone
     *  variants, else as it is. */
    QString applySkinTone(const QString &emoji) const;
    /** A variant picked from a cell's variants: where the emoji has skin-tone variants, its cell
     *  shows that tone (or none) from then on, whatever the default tone. */
    void noteVariantPicked(const QString &variant);
    /** Forgets every tone chosen for single emoji. */
    void clearSkinToneChoices();

    /** The emoji picked, most used first, recent use weighing more. */
    QStringList recentEmoji() const;
    void noteEmojiUsed(const QString &emoji);
    void clearRecentEmoji();

Q_SIGNALS:
    void skinToneChanged();
    void recentEmojiChanged();

private:
    EmojiPickerPreferences();

    EmojiPreferences m_preferences;
};

#endif
