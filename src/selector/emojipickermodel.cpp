// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipickermodel.h"

#include "emojicellimage_p.h"
#include "emojidata.h"
#include "emojipickercatalogue_p.h"
#include "emojipickerpreferences_p.h"

#include <QSet>

namespace {
// U+1F558 CLOCK FACE NINE OCLOCK
const char32_t recentSymbol[] = { 0x1F558 };
// U+270B RAISED HAND shows a skin tone; U+1F3FB is the first tone's modifier.
const char32_t toneSample[] = { 0x270B };
constexpr char32_t firstToneModifier = 0x1F3FB;
} // namespace

class EmojiPickerModelPrivate
{
public:
    explicit EmojiPickerModelPrivate(EmojiPickerModel *q)
        : q(q)
    { }

    void rebuild();
    QString shown(const QString &emoji) const
    {
        return toned ? EmojiPickerPreferences::instance()->applySkinTone(emoji) : emoji;
    }

    EmojiPickerModel *const q;
    const EmojiPickerCatalogue &catalogue = EmojiPickerCatalogue::instance();
    EmojiData data;
    int section = 0;
    QString query;
    QString variantsOf;
    bool choosingTone = false;
    QString locale;
    // The rows' emoji as the catalogue has them; shown() applies the tone.
    QStringList rows;
    bool toned = true;
};

void EmojiPickerModelPrivate::rebuild()
{
    const int before = rows.size();
    q->beginResetModel();
    toned = true;
    if (choosingTone) {
        const QString sample = QString::fromUcs4(toneSample, 1);
        rows = QStringList { sample } + data.skinToneVariants(sample);
        toned = false;
    } else if (!variantsOf.isEmpty()) {
        rows = catalogue.variantsOf(variantsOf);
        toned = false;
    } else if (!query.trimmed().isEmpty()) {
        rows.clear();
        QSet<QString> seen;
        QStringList found = data.searchEmoji(query.trimmed(), locale);
        // Names in English find emoji in any language, after the UI language's.
        if (data.resolvedLocale(locale) != QLatin1String("en"))
            found += data.searchEmoji(query.trimmed(), QStringLiteral("en"));
        for (const QString &emoji : found) {
            const QString base = catalogue.baseOf(emoji);
            if (!base.isEmpty() && !seen.contains(base)) {
                seen.insert(base);
                rows.append(base);
            }
        }
    } else if (section == 0) {
        // As they were picked, tones included.
        rows = EmojiPickerPreferences::instance()->recentEmoji();
        toned = false;
    } else {
        rows = catalogue.cellsOfGroup.value(section - 1);
    }
    q->endResetModel();
    if (rows.size() != before)
        Q_EMIT q->countChanged();
}

EmojiPickerModel::EmojiPickerModel(QObject *parent)
    : QAbstractListModel(parent)
    , d(new EmojiPickerModelPrivate(this))
{
    EmojiPickerPreferences *preferences = EmojiPickerPreferences::instance();
    d->section = preferences->recentEmoji().isEmpty() ? 1 : 0;
    d->rebuild();
    connect(preferences, &EmojiPickerPreferences::skinToneChanged, this, [this] {
        if (d->toned && !d->rows.isEmpty())
            Q_EMIT dataChanged(index(0), index(d->rows.size() - 1));
        Q_EMIT skinToneChanged();
    });
    connect(preferences, &EmojiPickerPreferences::recentEmojiChanged, this, [this] {
        if (d->section == 0 && !d->choosingTone && d->variantsOf.isEmpty()
            && d->query.trimmed().isEmpty())
            d->rebuild();
    });
}

EmojiPickerModel::~EmojiPickerModel() = default;

int EmojiPickerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : d->rows.size();
}

QVariant EmojiPickerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= d->rows.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case EmojiRole:
        return emojiAt(index.row());
    case Qt::AccessibleTextRole:
    case NameRole:
        return nameAt(index.row());
    case VariantCountRole:
        return variantCountAt(index.row());
    case ImageKeyRole:
        return EmojiCellImage::key(emojiAt(index.row()));
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> EmojiPickerModel::roleNames() const
{
    return {
        { EmojiRole, "emoji" },
        { NameRole, "name" },
        { VariantCountRole, "variantCount" },
        { ImageKeyRole, "imageKey" },
    };
}

QStringList EmojiPickerModel::sections() const
{
    return QStringList { qtTrId("qtn_msg_emoji_recently_used") } + d->catalogue.groups;
}

int EmojiPickerModel::section() const
{
    return d->section;
}

void EmojiPickerModel::setSection(int section)
{
    if (section < 0 || section > d->catalogue.groups.size() || section == d->section)
        return;
    d->section = section;
    d->rebuild();
    Q_EMIT sectionChanged();
}

QString EmojiPickerModel::query() const
{
    return d->query;
}

void EmojiPickerModel::setQuery(const QString &query)
{
    if (query == d->query)
        return;
    d->query = query;
    d->rebuild();
    Q_EMIT queryChanged();
}

QString EmojiPickerModel::variantsOf() const
{
    return d->variantsOf;
}

void EmojiPickerModel::setVariantsOf(const QString &emoji)
{
    const QString base
        = emoji.isEmpty() ? QString() : d->catalogue.baseOf(d->data.fullyQualified(emoji));
    if (base == d->variantsOf)
        return;
    d->variantsOf = base;
    d->rebuild();
    Q_EMIT variantsOfChanged();
}

bool EmojiPickerModel::choosingSkinTone() const
{
    return d->choosingTone;
}

void EmojiPickerModel::setChoosingSkinTone(bool choosing)
{
    if (choosing == d->choosingTone)
        return;
    d->choosingTone = choosing;
    d->rebuild();
    Q_EMIT choosingSkinToneChanged();
}

int EmojiPickerModel::skinTone() const
{
    return EmojiPickerPreferences::instance()->skinTone();
}

void EmojiPickerModel::setSkinTone(int tone)
{
    EmojiPickerPreferences::instance()->setSkinTone(tone);
}

QString EmojiPickerModel::locale() const
{
    return d->locale;
}

void EmojiPickerModel::setLocale(const QString &locale)
{
    if (locale == d->locale)
        return;
    d->locale = locale;
    if (!d->query.trimmed().isEmpty())
        d->rebuild();
    else if (!d->rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(d->rows.size() - 1), { NameRole });
    Q_EMIT localeChanged();
}

int EmojiPickerModel::count() const
{
    return d->rows.size();
}

QString EmojiPickerModel::emojiAt(int row) const
{
    return row >= 0 && row < d->rows.size() ? d->shown(d->rows.at(row)) : QString();
}

QString EmojiPickerModel::nameAt(int row) const
{
    if (!d->choosingTone || row < 0 || row >= d->rows.size())
        return d->data.emojiName(emojiAt(row), d->locale);
    if (row == 0)
        return qtTrId("qtn_msg_emoji_no_skin_tone");
    // The modifier alone is named after its tone in every locale of the data.
    const char32_t modifier = firstToneModifier + char32_t(row - 1);
    return d->data.emojiName(QString::fromUcs4(&modifier, 1), d->locale);
}

int EmojiPickerModel::variantCountAt(int row) const
{
    if (row < 0 || row >= d->rows.size())
        return 0;
    // A tone offers no variants of its sample.
    if (d->choosingTone)
        return 1;
    return qMax(1, int(d->catalogue.variantsOf(d->catalogue.baseOf(d->rows.at(row))).size()));
}

QString EmojiPickerModel::sectionEmoji(int section) const
{
    if (section == 0)
        return QString::fromUcs4(recentSymbol, 1);
    return d->catalogue.cellsOfGroup.value(section - 1).value(0);
}

QString EmojiPickerModel::imageKeyOf(const QString &emoji) const
{
    return EmojiCellImage::key(emoji);
}

QString EmojiPickerModel::withSkinTone(const QString &emoji, int tone) const
{
    const QString qualified = d->data.fullyQualified(emoji);
    if (tone < 1 || tone > 5)
        return qualified.isEmpty() ? emoji : qualified;
    return d->data.skinToneVariants(emoji).value(tone - 1, qualified.isEmpty() ? emoji : qualified);
}

QString EmojiPickerModel::pick(int row)
{
    const QString emoji = emojiAt(row);
    if (emoji.isEmpty())
        return emoji;
    if (d->choosingTone) {
        setSkinTone(row);
        setChoosingSkinTone(false);
        return QString();
    }
    EmojiPickerPreferences *preferences = EmojiPickerPreferences::instance();
    if (!d->variantsOf.isEmpty())
        preferences->noteVariantPicked(emoji);
    preferences->noteEmojiUsed(emoji);
    return emoji;
}

int EmojiPickerModel::cellCount()
{
    return EmojiPickerCatalogue::instance().cellCount();
}

QImage EmojiPickerModel::emojiImage(const QString &emoji, int pixels)
{
    return EmojiCellImage::image(emoji, pixels);
}

QString EmojiPickerModel::emojiOfImageKey(const QString &key)
{
    return EmojiCellImage::emojiOfKey(key);
}

QString EmojiPickerModel::themeImagePath(const QString &emoji)
{
    return EmojiCellImage::themeImagePath(emoji);
}
