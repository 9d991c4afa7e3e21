// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOJICOMPLETIONMODEL_H
#define GLYPHMORPH_EMOJICOMPLETIONMODEL_H

#include "emojidata.h"
#include "glyphmorph_export.h"

#include <QAbstractListModel>
#include <QString>

#include <memory>

class EmojiCompletionModelPrivate;
class EmojiPreferences;

/**
 * The completions of a shortcode being typed: the emoji whose shortcodes in the chosen set
 * contain the query (the text after ':'), from minimumQueryLength characters on. Shortcodes that
 * begin with the query come before those that only contain it; within each, recently used emoji
 * (EmojiPreferences::recentEmoji(), whatever their tone) come first, most used first, then
 * shorter shortcodes. Case does not matter. One row per emoji, at most limit() rows, each emoji
 * with the user's skin tone (EmojiPreferences::applySkinTone()).
 *
 * The rows follow the user's settings: they are made again when the recent emoji, the skin tones
 * or the shortcode set change in any process.
 */
class GLYPHMORPH_EXPORT EmojiCompletionModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        EmojiRole = Qt::UserRole + 1, ///< the emoji, with the skin tone applied ("emoji")
        ShortcodeRole, ///< the matching shortcode, without colons ("shortcode")
        NameRole, ///< the emoji's name in locale(), else in English ("name")
    };

    /** Shorter queries give no rows. */
    static constexpr int minimumQueryLength = 2;
    static constexpr int defaultLimit = 10;

    explicit EmojiCompletionModel(QObject *parent = nullptr);
    ~EmojiCompletionModel() override;

    QString query() const;
    /** Completes @p query; colons around it are no part of it (":thu" is "thu"). */
    void setQuery(const QString &query);
    EmojiData::ShortcodeSet shortcodeSet() const;
    /** The set whose shortcodes are offered. Until it is set, the one the user chose for the
     *  Emoji theme ("/Messaging/Settings/Emoji/ShortcodeSet": github, slack or cldr), GitHub's
     *  when none is chosen. */
    void setShortcodeSet(EmojiData::ShortcodeSet set);
    int limit() const;
    /** At most @p limit rows; 0 or less for all. */
    void setLimit(int limit);
    QString locale() const;
    /** The locale of the names; empty (the default) for the application's. */
    void setLocale(const QString &locale);

    /** The preferences the rows follow, for noting a completion the user took. */
    EmojiPreferences *preferences() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /** The display role gives the emoji. */
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    friend class EmojiCompletionModelPrivate;
    const std::unique_ptr<EmojiCompletionModelPrivate> d;
};

#endif
