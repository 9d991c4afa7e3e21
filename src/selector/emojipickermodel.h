// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOJIPICKERMODEL_H
#define GLYPHMORPH_EMOJIPICKERMODEL_H

#include "glyphmorph_export.h"

#include <QAbstractListModel>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class EmojiPickerModelPrivate;

/**
 * The cells of an emoji picker, for the Widgets picker and for QML (EmojiPicker.qml).
 *
 * Skin-tone and gender variants are folded: a cell stands for its base emoji and the variants
 * under it (about 1,870 cells for the 3,655 emoji; the rule is EmojiPickerCatalogue's). The
 * rows are, first match wins: while choosingSkinTone, the six default skin tones (none, then 1
 * to 5 light to dark), each shown as ✋ in that tone and named by the tone ("medium skin tone");
 * the variants of variantsOf (the base first), the cells whose emoji match the search query in
 * the locale (then in English), best first, or the cells of the section: 0 is "Recently used",
 * 1 and on the groups of emoji-test.txt in its order. Cells show
 * their emoji with the skin tone last picked among its variants, else with the default skin tone
 * where it has tone variants. Tone and recent emoji are the user's EmojiPreferences, shared by
 * every picker and process; their changes arrive through the event loop.
 *
 * Roles: "emoji" (the text a pick gives), "name" (in the locale), "variantCount" (1 for a cell
 * without variants) and "imageKey" (the hex code points without U+FE0F, joined by '-').
 */
class GLYPHMORPH_EXPORT EmojiPickerModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QStringList sections READ sections NOTIFY localeChanged)
    Q_PROPERTY(int section READ section WRITE setSection NOTIFY sectionChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(QString variantsOf READ variantsOf WRITE setVariantsOf NOTIFY variantsOfChanged)
    Q_PROPERTY(bool choosingSkinTone READ choosingSkinTone WRITE setChoosingSkinTone NOTIFY
            choosingSkinToneChanged)
    Q_PROPERTY(int skinTone READ skinTone WRITE setSkinTone NOTIFY skinToneChanged)
    Q_PROPERTY(QString locale READ locale WRITE setLocale NOTIFY localeChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Roles
    {
        EmojiRole = Qt::UserRole + 1,
        NameRole,
        VariantCountRole,
        ImageKeyRole,
    };

    /** Opens on "Recently used" when it has emoji, else on the first group. */
    explicit EmojiPickerModel(QObject *parent = nullptr);
    ~EmojiPickerModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    /** "Recently used", then the group names of emoji-test.txt. */
    QStringList sections() const;
    int section() const;
    void setSection(int section);
    QString query() const;
    void setQuery(const QString &query);
    QString variantsOf() const;
    /** Lists the variants of the cell of @p emoji (any of them, any qualification); empty goes
     *  back to the search or section. */
    void setVariantsOf(const QString &emoji);
    /** Whether the rows are the six default skin tones, row N for tone N; pick() then sets the
     *  default tone and ends the choice. */
    bool choosingSkinTone() const;
    void setChoosingSkinTone(bool choosing);
    /** The default skin tone: 0 for none, 1 to 5 light to dark (EmojiPreferences::skinTone()). */
    int skinTone() const;
    void setSkinTone(int tone);
    /** The language of names and search; empty for the application's. */
    QString locale() const;
    void setLocale(const QString &locale);
    int count() const;

    Q_INVOKABLE QString emojiAt(int row) const;
    Q_INVOKABLE QString nameAt(int row) const;
    Q_INVOKABLE int variantCountAt(int row) const;
    /** An emoji that stands for @p section on a tab. */
    Q_INVOKABLE QString sectionEmoji(int section) const;
    /** The imageKey of @p emoji. */
    Q_INVOKABLE QString imageKeyOf(const QString &emoji) const;
    /** @p emoji with skin tone @p tone (1 to 5) where it has tone variants, else as it is. */
    Q_INVOKABLE QString withSkinTone(const QString &emoji, int tone) const;
    /** The emoji of @p row was picked: it counts as used for "Recently used" and, picked among
     *  variants, its skin tone is remembered for its emoji; gives the emoji. While
     *  choosingSkinTone, makes the row's tone the default tone instead, ends the choice and gives
     *  an empty string. */
    Q_INVOKABLE QString pick(int row);

    /** How many cells the groups have together. */
    static int cellCount();
    /** The cell image of @p emoji, @p pixels square: the Emoji theme's image when it has drawn
     *  it already, else drawn from the colour emoji font. Null without a QGuiApplication. */
    static QImage emojiImage(const QString &emoji, int pixels);
    /** The emoji of an imageKey; empty for a malformed key. */
    static QString emojiOfImageKey(const QString &key);
    /** The file the Emoji theme draws the image of @p emoji to for text. */
    static QString themeImagePath(const QString &emoji);

Q_SIGNALS:
    void sectionChanged();
    void queryChanged();
    void variantsOfChanged();
    void choosingSkinToneChanged();
    void skinToneChanged();
    void localeChanged();
    void countChanged();

private:
    friend class EmojiPickerModelPrivate;
    const std::unique_ptr<EmojiPickerModelPrivate> d;
};

#endif
