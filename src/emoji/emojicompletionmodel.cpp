// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojicompletionmodel.h"

#include "emojipreferences.h"
#include "mgconfitem.h"

#include <QHash>
#include <QSet>
#include <QVector>

#include <algorithm>
#include <climits>

namespace {

struct Shortcode
{
    QString code;
    QString folded;
    QString emoji;
    QString toneless; // what recent emoji are matched by
};

/** A set's shortcodes, shortest first, so that a scan meets an emoji's shortest match first. */
QVector<Shortcode> buildIndex(EmojiData::ShortcodeSet set)
{
    const QHash<QString, QString> codes = EmojiData().shortcodes(set);
    QVector<Shortcode> index;
    index.reserve(codes.size());
    for (auto it = codes.constBegin(); it != codes.constEnd(); ++it) {
        index.append({ it.key(), it.key().toCaseFolded(), it.value(),
            EmojiPreferences::withSkinTone(it.value(), 0) });
    }
    std::sort(index.begin(), index.end(), [](const Shortcode &a, const Shortcode &b) {
        return a.code.size() != b.code.size() ? a.code.size() < b.code.size() : a.code < b.code;
    });
    return index;
}

const QVector<Shortcode> &shortcodeIndex(EmojiData::ShortcodeSet set)
{
    // Each built on its first query, once per process; the sets never change.
    switch (set) {
    case EmojiData::SlackShortcodes: {
        static const QVector<Shortcode> slack = buildIndex(EmojiData::SlackShortcodes);
        return slack;
    }
    case EmojiData::CldrShortcodes: {
        static const QVector<Shortcode> cldr = buildIndex(EmojiData::CldrShortcodes);
        return cldr;
    }
    case EmojiData::GitHubShortcodes:
        break;
    }
    static const QVector<Shortcode> github = buildIndex(EmojiData::GitHubShortcodes);
    return github;
}

// Read as the Emoji theme reads it, so that what completes is what the theme converts.
EmojiData::ShortcodeSet chosenSet(const MGConfItem &item)
{
    const QString name = item.value().toString();
    if (name == QLatin1String("slack"))
        return EmojiData::SlackShortcodes;
    if (name == QLatin1String("cldr"))
        return EmojiData::CldrShortcodes;
    return EmojiData::GitHubShortcodes;
}

} // namespace

class EmojiCompletionModelPrivate
{
public:
    explicit EmojiCompletionModelPrivate(EmojiCompletionModel *q)
        : q(q)
    { }
    EmojiCompletionModelPrivate(const EmojiCompletionModelPrivate &) = delete;
    EmojiCompletionModelPrivate &operator=(const EmojiCompletionModelPrivate &) = delete;

    void refresh();
    QVector<const Shortcode *> matches() const;

    EmojiCompletionModel *const q;
    EmojiPreferences preferences;
    const EmojiData data;
    QString query;
    QString folded;
    MGConfItem chosenSetItem { QStringLiteral("/Messaging/Settings/Emoji/ShortcodeSet") };
    EmojiData::ShortcodeSet set = chosenSet(chosenSetItem);
    bool setByCaller = false;
    int limit = EmojiCompletionModel::defaultLimit;
    QString locale;
    QVector<const Shortcode *> rows;
    QStringList emoji; // rows' emoji with the skin tone applied
};

QVector<const Shortcode *> EmojiCompletionModelPrivate::matches() const
{
    if (folded.size() < EmojiCompletionModel::minimumQueryLength)
        return {};
    QVector<const Shortcode *> prefixes;
    QVector<const Shortcode *> inside;
    QSet<QString> prefixEmoji;
    QSet<QString> insideEmoji;
    for (const Shortcode &shortcode : shortcodeIndex(set)) {
        const int at = shortcode.folded.indexOf(folded);
        if (at == 0 && !prefixEmoji.contains(shortcode.emoji)) {
            prefixEmoji.insert(shortcode.emoji);
            prefixes.append(&shortcode);
        } else if (at > 0 && !insideEmoji.contains(shortcode.emoji)) {
            insideEmoji.insert(shortcode.emoji);
            inside.append(&shortcode);
        }
    }
    // An emoji that one of its shortcodes begins with the query stands among those only.
    inside.erase(std::remove_if(inside.begin(), inside.end(),
                     [&](const Shortcode *s) { return prefixEmoji.contains(s->emoji); }),
        inside.end());

    QHash<QString, int> rank;
    const QStringList recent = preferences.recentEmoji();
    for (int i = 0; i < recent.size(); ++i) {
        const QString base = EmojiPreferences::withSkinTone(recent.at(i), 0);
        if (!rank.contains(base))
            rank.insert(base, i);
    }
    const auto byRecency = [&rank](const Shortcode *a, const Shortcode *b) {
        return rank.value(a->toneless, INT_MAX) < rank.value(b->toneless, INT_MAX);
    };
    if (!rank.isEmpty()) {
        std::stable_sort(prefixes.begin(), prefixes.end(), byRecency);
        std::stable_sort(inside.begin(), inside.end(), byRecency);
    }
    QVector<const Shortcode *> result = prefixes + inside;
    if (limit > 0 && result.size() > limit)
        result.resize(limit);
    return result;
}

void EmojiCompletionModelPrivate::refresh()
{
    q->beginResetModel();
    rows = matches();
    QStringList plain;
    plain.reserve(rows.size());
    for (const Shortcode *row : qAsConst(rows))
        plain.append(row->emoji);
    emoji = preferences.applySkinTone(plain);
    q->endResetModel();
}

EmojiCompletionModel::EmojiCompletionModel(QObject *parent)
    : QAbstractListModel(parent)
    , d(new EmojiCompletionModelPrivate(this))
{
    const auto refresh = [this] {
        if (d->folded.size() >= minimumQueryLength)
            d->refresh();
    };
    connect(&d->preferences, &EmojiPreferences::recentEmojiChanged, this, refresh);
    connect(&d->preferences, &EmojiPreferences::skinToneChanged, this, refresh);
    connect(&d->preferences, &EmojiPreferences::skinToneChoicesChanged, this, refresh);
    connect(&d->chosenSetItem, &MGConfItem::valueChanged, this, [this] {
        const EmojiData::ShortcodeSet set = chosenSet(d->chosenSetItem);
        if (!d->setByCaller && set != d->set) {
            d->set = set;
            d->refresh();
        }
    });
}

EmojiCompletionModel::~EmojiCompletionModel() = default;

QString EmojiCompletionModel::query() const
{
    return d->query;
}

void EmojiCompletionModel::setQuery(const QString &query)
{
    QString bare = query;
    while (bare.startsWith(QLatin1Char(':')))
        bare.remove(0, 1);
    while (bare.endsWith(QLatin1Char(':')))
        bare.chop(1);
    const QString folded = bare.toCaseFolded();
    const bool same = folded == d->folded;
    d->query = bare;
    d->folded = folded;
    if (!same)
        d->refresh();
}

EmojiData::ShortcodeSet EmojiCompletionModel::shortcodeSet() const
{
    return d->set;
}

void EmojiCompletionModel::setShortcodeSet(EmojiData::ShortcodeSet set)
{
    d->setByCaller = true;
    if (set == d->set)
        return;
    d->set = set;
    d->refresh();
}

int EmojiCompletionModel::limit() const
{
    return d->limit;
}

void EmojiCompletionModel::setLimit(int limit)
{
    if (limit == d->limit)
        return;
    d->limit = limit;
    d->refresh();
}

QString EmojiCompletionModel::locale() const
{
    return d->locale;
}

void EmojiCompletionModel::setLocale(const QString &locale)
{
    if (locale == d->locale)
        return;
    d->locale = locale;
    if (!d->rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(d->rows.size() - 1), { NameRole });
}

EmojiPreferences *EmojiCompletionModel::preferences() const
{
    return &d->preferences;
}

int EmojiCompletionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : d->rows.size();
}

QVariant EmojiCompletionModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Shortcode *row = d->rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case EmojiRole:
        return d->emoji.at(index.row());
    case ShortcodeRole:
        return row->code;
    case NameRole:
        return d->data.emojiName(row->emoji, d->locale);
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> EmojiCompletionModel::roleNames() const
{
    return { { EmojiRole, "emoji" }, { ShortcodeRole, "shortcode" }, { NameRole, "name" } };
}
