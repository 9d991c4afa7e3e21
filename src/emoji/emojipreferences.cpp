// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipreferences.h"
#include "emojipreferences_p.h"

#include "emojidata.h"
#include "mgconfitem.h"

#include <QHash>
#include <QSet>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

const QString skinToneKey = QStringLiteral("/Messaging/Settings/Emoji/SkinTone");
const QString choicesKey = QStringLiteral("/Messaging/Settings/Emoji/SkinToneChoices");
const QString recentKey = QStringLiteral("/Messaging/Settings/Emoji/Recent");

constexpr char32_t firstTone = 0x1F3FB;
constexpr char32_t lastTone = 0x1F3FF;
constexpr char16_t zeroWidthJoiner = 0x200D;
constexpr char16_t emojiSelector = 0xFE0F;
constexpr double recentDecay = 0.9;
// Weights are stored with three decimals; one that rounds to nothing is forgotten.
constexpr double weightScale = 1000.0;

/** Emoji of two people or hands whose variants with two tones Unicode spells out as a joined
 *  sequence of its own, each with that sequence without tones. */
struct Couple
{
    QString compact;
    QString joined;
};

const QVector<Couple> &couples()
{
    static const QVector<Couple> table = [] {
        const auto text = [](std::initializer_list<char32_t> points) {
            return QString::fromUcs4(points.begin(), int(points.size()));
        };
        return QVector<Couple> {
            { text({ 0x1F46B }), text({ 0x1F469, 0x200D, 0x1F91D, 0x200D, 0x1F468 }) },
            { text({ 0x1F46D }), text({ 0x1F469, 0x200D, 0x1F91D, 0x200D, 0x1F469 }) },
            { text({ 0x1F46C }), text({ 0x1F468, 0x200D, 0x1F91D, 0x200D, 0x1F468 }) },
            { text({ 0x1F48F }),
                text({ 0x1F9D1, 0x200D, 0x2764, 0xFE0F, 0x200D, 0x1F48B, 0x200D, 0x1F9D1 }) },
            { text({ 0x1F491 }), text({ 0x1F9D1, 0x200D, 0x2764, 0xFE0F, 0x200D, 0x1F9D1 }) },
            { text({ 0x1F91D }), text({ 0x1FAF1, 0x200D, 0x1FAF2 }) },
        };
    }();
    return table;
}

QString withoutSelectors(QString text)
{
    return text.remove(QChar(emojiSelector));
}

QString withoutTones(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            const char32_t c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            if (c < firstTone || c > lastTone)
                out.append(text.constData() + i, 2);
            ++i;
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}

/** The fully-qualified emoji @p emoji is with its tones taken off; empty for no emoji. */
QString toneless(const EmojiData &data, const QString &emoji)
{
    const QString bare = withoutTones(emoji);
    const QString known = data.fullyQualified(bare);
    if (!known.isEmpty())
        return known;
    // 👩🏻‍🤝‍👨🏿 without its tones is no emoji: it is a variant of 👫.
    const QString key = withoutSelectors(bare);
    for (const Couple &couple : couples()) {
        if (withoutSelectors(couple.joined) == key)
            return couple.compact;
    }
    return QString();
}

/** @p part with @p tone after its first code point. */
QString toned(const QString &part, int tone)
{
    const int first = part.size() > 1 && part.at(0).isHighSurrogate() ? 2 : 1;
    const char32_t modifier = firstTone + char32_t(tone - 1);
    return part.left(first) + QString::fromUcs4(&modifier, 1) + part.mid(first);
}

struct Recent
{
    QString emoji;
    qint64 weight; // thousandths
};

QVector<Recent> parseRecent(const QString &stored)
{
    const EmojiData data;
    QVector<Recent> list;
    QSet<QString> seen;
    const QStringList items = stored.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &item : items) {
        const int colon = item.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        bool ok = false;
        const double weight = item.mid(colon + 1).toDouble(&ok);
        const QString emoji = data.fullyQualified(item.left(colon));
        if (!ok || !std::isfinite(weight) || weight <= 0 || weight > 1e6 || emoji.isEmpty())
            continue;
        if (seen.contains(emoji))
            continue;
        seen.insert(emoji);
        list.append({ emoji, qint64(std::llround(weight * weightScale)) });
    }
    // A value written by hand may be in any order; the stored order breaks ties.
    std::stable_sort(list.begin(), list.end(),
        [](const Recent &a, const Recent &b) { return a.weight > b.weight; });
    if (list.size() > EmojiPreferences::maxRecentEmoji)
        list.resize(EmojiPreferences::maxRecentEmoji);
    return list;
}

QString serializeRecent(const QVector<Recent> &list)
{
    QStringList items;
    items.reserve(list.size());
    for (const Recent &recent : list) {
        items.append(recent.emoji + QLatin1Char(':')
            + QString::number(double(recent.weight) / weightScale, 'f', 3));
    }
    return items.join(QLatin1Char(' '));
}

} // namespace

class EmojiPreferencesPrivate
{
public:
    EmojiPreferencesPrivate() = default;
    EmojiPreferencesPrivate(const EmojiPreferencesPrivate &) = delete;
    EmojiPreferencesPrivate &operator=(const EmojiPreferencesPrivate &) = delete;

    /** The stored choices by toneless emoji, read again only when the stored text changed. */
    QHash<QString, QString> choices() const;
    QVector<Recent> recent() const;
    bool storeChoices(const QHash<QString, QString> &choices);

    const EmojiData data;
    MGConfItem skinTone { skinToneKey };
    MGConfItem choicesItem { choicesKey };
    MGConfItem recentItem { recentKey };

    mutable QString choicesText;
    mutable QHash<QString, QString> choicesCache;
    mutable QString recentText;
    mutable QVector<Recent> recentCache;
};

QHash<QString, QString> EmojiPreferencesPrivate::choices() const
{
    const QString stored = choicesItem.value().toString();
    if (stored == choicesText)
        return choicesCache;
    QHash<QString, QString> parsed;
    const QStringList items = stored.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &item : items) {
        const QString variant = data.fullyQualified(item);
        const QString emoji = toneless(data, variant);
        if (!emoji.isEmpty() && !data.skinToneVariants(emoji).isEmpty())
            parsed.insert(emoji, variant);
    }
    choicesText = stored;
    choicesCache = parsed;
    return parsed;
}

bool EmojiPreferencesPrivate::storeChoices(const QHash<QString, QString> &choices)
{
    QStringList variants = choices.values();
    // Sorted, so that equal choices are stored as equal text whatever the hash order.
    variants.sort();
    return choicesItem.set(
        variants.isEmpty() ? QVariant() : QVariant(variants.join(QLatin1Char(' '))));
}

QVector<Recent> EmojiPreferencesPrivate::recent() const
{
    const QString stored = recentItem.value().toString();
    if (stored != recentText) {
        recentCache = parseRecent(stored);
        recentText = stored;
    }
    return recentCache;
}

EmojiPreferences::EmojiPreferences(QObject *parent)
    : QObject(parent)
    , d(new EmojiPreferencesPrivate)
{
    connect(&d->skinTone, &MGConfItem::valueChanged, this, &EmojiPreferences::skinToneChanged);
    connect(&d->choicesItem, &MGConfItem::valueChanged, this,
        &EmojiPreferences::skinToneChoicesChanged);
    connect(&d->recentItem, &MGConfItem::valueChanged, this, &EmojiPreferences::recentEmojiChanged);
}

EmojiPreferences::~EmojiPreferences() = default;

int EmojiPreferences::skinTone() const
{
    bool ok = false;
    const int tone = d->skinTone.value().toString().trimmed().toInt(&ok);
    return ok && tone >= 0 && tone <= 5 ? tone : 0;
}

bool EmojiPreferences::setSkinTone(int tone)
{
    if (tone < 0 || tone > 5)
        return false;
    return d->skinTone.set(QString::number(tone));
}

QString EmojiPreferences::skinToneChoice(const QString &emoji) const
{
    return d->choices().value(toneless(d->data, emoji));
}

bool EmojiPreferences::setSkinToneChoice(const QString &variant)
{
    const QString chosen = d->data.fullyQualified(variant);
    const QString emoji = toneless(d->data, chosen);
    if (emoji.isEmpty() || d->data.skinToneVariants(emoji).isEmpty())
        return false;
    QHash<QString, QString> choices = d->choices();
    choices.insert(emoji, chosen);
    return d->storeChoices(choices);
}

bool EmojiPreferences::clearSkinToneChoice(const QString &emoji)
{
    QHash<QString, QString> choices = d->choices();
    return choices.remove(toneless(d->data, emoji)) == 0 || d->storeChoices(choices);
}

bool EmojiPreferences::clearSkinToneChoices()
{
    return d->choicesItem.set(QVariant());
}

QString EmojiPreferences::applySkinTone(const QString &emoji) const
{
    return applySkinTone(QStringList { emoji }).constFirst();
}

QStringList EmojiPreferences::applySkinTone(const QStringList &emoji) const
{
    // Each read of the store may read its file again (always, shortly after a write).
    const int tone = skinTone();
    const QHash<QString, QString> choices = d->choices();
    QStringList result;
    result.reserve(emoji.size());
    for (const QString &one : emoji) {
        const QString base = toneless(d->data, one);
        // Written with a tone, or no emoji at all: the writer's choice stands.
        if (base.isEmpty() || withoutTones(one) != one)
            result.append(one);
        else if (const auto chosen = choices.constFind(base); chosen != choices.cend())
            result.append(*chosen);
        else
            result.append(tone == 0 ? one : withSkinTone(base, tone));
    }
    return result;
}

QString EmojiPreferences::withSkinTone(const QString &emoji, int tone, int secondTone)
{
    const EmojiData data;
    const QString base = toneless(data, emoji);
    if (base.isEmpty())
        return emoji;
    const QStringList variants = data.skinToneVariants(base);
    if (tone < 1 || tone > 5 || variants.size() != 5)
        return base;
    if (secondTone < 1 || secondTone > 5 || secondTone == tone)
        return variants.at(tone - 1);
    QString joined = base;
    for (const Couple &couple : couples()) {
        if (couple.compact == base)
            joined = couple.joined;
    }
    QStringList parts = joined.split(QChar(zeroWidthJoiner));
    if (parts.size() >= 2) {
        parts.first() = toned(parts.first(), tone);
        parts.last() = toned(parts.last(), secondTone);
        const QString candidate = data.fullyQualified(parts.join(QChar(zeroWidthJoiner)));
        if (!candidate.isEmpty() && toneless(data, candidate) == base)
            return candidate;
    }
    return variants.at(tone - 1);
}

QStringList EmojiPreferences::recentEmoji() const
{
    QStringList list;
    for (const Recent &recent : d->recent())
        list.append(recent.emoji);
    return list;
}

bool EmojiPreferences::noteEmojiUsed(const QString &emoji)
{
    const QString used = d->data.fullyQualified(emoji);
    if (used.isEmpty())
        return false;
    QVector<Recent> list = d->recent();
    Recent entry { used, 0 };
    for (auto it = list.begin(); it != list.end();) {
        if (it->emoji == used) {
            entry.weight = it->weight;
            it = list.erase(it);
            continue;
        }
        it->weight = qint64(std::llround(double(it->weight) * recentDecay));
        ++it;
    }
    list.erase(std::remove_if(list.begin(), list.end(),
                   [](const Recent &recent) { return recent.weight <= 0; }),
        list.end());
    entry.weight += qint64(weightScale);
    // In front of its equals: of equal weights the latest use comes first.
    list.insert(std::lower_bound(list.begin(), list.end(), entry,
                    [](const Recent &a, const Recent &b) { return a.weight > b.weight; }),
        entry);
    if (list.size() > maxRecentEmoji)
        list.resize(maxRecentEmoji);
    return d->recentItem.set(serializeRecent(list));
}

bool EmojiPreferences::clearRecentEmoji()
{
    return d->recentItem.set(QVariant());
}

void EmojiUses::noteMadeEmoji(EmojiPreferences &preferences,
    const QVector<QPair<QString, QString>> &made, QStringList &lastNote)
{
    // The note: the emoji, and the recent emoji as stored before and after it. A use is taken
    // back by restoring the stored list as it was before, which leaves the decay of every other
    // weight as it was too.
    MGConfItem recent(recentKey);
    // A long paste counts no more uses than the list holds, each a write of the store.
    const int count = qMin(int(made.size()), EmojiPreferences::maxRecentEmoji);
    for (int i = made.size() - count; i < made.size(); ++i) {
        const QString &emoji = made.at(i).first;
        const QString &grownFrom = made.at(i).second;
        if (!grownFrom.isEmpty() && lastNote.size() == 3 && lastNote.at(0) == grownFrom
            && recent.value().toString() == lastNote.at(2))
            recent.set(lastNote.at(1));
        const QString before = recent.value().toString();
        if (preferences.noteEmojiUsed(emoji))
            lastNote = QStringList { emoji, before, recent.value().toString() };
    }
}
