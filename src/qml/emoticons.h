// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_QML_EMOTICONS_H
#define GLYPHMORPH_QML_EMOTICONS_H

#include <QAbstractItemModel>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

class EmoticonsPrivate;

/**
 * The QML singleton Emoticons: message text to HTML and back, the registered themes and the
 * current one, and the emoticons a picker shows.
 */
class Emoticons : public QObject
{
    Q_OBJECT
    /** One row a theme: roles "name", "uuid" and "preview" (an image URL). */
    Q_PROPERTY(QAbstractItemModel *themes READ themes CONSTANT)
    /** The UUID of the current theme; setting it chooses another registered theme. */
    Q_PROPERTY(
        QString currentTheme READ currentTheme WRITE setCurrentTheme NOTIFY currentThemeChanged)
    /** The emoji the user used recently, most used first; see EmojiPreferences::recentEmoji(). */
    Q_PROPERTY(QStringList recentEmoji READ recentEmoji NOTIFY recentEmojiChanged)
    /** The default skin tone, 0 (none) to 5 (dark), shared by the user's processes; other
     *  values are ignored. */
    Q_PROPERTY(int skinTone READ skinTone WRITE setSkinTone NOTIFY skinToneChanged)

public:
    explicit Emoticons(QObject *parent = nullptr);
    ~Emoticons() override;

    /** @p text HTML-escaped (& < > " ' and a carriage return as &#13;), its codes as image tags
     *  of the account's theme that carry the code in alt and title, line ends as <br>:
     *  toPlainText() gives back exactly the text. */
    Q_INVOKABLE QString toHtml(const QString &text, const QString &accountPath = QString()) const;
    /** Emoticon HTML back to plain text: an image tag with an alt attribute (either quote style)
     *  becomes its code, <br> a line feed, entities their characters; raw line ends are layout
     *  and go. */
    Q_INVOKABLE QString toPlainText(const QString &html) const;
    /** The account's emoticons in picker order: maps with "code" (the default code),
     *  "imagePath" (the image text uses) and "pickerImage" (a URL for an Image). */
    Q_INVOKABLE QVariantList emoticons(const QString &accountPath = QString()) const;
    /** The name of a Unicode emoji in @p locale ("de", "pt_PT"; default: the application's),
     *  else in English; empty for no emoji. */
    Q_INVOKABLE QString emojiName(const QString &sequence, const QString &locale = QString()) const;
    /** Emoji whose names or keywords in @p locale contain @p query, best first, at most
     *  @p limit (0: all); see EmojiData::searchEmoji(). Maps with "emoji" (with the user's skin
     *  tone, see EmojiPreferences::applySkinTone()), "shortcode" (its preferred shortcode in the
     *  user's shortcode set, or empty) and "name" (in @p locale, else English). */
    Q_INVOKABLE QVariantList searchEmoji(
        const QString &query, const QString &locale = QString(), int limit = 0) const;
    /** The completions of a shortcode being typed, @p prefix being the text after ':', in the
     *  same form as searchEmoji(), at most @p limit; see EmojiCompletionModel. Empty for fewer
     *  than two characters. */
    Q_INVOKABLE QVariantList completeShortcode(const QString &prefix, int limit = 10) const;
    /** Counts a use of @p emoji for recentEmoji(): call it for every emoji the user picks,
     *  completes or types. */
    Q_INVOKABLE void noteEmojiUsed(const QString &emoji);
    Q_INVOKABLE void clearRecentEmoji();

    QAbstractItemModel *themes() const;
    QString currentTheme() const;
    void setCurrentTheme(const QString &uuid);
    QStringList recentEmoji() const;
    int skinTone() const;
    void setSkinTone(int tone);

Q_SIGNALS:
    void currentThemeChanged();
    /** Themes came or went, or the current one changed: emoticons() may give other images. */
    void emoticonsChanged();
    void recentEmojiChanged();
    void skinToneChanged();

private:
    const std::unique_ptr<EmoticonsPrivate> d;
};

#endif
