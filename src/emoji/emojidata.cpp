// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojidata.h"

#include "emojigraphemes_p.h"
#include "emojisearchindex_p.h"
#include "emojitables_p.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QSharedData>

#include <memory>
#include <utility>

using namespace EmojiTables;

namespace {

using Table = std::shared_ptr<const LocaleTable>;
using Chain = QVector<Table>;

// Chains in CLDR are three deep at most (en_AU, en_001, en); more means files that loop.
constexpr int maxChainLength = 8;

const Table &englishTable()
{
    static const Table english(&LocaleTable::english(), [](const LocaleTable *) {});
    return english;
}

const Sequences::Entry *entryFor(const QString &sequence)
{
    const Sequences &sequences = Sequences::builtIn();
    const auto it = sequences.byKey.constFind(keyOf(sequence));
    return it == sequences.byKey.cend() ? nullptr : &sequences.entries.at(it.value());
}

bool isLanguage(const QString &part)
{
    return part.size() >= 2 && part.size() <= 3;
}

bool isScript(const QString &part)
{
    return part.size() == 4 && part.at(0).isLetter();
}

/** The locale names to try for @p locale, most specific first. */
QStringList candidatesFor(QString locale)
{
    locale = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    locale.replace(QLatin1Char('-'), QLatin1Char('_'));
    QStringList parts = locale.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || !isLanguage(parts.first()))
        return {};
    const QString language = parts.takeFirst().toLower();
    QString script;
    QString region;
    for (const QString &part : std::as_const(parts)) {
        if (isScript(part) && script.isEmpty())
            script = part.left(1).toUpper() + part.mid(1).toLower();
        else if (region.isEmpty() && (part.size() == 2 || part.size() == 3))
            region = part.toUpper();
    }
    // Qt knows the script a region writes a language in ("zh_TW" is Traditional Han), and
    // CLDR keys some tables by it ("zh_Hant").
    if (script.isEmpty()) {
        const QStringList forms = QLocale(language + QLatin1Char('_') + region).uiLanguages();
        for (const QString &form : forms) {
            const QStringList subtags = form.split(QLatin1Char('-'));
            if (subtags.size() >= 2 && subtags.first() == language && isScript(subtags.at(1))) {
                script = subtags.at(1);
                break;
            }
        }
    }
    QStringList candidates;
    const auto add = [&candidates](const QString &candidate) {
        if (!candidates.contains(candidate))
            candidates.append(candidate);
    };
    const QString underscore = QStringLiteral("_");
    // A table of the very name asked for comes first ("sr" is not "sr_Cyrl").
    QString asked = language;
    for (const QString &part : std::as_const(parts)) {
        asked += underscore
            + (isScript(part) ? part.left(1).toUpper() + part.mid(1).toLower() : part.toUpper());
    }
    add(asked);
    if (!script.isEmpty() && !region.isEmpty())
        add(language + underscore + script + underscore + region);
    if (!script.isEmpty())
        add(language + underscore + script);
    if (!region.isEmpty())
        add(language + underscore + region);
    add(language);
    return candidates;
}

} // namespace

class EmojiDataPrivate : public QSharedData
{
public:
    explicit EmojiDataPrivate(const QString &directory)
        : localeDirectory(directory)
    { }

    /** The name of the first table for @p locale: an installed one, or "en". */
    QString resolve(const QString &locale);
    /** The table of @p first and those it inherits from, nearest first. */
    Chain chain(const QString &first);
    /** The name of @p key in @p chain alone; for a skin-tone variant without one, its base's
     *  and tones' names joined. */
    static QString nameIn(const QString &key, const Chain &chain);
    static QStringList keywordsIn(const QString &key, const Chain &chain);
    QString name(const QString &key, const QString &locale);
    std::shared_ptr<const EmojiSearchIndex> index(const QString &resolved);

    const QString localeDirectory;

private:
    Table load(const QString &locale);

    QMutex mutex;
    QHash<QString, QString> resolvedLocales;
    QHash<QString, Table> tables;
    QHash<QString, Chain> chains;
    QHash<QString, std::shared_ptr<const EmojiSearchIndex>> indexes;
    QStringList installed;
    bool installedListed = false;
};

QString EmojiDataPrivate::resolve(const QString &locale)
{
    // The default locale may change between calls; the name it has now is what counts.
    const QString asked = locale.isEmpty() ? QLocale().name() : locale;
    QMutexLocker locker(&mutex);
    const auto known = resolvedLocales.constFind(asked);
    if (known != resolvedLocales.cend())
        return known.value();
    if (!installedListed) {
        installed = installedLocales(localeDirectory);
        installedListed = true;
    }
    QString found = QStringLiteral("en");
    const QStringList candidates = candidatesFor(asked);
    for (const QString &candidate : candidates) {
        if (candidate == QLatin1String("en") || installed.contains(candidate)) {
            found = candidate;
            break;
        }
    }
    resolvedLocales.insert(asked, found);
    return found;
}

Table EmojiDataPrivate::load(const QString &locale)
{
    if (locale == QLatin1String("en"))
        return englishTable();
    const auto it = tables.constFind(locale);
    if (it != tables.cend())
        return it.value();
    auto table = std::make_shared<LocaleTable>();
    Table loaded;
    if (loadLocale(localeDirectory, locale, table.get()))
        loaded = std::move(table);
    tables.insert(locale, loaded);
    return loaded;
}

Chain EmojiDataPrivate::chain(const QString &first)
{
    QMutexLocker locker(&mutex);
    const auto known = chains.constFind(first);
    if (known != chains.cend())
        return known.value();
    Chain chain;
    for (QString locale = first; chain.size() < maxChainLength;) {
        const Table table = load(locale);
        if (!table)
            break;
        chain.append(table);
        locale = table->parent;
        if (locale.isEmpty() || locale == QLatin1String("root"))
            break;
    }
    chains.insert(first, chain);
    return chain;
}

QString EmojiDataPrivate::nameIn(const QString &key, const Chain &chain)
{
    const auto explicitName = [&chain](const QString &k) {
        for (const Table &table : chain) {
            const auto it = table->names.constFind(k);
            if (it != table->names.cend())
                return it.value();
        }
        return QString();
    };
    const QString name = explicitName(key);
    if (!name.isEmpty() || !isToned(key) || chain.isEmpty())
        return name;
    const QString base = explicitName(untoned(key));
    QStringList tones = tonesOf(key);
    for (QString &tone : tones) {
        tone = explicitName(tone);
        if (tone.isEmpty())
            return QString();
    }
    if (base.isEmpty())
        return QString();
    return base + chain.first()->toneSeparator + tones.join(chain.first()->toneJoiner);
}

QStringList EmojiDataPrivate::keywordsIn(const QString &key, const Chain &chain)
{
    if (isToned(key)) {
        QStringList keywords = keywordsIn(untoned(key), chain);
        if (keywords.isEmpty())
            return keywords;
        for (const QString &tone : tonesOf(key)) {
            const QString toneName = nameIn(tone, chain);
            if (!toneName.isEmpty() && !keywords.contains(toneName))
                keywords.append(toneName);
        }
        return keywords;
    }
    for (const Table &table : chain) {
        if (table->keywords.contains(key))
            return table->keywordsOf(key);
    }
    return QStringList();
}

QString EmojiDataPrivate::name(const QString &key, const QString &locale)
{
    const QString resolved = resolve(locale);
    const Chain locales = chain(resolved);
    QString name = nameIn(key, locales);
    if (name.isEmpty() && !locales.contains(englishTable()))
        name = nameIn(key, Chain { englishTable() });
    return name;
}

std::shared_ptr<const EmojiSearchIndex> EmojiDataPrivate::index(const QString &resolved)
{
    {
        QMutexLocker locker(&mutex);
        const auto it = indexes.constFind(resolved);
        if (it != indexes.cend())
            return it.value();
    }
    const Sequences &sequences = Sequences::builtIn();
    const Chain locales = chain(resolved);
    const Chain english { englishTable() };
    QVector<EmojiSearchIndex::Item> items;
    items.reserve(sequences.emoji.size());
    for (int entry : sequences.emoji) {
        const QString key = keyOf(sequences.entries.at(entry).text);
        EmojiSearchIndex::Item item;
        item.variant = isToned(key);
        item.name = nameIn(key, locales);
        if (item.name.isEmpty())
            item.name = nameIn(key, english);
        // A variant's keywords are its base's: searching them would list every variant again.
        if (!item.variant) {
            item.keywords = keywordsIn(key, locales);
            if (item.keywords.isEmpty())
                item.keywords = keywordsIn(key, english);
        }
        items.append(item);
    }
    auto built = std::make_shared<const EmojiSearchIndex>(items);
    QMutexLocker locker(&mutex);
    return *indexes.insert(resolved, built);
}

namespace {

QExplicitlySharedDataPointer<EmojiDataPrivate> sharedData()
{
    static const QExplicitlySharedDataPointer<EmojiDataPrivate> shared(
        new EmojiDataPrivate(defaultLocaleDirectory()));
    return shared;
}

bool isRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

bool isHairStyle(char32_t c)
{
    return c >= 0x1F9B0 && c <= 0x1F9B3;
}

/** Whether one grapheme is an emoji: a sequence of emoji-test.txt, or one made of emoji
 *  characters only that shows one, such as a joined sequence newer than the tables. */
bool isEmojiGrapheme(const QString &grapheme)
{
    const Sequences &sequences = Sequences::builtIn();
    if (grapheme.contains(QChar(0xFE0E)))
        return false;
    const auto points = grapheme.toUcs4();
    const auto known = sequences.byKey.constFind(keyOf(grapheme));
    if (known != sequences.byKey.cend()) {
        if (sequences.entries.at(known.value()).status == Sequences::Status::Component)
            return false;
        const auto key = keyOf(grapheme).toUcs4();
        return key.size() > 1 || sequences.presentation.contains(key.first())
            || (points.size() == 2 && points.at(1) == 0xFE0F);
    }
    bool shown = false;
    for (int i = 0; i < points.size(); ++i) {
        const char32_t c = points.at(i);
        if (!sequences.pictographic.contains(c) && !sequences.component.contains(c))
            return false;
        const bool selected = i + 1 < points.size() && points.at(i + 1) == 0xFE0F;
        // Tones, hair styles and lone regional indicators show no emoji of their own; digits,
        // '#' and '*' do with U+FE0F.
        if (sequences.modifier.contains(c) || isHairStyle(c) || isRegionalIndicator(c))
            continue;
        if (sequences.component.contains(c))
            shown = shown || (sequences.emojiProperty.contains(c) && selected);
        else
            shown = shown || sequences.presentation.contains(c)
                || (sequences.emojiProperty.contains(c) && selected);
    }
    return shown;
}

} // namespace

EmojiData::EmojiData()
    : d(sharedData())
{ }

EmojiData::EmojiData(const QString &localeDirectory)
    : d(new EmojiDataPrivate(localeDirectory))
{ }

EmojiData::EmojiData(const EmojiData &other) = default;
EmojiData &EmojiData::operator=(const EmojiData &other) = default;
EmojiData::~EmojiData() = default;

QStringList EmojiData::sequences() const
{
    QStringList list;
    const Sequences &sequences = Sequences::builtIn();
    list.reserve(sequences.entries.size());
    for (const Sequences::Entry &entry : sequences.entries)
        list.append(entry.text);
    return list;
}

QStringList EmojiData::emoji() const
{
    QStringList list;
    const Sequences &sequences = Sequences::builtIn();
    list.reserve(sequences.emoji.size());
    for (int entry : sequences.emoji)
        list.append(sequences.entries.at(entry).text);
    return list;
}

EmojiData::Qualification EmojiData::qualification(const QString &sequence) const
{
    const Sequences &sequences = Sequences::builtIn();
    const auto it = sequences.byText.constFind(sequence);
    if (it == sequences.byText.cend())
        return NotEmoji;
    switch (sequences.entries.at(it.value()).status) {
    case Sequences::Status::Fully:
        return FullyQualified;
    case Sequences::Status::Minimally:
        return MinimallyQualified;
    case Sequences::Status::Unqualified:
        return Unqualified;
    case Sequences::Status::Component:
        return Component;
    }
    return NotEmoji;
}

QString EmojiData::fullyQualified(const QString &sequence) const
{
    const Sequences::Entry *entry = entryFor(sequence);
    return entry ? entry->text : QString();
}

QString EmojiData::group(const QString &sequence) const
{
    const Sequences::Entry *entry = entryFor(sequence);
    return entry ? Sequences::builtIn().groups.value(entry->group) : QString();
}

QString EmojiData::subgroup(const QString &sequence) const
{
    const Sequences::Entry *entry = entryFor(sequence);
    return entry ? Sequences::builtIn().subgroups.value(entry->subgroup) : QString();
}

QString EmojiData::emojiVersion(const QString &sequence) const
{
    const Sequences::Entry *entry = entryFor(sequence);
    return entry ? entry->version : QString();
}

QString EmojiData::emojiName(const QString &sequence, const QString &locale) const
{
    if (!entryFor(sequence))
        return QString();
    return d->name(keyOf(sequence), locale);
}

QStringList EmojiData::emojiKeywords(const QString &sequence, const QString &locale) const
{
    if (!entryFor(sequence))
        return QStringList();
    const QString key = keyOf(sequence);
    const Chain locales = d->chain(d->resolve(locale));
    QStringList keywords = EmojiDataPrivate::keywordsIn(key, locales);
    if (keywords.isEmpty() && !locales.contains(englishTable()))
        keywords = EmojiDataPrivate::keywordsIn(key, Chain { englishTable() });
    return keywords;
}

QStringList EmojiData::searchEmoji(const QString &query, const QString &locale, int limit) const
{
    const std::shared_ptr<const EmojiSearchIndex> index = d->index(d->resolve(locale));
    const Sequences &sequences = Sequences::builtIn();
    QStringList found;
    for (int item : index->search(query, limit))
        found.append(sequences.entries.at(sequences.emoji.at(item)).text);
    return found;
}

QStringList EmojiData::skinToneVariants(const QString &sequence) const
{
    const Sequences &sequences = Sequences::builtIn();
    const auto it = sequences.toneVariants.constFind(untoned(keyOf(sequence)));
    if (it == sequences.toneVariants.cend())
        return QStringList();
    QStringList variants;
    for (int entry : it.value())
        variants.append(sequences.entries.at(entry).text);
    return variants;
}

QHash<QString, QString> EmojiData::shortcodes(ShortcodeSet set) const
{
    return ShortcodeTable::builtIn(int(set)).sequenceOf;
}

QString EmojiData::sequenceForShortcode(const QString &shortcode, ShortcodeSet set) const
{
    QString name = shortcode;
    if (name.size() > 2 && name.startsWith(QLatin1Char(':')) && name.endsWith(QLatin1Char(':')))
        name = name.mid(1, name.size() - 2);
    return ShortcodeTable::builtIn(int(set)).sequenceOf.value(name);
}

QStringList EmojiData::shortcodesFor(const QString &sequence, ShortcodeSet set) const
{
    return ShortcodeTable::builtIn(int(set)).codesOf.value(keyOf(sequence));
}

bool EmojiData::isEmojiOnly(const QString &text, int *emojiCount) const
{
    int count = 0;
    int start = 0;
    for (int end : EmojiGraphemes::ends(text)) {
        const QString grapheme = text.mid(start, end - start);
        start = end;
        if (grapheme.trimmed().isEmpty())
            continue;
        if (!isEmojiGrapheme(grapheme)) {
            count = 0;
            break;
        }
        ++count;
    }
    if (emojiCount)
        *emojiCount = count;
    return count > 0;
}

bool EmojiData::isEmoji(const QString &grapheme) const
{
    return EmojiGraphemes::ends(grapheme).size() == 1 && isEmojiGrapheme(grapheme);
}

QStringList EmojiData::availableLocales() const
{
    QStringList locales = installedLocales(d->localeDirectory);
    locales.append(QStringLiteral("en"));
    locales.sort();
    locales.removeDuplicates();
    return locales;
}

QString EmojiData::resolvedLocale(const QString &locale) const
{
    return d->resolve(locale);
}

QString EmojiData::localeDirectory() const
{
    return d->localeDirectory;
}

QMap<QString, QString> EmojiData::dataVersions() const
{
    return builtInVersions();
}
