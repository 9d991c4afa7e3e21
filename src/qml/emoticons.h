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
     *  @p limit (0: all); see EmojiData::searchEmoji(). */
    Q_INVOKABLE QStringList searchEmoji(
        const QString &query, const QString &locale = QString(), int limit = 0) const;

    QAbstractItemModel *themes() const;
    QString currentTheme() const;
    void setCurrentTheme(const QString &uuid);

Q_SIGNALS:
    void currentThemeChanged();
    /** Themes came or went, or the current one changed: emoticons() may give other images. */
    void emoticonsChanged();

private:
    const std::unique_ptr<EmoticonsPrivate> d;
};

#endif
