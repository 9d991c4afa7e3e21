// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the emoji preferences that pickers read and change.
#ifndef GLYPHMORPH_EMOJIPICKERPREFERENCES_P_H
#define GLYPHMORPH_EMOJIPICKERPREFERENCES_P_H

#include "glyphmorph_export.h"

#include <QObject>
#include <QString>
#include <QStringList>

/**
 * The default skin tone and the recently used emoji, shared by every picker of the process.
 * Kept in memory; the one place to switch over to the user's stored emoji preferences.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiPickerPreferences : public QObject
{
    Q_OBJECT

public:
    /** The most emoji recentEmoji() keeps. */
    static constexpr int maxRecentEmoji = 40;

    static EmojiPickerPreferences *instance();

    /** 0 for none, 1 to 5 from light to dark. */
    int skinTone() const;
    /** Ignores a tone outside 0 to 5. */
    void setSkinTone(int tone);
    /** @p emoji with the default skin tone where it has tone variants, else as it is. */
    QString applySkinTone(const QString &emoji) const;

    /** The emoji picked, most recent first. */
    QStringList recentEmoji() const;
    void noteEmojiUsed(const QString &emoji);
    void clearRecentEmoji();

Q_SIGNALS:
    void skinToneChanged();
    void recentEmojiChanged();

private:
    EmojiPickerPreferences() = default;

    int m_skinTone = 0;
    QStringList m_recent;
};

#endif
