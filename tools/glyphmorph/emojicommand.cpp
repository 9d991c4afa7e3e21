// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph emoji: names, search and skin tones of Unicode emoji, and the versions of the data.
#include "tool.h"

#include <emojidata.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Tool {

namespace {

const QString langOption = QStringLiteral("lang");
const QString limitOption = QStringLiteral("limit");
const QString jsonOption = QStringLiteral("json");
constexpr int defaultLimit = 20;

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
            "Locales are CLDR's (de, pt_PT, zh_Hant, ...); a locale without a table of its own\n"
            "uses the nearest one, and names it lacks are English. Without --lang, the locale\n"
            "of the environment (LANG) is used. An unknown emoji exits with code 1.\n"
            "Environment: GLYPHMORPH_EMOJI_LOCALE_DIR names another directory of locale files."));
    QCommandLineParser &parser = commandLine.parser;
    parser.addOption(QCommandLineOption(langOption,
        QStringLiteral("Names and search in LOCALE (default: the environment's)."),
        QStringLiteral("LOCALE")));
    parser.addOption(QCommandLineOption(limitOption,
        QStringLiteral("search: at most N emoji, 0 for all (default: %1).").arg(defaultLimit),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(
        jsonOption, QStringLiteral("search: a JSON object with the results, for scripts.")));
    parser.addPositionalArgument(QStringLiteral("subcommand"),
        QStringLiteral("name, search, tones or info."),
        QStringLiteral("subcommand [arguments...]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return fail(QStringLiteral("emoji needs a subcommand: name, search, tones or info; "
                                   "'glyphmorph emoji --help' shows the usage"),
            UsageError);
    }
    const QString subcommand = positional.takeFirst();
    const bool search = subcommand == QLatin1String("search");
    if (!search && (parser.isSet(limitOption) || parser.isSet(jsonOption))) {
        return fail(QStringLiteral("--limit and --json apply to 'emoji search' only"), UsageError);
    }
    int limit = defaultLimit;
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
    return fail(QStringLiteral("unknown emoji subcommand '%1': name, search, tones or info")
                    .arg(subcommand),
        UsageError);
}

} // namespace Tool
