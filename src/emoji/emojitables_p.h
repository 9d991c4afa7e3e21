// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the generated emoji tables of data/emoji/ as the library reads them.
#ifndef GLYPHMORPH_EMOJITABLES_P_H
#define GLYPHMORPH_EMOJITABLES_P_H

#include "glyphmorph_export.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace EmojiTables {

/** @p sequence without U+FE0F: the key every table uses, whatever qualification text has. */
GLYPHMORPH_AUTOTEST_EXPORT QString keyOf(const QString &sequence);
/** @p key without skin-tone modifiers; @p key itself when it is nothing but tones. */
QString untoned(const QString &key);
/** The skin-tone modifiers of @p key, each once, in order. */
QStringList tonesOf(const QString &key);
/** Whether @p key has a skin-tone modifier and something else. */
GLYPHMORPH_AUTOTEST_EXPORT bool isToned(const QString &key);
inline bool isTone(char32_t c)
{
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

/** Every line of emoji-test.txt and the code point properties of emoji-data.txt. */
struct Sequences
{
    enum class Status : quint8
    {
        Fully,
        Minimally,
        Unqualified,
        Component
    };

    struct Entry
    {
        QString text;
        QString version;
        int group = 0;
        int subgroup = 0;
        int fullyQualified = 0; // index of the entry this one maps to; its own for f and c
        Status status = Status::Fully;
    };
    /** Ranges of code points that have an emoji property, sorted. */
    struct Property
    {
        QVector<QPair<char32_t, char32_t>> ranges;
        bool contains(char32_t c) const;
    };

    QString emojiVersion;
    QVector<Entry> entries;
    QStringList groups;
    QStringList subgroups;
    QHash<QString, int> byText;
    /** Key to its fully-qualified (or component) entry. */
    QHash<QString, int> byKey;
    /** The fully-qualified entries, components left out, in emoji-test.txt's order. */
    QVector<int> emoji;
    /** Untoned key to the five variants with one tone throughout, light to dark. */
    QHash<QString, QVector<int>> toneVariants;

    Property emojiProperty;
    Property presentation;
    Property modifier;
    Property modifierBase;
    Property component;
    Property pictographic;

    /** The tables built into the library, read on first use. */
    static const Sequences &builtIn();
};

/** The names and keywords of one locale, as far as it does not inherit them. */
struct LocaleTable
{
    QString locale;
    QString parent;
    /** Between a base name and its tones' names, and between the tones' names. */
    QString toneSeparator = QStringLiteral(": ");
    QString toneJoiner = QStringLiteral(", ");
    QHash<QString, QString> names;
    /** Each key's keywords as the file has them, separated by '|'. */
    QHash<QString, QString> keywords;

    /** Parses a table file's text; false when it is not one. */
    bool parse(const QByteArray &text);
    /** The keywords of @p key in this table alone. */
    QStringList keywordsOf(const QString &key) const;

    /** English, built into the library, read on first use. */
    static const LocaleTable &english();
};

/** One shortcode set: the names without colons, both ways. */
struct ShortcodeTable
{
    QHash<QString, QString> sequenceOf; // shortcode -> fully-qualified sequence
    QHash<QString, QStringList> codesOf; // key -> shortcodes, the preferred one first

    /** 0 GitHub, 1 Slack, 2 CLDR; read on first use. */
    static const ShortcodeTable &builtIn(int set);
};

/** The sources of the built-in tables and their versions ("unicode-emoji" 15.0, "cldr" 41, …). */
QMap<QString, QString> builtInVersions();

/** Where installed locale tables are found: $GLYPHMORPH_EMOJI_LOCALE_DIR when set; else the
 *  build tree's, for the library in its build tree; else the one installed with the library. */
GLYPHMORPH_AUTOTEST_EXPORT QString defaultLocaleDirectory();

/** The compressed table file of @p locale in @p directory, read and unpacked; false when it is
 *  missing, not a regular file, too large or not a table. */
bool loadLocale(const QString &directory, const QString &locale, LocaleTable *table);

/** The locale names of the table files in @p directory, sorted. */
QStringList installedLocales(const QString &directory);

} // namespace EmojiTables

#endif
