// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph emoji: names, search and skin tones of Unicode emoji, the versions of the data,
// shortcode completion, and the user's default skin tone and recent emoji.
#include "tool.h"

#include <emojicompletionmodel.h>
#include <emojidata.h>
#include <emojipreferences.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Tool {

namespace {

const QString langOption = QStringLiteral("lang");
const QString limitOption = QStringLiteral("limit");
const QString jsonOption = QStringLiteral("json");
const QString presetOption = QStringLiteral("preset");
const QString clearOption = QStringLiteral("clear");
constexpr int defaultLimit = 20;

const char *const toneNames[] = { "none", "light skin tone", "medium-light skin tone",
    "medium skin tone", "medium-dark skin tone", "dark skin tone" };

/** @p argument as an emoji: the sequence itself, or a GitHub shortcode (":thumbsup:"). */
QString emojiArgument(const EmojiData &data, const QString &argument)
{
    const QString sequence = data.fullyQualified(argument);
    return sequence.isEmpty() ? data.sequenceForShortcode(argument) : sequence;
}

int notEmoji(const QString &argument)
{
    return fail(
        QStringLiteral("'%1' is not an emoji sequence of Unicode emoji %2 nor a GitHub "
                       "shortcode; 'glyphmorph emoji search WORD' finds emoji by name")
            .arg(argument, EmojiData().dataVersions().value(QStringLiteral("unicode-emoji"))));
}

int runName(const EmojiData &data, const QStringList &arguments, const QString &locale)
{
    if (arguments.size() != 1)
        return fail(QStringLiteral("emoji name needs exactly one emoji"), UsageError);
    const QString sequence = emojiArgument(data, arguments.first());
    if (sequence.isEmpty())
        return notEmoji(arguments.first());
    out(data.emojiName(sequence, locale) + QLatin1Char('\n'));
    return Success;
}

int runTones(const EmojiData &data, const QStringList &arguments, const QString &locale)
{
    if (arguments.size() != 1)
        return fail(QStringLiteral("emoji tones needs exactly one emoji"), UsageError);
    const QString sequence = emojiArgument(data, arguments.first());
    if (sequence.isEmpty())
        return notEmoji(arguments.first());
    const QStringList variants = data.skinToneVariants(sequence);
    if (variants.isEmpty()) {
        return fail(QStringLiteral("%1 (%2) has no skin-tone variants")
                        .arg(sequence, data.emojiName(sequence, locale)));
    }
    QString text;
    for (const QString &variant : variants)
        text += variant + QLatin1Char('\t') + data.emojiName(variant, locale) + QLatin1Char('\n');
    out(text);
    return Success;
}

int runSearch(const EmojiData &data, const QStringList &arguments, const QString &locale, int limit,
    bool json)
{
    const QString query = arguments.join(QLatin1Char(' ')).simplified();
    if (query.isEmpty())
        return fail(QStringLiteral("emoji search needs a word to look for"), UsageError);
    const QStringList found = data.searchEmoji(query, locale, limit);
    if (json) {
        QJsonArray list;
        for (const QString &sequence : found) {
            list.append(QJsonObject {
                { QStringLiteral("emoji"), sequence },
                { QStringLiteral("name"), data.emojiName(sequence, locale) },
                { QStringLiteral("shortcodes"),
                    QJsonArray::fromStringList(data.shortcodesFor(sequence)) },
                { QStringLiteral("group"), data.group(sequence) },
                { QStringLiteral("subgroup"), data.subgroup(sequence) },
            });
        }
        const QJsonObject document {
            { QStringLiteral("query"), query },
            { QStringLiteral("locale"), data.resolvedLocale(locale) },
            { QStringLiteral("results"), list },
        };
        out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
        return Success;
    }
    QString text;
    for (const QString &sequence : found)
        text += sequence + QLatin1Char('\t') + data.emojiName(sequence, locale) + QLatin1Char('\n');
    out(text);
    if (found.isEmpty())
        err(QStringLiteral("no emoji matches '%1' in locale %2")
                .arg(query, data.resolvedLocale(locale)));
    return Success;
}

int runComplete(const EmojiData &data, const QStringList &arguments, const QString &locale,
    const QString &preset, int limit, bool json)
{
    if (arguments.size() != 1)
        return fail(
            QStringLiteral("emoji complete needs exactly one shortcode prefix"), UsageError);
    EmojiCompletionModel model;
    if (!preset.isEmpty()) {
        const QStringList presets
            = { QStringLiteral("github"), QStringLiteral("slack"), QStringLiteral("cldr") };
        const int set = presets.indexOf(preset.toLower());
        if (set < 0) {
            return fail(QStringLiteral("--preset is github, slack or cldr, not '%1'").arg(preset),
                UsageError);
        }
        model.setShortcodeSet(EmojiData::ShortcodeSet(set));
    }
    model.setLocale(locale);
    model.setLimit(limit);
    model.setQuery(arguments.first());
    const QString query = model.query();
    if (json) {
        QJsonArray list;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex index = model.index(row);
            list.append(QJsonObject {
                { QStringLiteral("emoji"), index.data(EmojiCompletionModel::EmojiRole).toString() },
                { QStringLiteral("shortcode"),
                    index.data(EmojiCompletionModel::ShortcodeRole).toString() },
                { QStringLiteral("name"), index.data(EmojiCompletionModel::NameRole).toString() },
            });
        }
        const char *const sets[] = { "github", "slack", "cldr" };
        const QJsonObject document {
            { QStringLiteral("query"), query },
            { QStringLiteral("preset"), QLatin1String(sets[model.shortcodeSet()]) },
            { QStringLiteral("locale"), data.resolvedLocale(locale) },
            { QStringLiteral("results"), list },
        };
        out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    } else {
        QString text;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex index = model.index(row);
            text += index.data(EmojiCompletionModel::EmojiRole).toString() + QLatin1String("\t:")
                + index.data(EmojiCompletionModel::ShortcodeRole).toString() + QLatin1String(":\t")
                + index.data(EmojiCompletionModel::NameRole).toString() + QLatin1Char('\n');
        }
        out(text);
    }
    if (query.size() < EmojiCompletionModel::minimumQueryLength) {
        err(QStringLiteral("completion starts at %1 characters")
                .arg(EmojiCompletionModel::minimumQueryLength));
    } else if (model.rowCount() == 0) {
        err(QStringLiteral("no shortcode contains '%1'").arg(printable(query)));
    }
    return Success;
}

int runTone(const QStringList &arguments)
{
    if (arguments.size() > 1)
        return fail(QStringLiteral("emoji tone takes at most one tone, 0 to 5"), UsageError);
    EmojiPreferences preferences;
    if (arguments.size() == 1) {
        bool ok = false;
        const int tone = arguments.first().toInt(&ok);
        if (!ok || tone < 0 || tone > 5) {
            return fail(QStringLiteral("the skin tone is a number from 0 (none) to 5 (dark), "
                                       "not '%1'")
                            .arg(printable(arguments.first())),
                UsageError);
        }
        if (!preferences.setSkinTone(tone))
            return fail(QStringLiteral("cannot store the skin tone in the settings"));
    }
    const int tone = preferences.skinTone();
    out(QStringLiteral("%1\t%2\t%3\n")
            .arg(tone)
            .arg(QLatin1String(toneNames[tone]),
                EmojiPreferences::withSkinTone(QStringLiteral("\U0001F44D"), tone)));
    return Success;
}

int runRecent(
    const EmojiData &data, const QStringList &arguments, const QString &locale, bool clear)
{
    if (!arguments.isEmpty())
        return fail(QStringLiteral("emoji recent takes no arguments"), UsageError);
    EmojiPreferences preferences;
    if (clear) {
        if (!preferences.clearRecentEmoji())
            return fail(QStringLiteral("cannot clear the recent emoji in the settings"));
        return Success;
    }
    const QStringList recent = preferences.recentEmoji();
    QString text;
    for (const QString &emoji : recent)
        text += emoji + QLatin1Char('\t') + data.emojiName(emoji, locale) + QLatin1Char('\n');
    out(text);
    if (recent.isEmpty())
        err(QStringLiteral("no emoji used yet"));
    return Success;
}

int runInfo(const EmojiData &data, const QStringList &arguments)
{
    if (!arguments.isEmpty())
        return fail(QStringLiteral("emoji info takes no arguments"), UsageError);
    const QMap<QString, QString> versions = data.dataVersions();
    int counts[5] = {};
    const QStringList sequences = data.sequences();
    for (const QString &sequence : sequences)
        ++counts[data.qualification(sequence)];
    const QStringList locales = data.availableLocales();
    QString text
        = QStringLiteral("Unicode emoji: %1\nCLDR: %2\ngemoji: %3\nemoji-datasource: %4\n")
              .arg(versions.value(QStringLiteral("unicode-emoji")),
                  versions.value(QStringLiteral("cldr")), versions.value(QStringLiteral("gemoji")),
                  versions.value(QStringLiteral("emoji-datasource")));
    text += QStringLiteral("sequences: %1 (%2 fully-qualified, %3 minimally qualified, "
                           "%4 unqualified, %5 components)\n")
                .arg(sequences.size())
                .arg(counts[EmojiData::FullyQualified])
                .arg(counts[EmojiData::MinimallyQualified])
                .arg(counts[EmojiData::Unqualified])
                .arg(counts[EmojiData::Component]);
    text += QStringLiteral("locales: %1 (en built in; the others in %2)\n")
                .arg(locales.size())
                .arg(data.localeDirectory());
    out(text);
    if (locales.size() == 1)
        err(QStringLiteral("no locale files found in %1: names are English only")
                .arg(data.localeDirectory()));
    return Success;
}

} // namespace

int runEmoji(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("emoji"),
        QStringLiteral(
            "Unicode emoji: names, search and skin tones in English and 100+ other locales.\n"
            "  name EMOJI        the emoji's name (EMOJI may also be a GitHub shortcode)\n"
            "  search WORDS...   emoji whose name or keywords contain WORDS, best first: names\n"
            "                    before keywords, whole words and prefixes before the rest;\n"
            "                    case and accents do not matter\n"
            "  tones EMOJI       the five skin-tone variants and their names\n"
            "  info              the Unicode emoji and CLDR versions of the data, and the locales\n"
            "  complete PREFIX   emoji whose shortcodes begin with PREFIX (the text after ':',\n"
            "                    2 characters or more), then those that contain it; recently\n"
            "                    used emoji first, with the default skin tone\n"
            "  tone [0-5]        shows or sets the default skin tone: 0 none, 1 light to 5 dark\n"
            "  recent            the recently used emoji, most used first (--clear forgets them)\n"
            "Locales are CLDR's (de, pt_PT, zh_Hant, ...); a locale without a table of its own\n"
            "uses the nearest one, and names it lacks are English. Without --lang, the locale\n"
            "of the environment (LANG) is used. An unknown emoji exits with code 1.\n"
            "Environment: GLYPHMORPH_EMOJI_LOCALE_DIR names another directory of locale files."));
    QCommandLineParser &parser = commandLine.parser;
    parser.addOption(QCommandLineOption(langOption,
        QStringLiteral("Names and search in LOCALE (default: the environment's)."),
        QStringLiteral("LOCALE")));
    parser.addOption(QCommandLineOption(limitOption,
        QStringLiteral("search, complete: at most N emoji, 0 for all (default: %1 for search, "
                       "%2 for complete).")
            .arg(defaultLimit)
            .arg(EmojiCompletionModel::defaultLimit),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(jsonOption,
        QStringLiteral("search, complete: a JSON object with the results, for scripts.")));
    parser.addOption(QCommandLineOption(presetOption,
        QStringLiteral("complete: the shortcodes of github, slack or cldr (default: the "
                       "user's choice for the Emoji theme, else github)."),
        QStringLiteral("SET")));
    parser.addOption(
        QCommandLineOption(clearOption, QStringLiteral("recent: forget the recent emoji.")));
    parser.addPositionalArgument(QStringLiteral("subcommand"),
        QStringLiteral("name, search, tones, info, complete, tone or recent."),
        QStringLiteral("subcommand [arguments...]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return fail(QStringLiteral("emoji needs a subcommand: name, search, tones, info, complete, "
                                   "tone or recent; 'glyphmorph emoji --help' shows the usage"),
            UsageError);
    }
    const QString subcommand = positional.takeFirst();
    const bool search = subcommand == QLatin1String("search");
    const bool complete = subcommand == QLatin1String("complete");
    if (!search && !complete && (parser.isSet(limitOption) || parser.isSet(jsonOption))) {
        return fail(QStringLiteral("--limit and --json apply to 'emoji search' and 'emoji "
                                   "complete' only"),
            UsageError);
    }
    if (!complete && parser.isSet(presetOption))
        return fail(QStringLiteral("--preset applies to 'emoji complete' only"), UsageError);
    if (subcommand != QLatin1String("recent") && parser.isSet(clearOption))
        return fail(QStringLiteral("--clear applies to 'emoji recent' only"), UsageError);
    int limit = complete ? EmojiCompletionModel::defaultLimit : defaultLimit;
    if (parser.isSet(limitOption)) {
        bool ok = false;
        limit = parser.value(limitOption).toInt(&ok);
        if (!ok || limit < 0) {
            return fail(QStringLiteral("--limit needs a number of 0 or more, not '%1'")
                            .arg(parser.value(limitOption)),
                UsageError);
        }
    }
    const QString locale = parser.value(langOption);
    if (parser.isSet(langOption) && locale.trimmed().isEmpty())
        return fail(QStringLiteral("--lang needs a locale name such as de or pt_PT"), UsageError);

    const EmojiData data;
    const QString resolved = data.resolvedLocale(locale);
    if (parser.isSet(langOption) && resolved == QLatin1String("en")
        && !locale.startsWith(QLatin1String("en"), Qt::CaseInsensitive)) {
        err(QStringLiteral("no emoji names for locale '%1' in %2: English is used")
                .arg(locale, data.localeDirectory()));
    }
    if (subcommand == QLatin1String("name"))
        return runName(data, positional, locale);
    if (search)
        return runSearch(data, positional, locale, limit, parser.isSet(jsonOption));
    if (subcommand == QLatin1String("tones"))
        return runTones(data, positional, locale);
    if (subcommand == QLatin1String("info"))
        return runInfo(data, positional);
    if (complete) {
        return runComplete(
            data, positional, locale, parser.value(presetOption), limit, parser.isSet(jsonOption));
    }
    if (subcommand == QLatin1String("tone"))
        return runTone(positional);
    if (subcommand == QLatin1String("recent"))
        return runRecent(data, positional, locale, parser.isSet(clearOption));
    return fail(QStringLiteral("unknown emoji subcommand '%1': name, search, tones, info, "
                               "complete, tone or recent")
                    .arg(subcommand),
        UsageError);
}

} // namespace Tool
