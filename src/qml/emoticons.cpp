// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticons.h"

#include <emojicompletionmodel.h>
#include <emojidata.h>
#include <emojipreferences.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mnamespace.h>
#include <mtheme.h>
#include <themetablemodel.h>

#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QMap>
#include <QUrl>

#include <climits>

namespace {

Glyphmorpher *morpher()
{
    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    return Glyphmorpher::m_pInstance;
}

EmoticonThemeManager *manager()
{
    morpher();
    return EmoticonThemeManager::m_pInstance;
}

QString imageUrl(const QString &pixmapId)
{
    return QStringLiteral("image://glyphmorph/") + pixmapId;
}

// The library's theme table gives the UUID in a second column, which QML views do not read:
// here it is a role of the first.
class ThemeListModel : public QIdentityProxyModel
{
public:
    enum Role
    {
        UuidRole = Qt::UserRole + 1
    };

    using QIdentityProxyModel::QIdentityProxyModel;

    QHash<int, QByteArray> roleNames() const override
    {
        return { { Qt::DisplayRole, "name" }, { UuidRole, "uuid" },
            { Qt::DecorationRole, "preview" } };
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == UuidRole)
            return sourceModel()->index(index.row(), 1).data();
        if (role == Qt::DecorationRole)
            return imageUrl(QIdentityProxyModel::data(index, role).toString());
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

class EmoticonsPrivate
{
public:
    void fillThemes();

    QVariantMap emojiEntry(
        const QString &emoji, const QString &shortcode, const QString &name) const
    {
        return { { QStringLiteral("emoji"), emoji }, { QStringLiteral("shortcode"), shortcode },
            { QStringLiteral("name"), name } };
    }

    ThemeTableModel table;
    ThemeListModel list;
    // Completion follows the user's shortcode set; search gives its shortcodes.
    EmojiCompletionModel completion;
};

void EmoticonsPrivate::fillThemes()
{
    // By name, so that the list does not follow the registry's hash order.
    QMap<QString, EmoticonTheme> byName;
    const QHash<QString, EmoticonTheme> themes = manager()->emoticonThemes();
    for (const EmoticonTheme &theme : themes)
        byName.insert(theme.themeName() + QLatin1Char('\n') + theme.themeUUID(), theme);
    table.resetModel();
    int row = 0;
    for (const EmoticonTheme &theme : qAsConst(byName))
        table.setData(table.index(row++, 0), QVariant::fromValue(theme), Qt::DisplayRole);
}

Emoticons::Emoticons(QObject *parent)
    : QObject(parent)
    , d(new EmoticonsPrivate)
{
    d->list.setSourceModel(&d->table);
    d->fillThemes();
    EmoticonThemeManager *themeManager = manager();
    connect(themeManager, &EmoticonThemeManager::currentThemeChanged, this, [this] {
        Q_EMIT currentThemeChanged();
        Q_EMIT emoticonsChanged();
    });
    connect(themeManager, &EmoticonThemeManager::availableThemesChanged, this, [this] {
        d->fillThemes();
        Q_EMIT emoticonsChanged();
    });
    EmojiPreferences *preferences = d->completion.preferences();
    connect(
        preferences, &EmojiPreferences::recentEmojiChanged, this, &Emoticons::recentEmojiChanged);
    connect(preferences, &EmojiPreferences::skinToneChanged, this, &Emoticons::skinToneChanged);
}

Emoticons::~Emoticons() = default;

// The round-trip form: the pair gives back the text, which the plain form, with no code in its
// tags, cannot.
QString Emoticons::toHtml(const QString &text, const QString &accountPath) const
{
    return morpher()->transformPlainTextToHTML(
        text, accountPath, 0, QStringLiteral("<br>"), Glyphmorpher::RoundTrip);
}

QString Emoticons::toPlainText(const QString &html) const
{
    return morpher()->transformHTMLToPlainText(html, Glyphmorpher::RoundTrip);
}

QString Emoticons::emojiName(const QString &sequence, const QString &locale) const
{
    return EmojiData().emojiName(sequence, locale);
}

QVariantList Emoticons::searchEmoji(const QString &query, const QString &locale, int limit) const
{
    const EmojiData data;
    const EmojiPreferences *preferences = d->completion.preferences();
    QVariantList result;
    const QStringList found = data.searchEmoji(query, locale, limit);
    const QStringList toned = preferences->applySkinTone(found);
    for (int i = 0; i < found.size(); ++i) {
        result.append(d->emojiEntry(toned.at(i),
            data.shortcodesFor(found.at(i), d->completion.shortcodeSet()).value(0),
            data.emojiName(found.at(i), locale)));
    }
    return result;
}

QVariantList Emoticons::completeShortcode(const QString &prefix, int limit) const
{
    d->completion.setLimit(limit);
    d->completion.setQuery(prefix);
    QVariantList result;
    for (int row = 0; row < d->completion.rowCount(); ++row) {
        const QModelIndex index = d->completion.index(row);
        result.append(d->emojiEntry(index.data(EmojiCompletionModel::EmojiRole).toString(),
            index.data(EmojiCompletionModel::ShortcodeRole).toString(),
            index.data(EmojiCompletionModel::NameRole).toString()));
    }
    return result;
}

void Emoticons::noteEmojiUsed(const QString &emoji)
{
    d->completion.preferences()->noteEmojiUsed(emoji);
}

void Emoticons::clearRecentEmoji()
{
    d->completion.preferences()->clearRecentEmoji();
}

QStringList Emoticons::recentEmoji() const
{
    return d->completion.preferences()->recentEmoji();
}

int Emoticons::skinTone() const
{
    return d->completion.preferences()->skinTone();
}

void Emoticons::setSkinTone(int tone)
{
    if (tone != skinTone())
        d->completion.preferences()->setSkinTone(tone);
}

QVariantList Emoticons::emoticons(const QString &accountPath) const
{
    EmoticonTheme theme = manager()->themeForAccountPath(accountPath);
    const QHash<QString, QString> priorities = theme.codeSequenceToPriorityMapping();
    const QHash<QString, QString> paths = theme.filePathToCodeSequenceMapping();
    // Picker order; a theme without positions is shown by code.
    QMap<QPair<int, QString>, QString> ordered;
    for (auto it = paths.constBegin(); it != paths.constEnd(); ++it) {
        const auto position = priorities.constFind(it.value());
        ordered.insert(
            { position == priorities.constEnd() ? INT_MAX : position->toInt(), it.value() },
            it.key());
    }
    QVariantList result;
    for (auto it = ordered.constBegin(); it != ordered.constEnd(); ++it) {
        const QString path = it.value();
        // An installed theme names its picker images by file name in its own directory.
        MTheme::addPixmapDirectory(QFileInfo(path).absolutePath(), M::Recursive);
        const QString picker = theme.getPickerImage(path);
        result.append(QVariantMap { { QStringLiteral("code"), it.key().second },
            { QStringLiteral("imagePath"), path },
            { QStringLiteral("pickerImage"),
                picker.isEmpty() ? QUrl::fromLocalFile(path).toString() : imageUrl(picker) } });
    }
    return result;
}

QAbstractItemModel *Emoticons::themes() const
{
    return &d->list;
}

QString Emoticons::currentTheme() const
{
    return manager()->currentTheme();
}

void Emoticons::setCurrentTheme(const QString &uuid)
{
    if (uuid != currentTheme())
        manager()->setCurrentTheme(uuid);
}
