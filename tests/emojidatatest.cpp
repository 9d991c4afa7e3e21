// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Unicode emoji data: sequences, names in many locales, search, skin tones, shortcodes and
// emoji-only text, against the tables built into the library and the locale files of the build.
#include "testenvironment.h"

#include <emojidata.h>
#include <emojigraphemes_p.h>
#include <emojisearchindex_p.h>
#include <emojitables_p.h>

#include <QTemporaryDir>

#include <thread>

using namespace GlyphmorphTest;

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// @p pattern with each skin tone in turn for "%1".
QStringList toned(const char *pattern)
{
    QStringList variants;
    for (char last = '\xbb'; last != '\xc0'; ++last)
        variants << u(pattern).arg(QString::fromUtf8(QByteArray("\xf0\x9f\x8f") + last));
    return variants;
}

/** Writes a locale file as the build packs them. */
bool writeLocale(const QString &directory, const QString &name, const QByteArray &text)
{
    return writeBytes(directory + QLatin1Char('/') + name + QStringLiteral(".qz"), qCompress(text));
}

} // namespace

class EmojiDataTest : public QObject
{
    Q_OBJECT

    EmojiData m_data;

private Q_SLOTS:
    // Each line of emoji-test.txt is one emoji, except a single code point that is text by default
    // written without FE0F, and a component alone.
    void sequencesAreEveryLineOfEmojiTest()
    {
        const QStringList sequences = m_data.sequences();
        QCOMPARE(sequences.size(), 4733);
        int counts[5] = {};
        for (const QString &sequence : sequences) {
            const EmojiData::Qualification qualification = m_data.qualification(sequence);
            ++counts[qualification];
            // Each line maps to a fully-qualified one that differs from it in U+FE0F only.
            const QString full = m_data.fullyQualified(sequence);
            QVERIFY2(!full.isEmpty(), qPrintable(sequence));
            QCOMPARE(EmojiTables::keyOf(full), EmojiTables::keyOf(sequence));
            QVERIFY(m_data.qualification(full) == EmojiData::FullyQualified
                || (qualification == EmojiData::Component && full == sequence));
            QVERIFY(!m_data.group(sequence).isEmpty());
            const bool textByDefault
                = qualification == EmojiData::Unqualified && sequence.toUcs4().size() == 1;
            const bool expected = qualification != EmojiData::Component && !textByDefault;
            int count = -1;
            QVERIFY2(m_data.isEmojiOnly(sequence, &count) == expected, qPrintable(sequence));
            QCOMPARE(count, expected ? 1 : 0);
            QCOMPARE(m_data.isEmoji(sequence), expected);
            if (qualification != EmojiData::Component) {
                QVERIFY(m_data.isEmojiOnly(full + u(" ") + full, &count));
                QCOMPARE(count, 2);
            }
        }
        QCOMPARE(counts[EmojiData::FullyQualified], 3655);
        QCOMPARE(counts[EmojiData::MinimallyQualified], 827);
        QCOMPARE(counts[EmojiData::Unqualified], 242);
        QCOMPARE(counts[EmojiData::Component], 9);
        QCOMPARE(m_data.emoji().size(), 3655);
        QCOMPARE(m_data.qualification(u("x")), EmojiData::NotEmoji);
        QCOMPARE(m_data.group(u("👍")), u("People & Body"));
        QCOMPARE(m_data.subgroup(u("👍")), u("hand-fingers-closed"));
        QCOMPARE(m_data.emojiVersion(u("🫨")), u("15.0"));
        const QMap<QString, QString> versions = m_data.dataVersions();
        QCOMPARE(versions.value(u("unicode-emoji")), u("15.0"));
        QCOMPARE(versions.value(u("cldr")), u("41"));
        QVERIFY(!versions.value(u("gemoji")).isEmpty());
        QVERIFY(!versions.value(u("emoji-datasource")).isEmpty());
    }

    void qualificationIgnoresFe0fOnlyForLookups_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("qualification");
        QTest::addColumn<QString>("fullyQualified");
        QTest::newRow("heart, unqualified") << u("❤") << int(EmojiData::Unqualified) << u("❤️");
        QTest::newRow("heart, fully")
            << u("❤️") << int(EmojiData::FullyQualified) << u("❤️");
        QTest::newRow("eye in speech bubble, unqualified")
            << u("👁‍🗨") << int(EmojiData::Unqualified) << u("👁️‍🗨️");
        QTest::newRow("eye in speech bubble, minimally")
            << u("👁️‍🗨") << int(EmojiData::MinimallyQualified) << u("👁️‍🗨️");
        QTest::newRow("keycap without FE0F")
            << u("#⃣") << int(EmojiData::Unqualified) << u("#️⃣");
        QTest::newRow("skin tone alone") << u("🏽") << int(EmojiData::Component) << u("🏽");
        QTest::newRow("FE0F where no line has one")
            << u("😀\xef\xb8\x8f") << int(EmojiData::NotEmoji) << u("😀");
    }
    void qualificationIgnoresFe0fOnlyForLookups()
    {
        QFETCH(QString, written);
        QFETCH(int, qualification);
        QFETCH(QString, fullyQualified);
        QCOMPARE(int(m_data.qualification(written)), qualification);
        QCOMPARE(m_data.fullyQualified(written), fullyQualified);
        QCOMPARE(m_data.emojiName(written), m_data.emojiName(fullyQualified));
    }

    void names_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name");
        QTest::newRow("en") << u("👍") << u("en") << u("thumbs up");
        QTest::newRow("de") << u("👍") << u("de") << u("Daumen hoch");
        QTest::newRow("none: the default locale's") << u("👍") << QString() << u("Daumen hoch");
        QTest::newRow("fr, unqualified heart") << u("❤") << u("fr") << u("cœur rouge");
        QTest::newRow("de-DE as a tag") << u("👍") << u("de-DE") << u("Daumen hoch");
        QTest::newRow("de_AT reads de") << u("👍") << u("de_AT") << u("Daumen hoch");
        QTest::newRow("POSIX name") << u("👍") << u("de_DE.UTF-8@euro") << u("Daumen hoch");
        QTest::newRow("zh_TW is Traditional Han") << u("👍") << u("zh_TW") << u("讚");
        QTest::newRow("zh_CN is Simplified Han") << u("👍") << u("zh_CN") << u("拇指向上");
        QTest::newRow("sr is Cyrillic") << u("❤️") << u("sr") << u("црвено срце");
        QTest::newRow("sr_Latn") << u("❤️") << u("sr_Latn") << u("crveno srce");
        QTest::newRow("en_GB inherits en") << u("👍") << u("en_GB") << u("thumbs up");
        QTest::newRow("variant named from base and tone")
            << u("👍🏽") << u("de") << u("Daumen hoch: mittlere Hautfarbe");
        QTest::newRow("variant with a name of its own")
            << u("👨🏻‍🦰") << u("en") << u("man: light skin tone, red hair");
        QTest::newRow("two tones") << u("🧑🏻‍🤝‍🧑🏿") << u("en")
                                   << u("people holding hands: light skin tone, dark skin tone");
        QTest::newRow("newer than CLDR: English") << u("🫨") << u("de") << u("shaking face");
        QTest::newRow("unknown locale: English") << u("👍") << u("xx") << u("thumbs up");
        QTest::newRow("C locale: English") << u("👍") << u("C") << u("thumbs up");
        QTest::newRow("component") << u("🏽") << u("de") << u("mittlere Hautfarbe");
        QTest::newRow("not an emoji") << u("a") << u("en") << QString();
        QTest::newRow("unknown sequence") << u("👨‍🦰‍🦰") << u("en") << QString();
    }
    void names()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, locale);
        QFETCH(QString, name);
        // Also tells the default locale's names from English ones where the locale is unknown.
        const QLocale before;
        QLocale::setDefault(QLocale(QStringLiteral("de_CH")));
        const QString found = m_data.emojiName(sequence, locale);
        QLocale::setDefault(before);
        QCOMPARE(found, name);
    }

    void keywords()
    {
        QVERIFY(m_data.emojiKeywords(u("👍"), u("de")).contains(u("nach oben")));
        // A variant's keywords are its base's and its tone's name.
        const QStringList toned = m_data.emojiKeywords(u("👍🏿"), u("de"));
        QVERIFY(toned.contains(u("nach oben")));
        QVERIFY(toned.contains(u("dunkle Hautfarbe")));
        // A locale without keywords of its own has English ones.
        QVERIFY(m_data.emojiKeywords(u("👍"), u("ceb")).contains(u("+1")));
        QVERIFY(m_data.searchEmoji(u("+1"), u("ceb")).contains(u("👍")));
    }

    // Every installed locale loads, and almost all name 👍 themselves. For a spread of emoji,
    // neither picked by hand: an emoji's name finds it among the exact matches, and each of its
    // keywords finds it.
    void everyLocaleNamesAndFindsEmoji()
    {
        const QStringList locales = m_data.availableLocales();
        QVERIFY2(locales.size() >= 100, qPrintable(QString::number(locales.size())));
        const QStringList emoji = m_data.emoji();
        int ownNames = 0;
        for (const QString &locale : locales) {
            QCOMPARE(m_data.resolvedLocale(locale), locale);
            const QString thumbsUp = m_data.emojiName(u("👍"), locale);
            QVERIFY2(!thumbsUp.isEmpty(), qPrintable(locale));
            ownNames += thumbsUp != u("thumbs up");
            for (int i = locale.size(); i < emoji.size(); i += 211) {
                const QString name = m_data.emojiName(emoji.at(i), locale);
                const QStringList byName = m_data.searchEmoji(name, locale);
                QVERIFY2(byName.contains(emoji.at(i)), qPrintable(locale + u(": ") + name));
                QCOMPARE(EmojiSearchIndex::fold(m_data.emojiName(byName.first(), locale)),
                    EmojiSearchIndex::fold(name));
                if (EmojiTables::isToned(EmojiTables::keyOf(emoji.at(i))))
                    continue;
                const QStringList keywords = m_data.emojiKeywords(emoji.at(i), locale);
                QVERIFY2(!keywords.isEmpty(), qPrintable(locale + u(": ") + name));
                for (const QString &keyword : { keywords.first(), keywords.last() }) {
                    QVERIFY2(m_data.searchEmoji(keyword, locale).contains(emoji.at(i)),
                        qPrintable(locale + u(": ") + keyword));
                }
            }
        }
        QVERIFY2(ownNames >= 100, qPrintable(QString::number(ownNames)));
    }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("first");
        QTest::newRow("de case and umlaut folded")
            << u("DÄUMEN") << u("de") << QStringList { u("👍"), u("👎") };
        QTest::newRow("de umlaut missing from the query")
            << u("hande die herz") << u("de") << QStringList { u("🫶") };
        QTest::newRow("es accent missing from the query")
            << u("corazon rojo") << u("es") << QStringList { u("❤️") };
        QTest::newRow("whole name first") << u("cat") << u("en") << QStringList { u("🐈") };
        QTest::newRow("shorter prefix match first")
            << u("heart") << u("en") << QStringList { u("♥️"), u("🫶") };
        QTest::newRow("variants after their rank's others")
            << u("thumbs") << u("en") << QStringList { u("👍"), u("👎"), u("👍🏻") };
        QTest::newRow("words in another order")
            << u("heart eyes cat") << u("en") << QStringList { u("😻") };
        QTest::newRow("straight apostrophe for a curly one")
            << u("man's shoe") << u("en") << QStringList { u("👞") };
        QTest::newRow("flag by country") << u("germany") << u("en") << QStringList { u("🇩🇪") };
        QTest::newRow("ja") << u("サムズ") << u("ja") << QStringList { u("👍") };
        QTest::newRow("no match") << u("qqqzzz") << u("en") << QStringList();
        QTest::newRow("blank") << u("  ") << u("en") << QStringList();
    }
    void search()
    {
        QFETCH(QString, query);
        QFETCH(QString, locale);
        QFETCH(QStringList, first);
        QCOMPARE(m_data.searchEmoji(query, locale).mid(0, first.size()), first);
        QCOMPARE(m_data.searchEmoji(query, locale, first.size()), first);
    }

    // Names before keywords, and whole names and prefixes before substrings, for queries that
    // match many emoji in many ways.
    void searchRanksNamesThenKeywordsAndPrefixesFirst_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("locale");
        QTest::newRow("en heart") << u("heart") << u("en");
        QTest::newRow("en man") << u("man") << u("en");
        QTest::newRow("de herz") << u("herz") << u("de");
        QTest::newRow("fr main") << u("main") << u("fr");
        QTest::newRow("ru single letter") << u("с") << u("ru");
    }
    void searchRanksNamesThenKeywordsAndPrefixesFirst()
    {
        QFETCH(QString, query);
        QFETCH(QString, locale);
        const QString folded = EmojiSearchIndex::fold(query);
        const QStringList found = m_data.searchEmoji(query, locale);
        QVERIFY(found.size() > 10);
        int previous = 0;
        for (const QString &emoji : found) {
            const QString name = EmojiSearchIndex::fold(m_data.emojiName(emoji, locale));
            // 0 prefix, 1 elsewhere in the name, 2 in a keyword only.
            const int rank = name.startsWith(folded) ? 0 : name.contains(folded) ? 1 : 2;
            QVERIFY2(rank >= previous, qPrintable(emoji + u(" ") + name));
            previous = rank;
        }
    }

    void fold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("umlaut and case") << u("DÄUMEN") << u("daumen");
        QTest::newRow("cedilla and acute") << u("Ça été") << u("ca ete");
        QTest::newRow("precomposed and combining alike") << u("e\xcc\x81") << u("e");
        QTest::newRow("Greek tonos") << u("Καρδιά") << u("καρδια");
        QTest::newRow("curly quotes") << u("man’s “x”") << u("man's \"x\"");
        QTest::newRow("white space of every kind")
            << u(" poignée\xe2\x80\xaf:\tpeau ") << u("poignee : peau");
        QTest::newRow("Devanagari vowel sign kept") << u("दिल") << u("दिल");
    }
    void fold()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(EmojiSearchIndex::fold(text), folded);
    }

    void skinTones_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QStringList>("variants");
        QTest::newRow("thumbs up") << u("👍") << toned("👍%1");
        QTest::newRow("from a variant") << u("👍🏾") << toned("👍%1");
        QTest::newRow("text-default base, FE0F dropped") << u("☝️") << toned("☝%1");
        QTest::newRow("joined, FE0F dropped after the base")
            << u("🕵️‍♀️") << toned("🕵%1‍♀️");
        QTest::newRow("two people, one tone")
            << u("🧑‍🤝‍🧑") << toned("🧑%1‍🤝‍🧑%1");
        QTest::newRow("kiss") << u("💏") << toned("💏%1");
        QTest::newRow("no tones") << u("😀") << QStringList();
        QTest::newRow("tone alone") << u("🏽") << QStringList();
        QTest::newRow("not an emoji") << u("x") << QStringList();
    }
    void skinTones()
    {
        QFETCH(QString, sequence);
        QFETCH(QStringList, variants);
        QCOMPARE(m_data.skinToneVariants(sequence), variants);
    }

    void isEmojiOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("two flags") << u("🇩🇪🇫🇷") << 2;
        QTest::newRow("flag after an emoji") << u("👍🇩🇪") << 2;
        QTest::newRow("odd regional indicator after flags") << u("🇩🇪🇫🇷🇮") << 0;
        QTest::newRow("keycaps unqualified and full") << u("#⃣ *️⃣") << 2;
        QTest::newRow("toned and plain") << u("👍🏽👍") << 2;
        QTest::newRow("white space around") << u("  😀 \n😀\t") << 2;
        QTest::newRow("copyright and a year") << u("© 2026") << 0;
        QTest::newRow("heart with text presentation") << u("❤\xef\xb8\x8e") << 0;
        QTest::newRow("digit") << u("1") << 0;
        QTest::newRow("digit with FE0F") << u("1️") << 1;
        QTest::newRow("regional indicator alone") << u("🇩") << 0;
        QTest::newRow("joiner alone") << u("\xe2\x80\x8d") << 0;
        QTest::newRow("joined sequence no table has") << u("👨‍🦰‍🦰") << 1;
        QTest::newRow("text after") << u("😀 ok") << 0;
        QTest::newRow("letter joined to an emoji") << u("a\xe2\x80\x8d😀") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("white space") << u(" \n ") << 0;
    }
    void isEmojiOnly()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        int counted = -1;
        QCOMPARE(m_data.isEmojiOnly(text, &counted), count > 0);
        QCOMPARE(counted, count);
        // One grapheme alone, without white space, is an emoji by the same rule.
        if (EmojiGraphemes::ends(text).size() == 1 && text.trimmed() == text)
            QCOMPARE(m_data.isEmoji(text), count == 1);
        else
            QVERIFY(!m_data.isEmoji(text));
    }

    void graphemeEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<int>>("ends");
        QTest::newRow("flag after an emoji") << u("👍🇩🇪") << QVector<int> { 2, 6 };
        QTest::newRow("flags after a letter") << u("a🇩🇪🇫🇷") << QVector<int> { 1, 5, 9 };
        QTest::newRow("odd indicator") << u("👦🇩🇪🇫🇷🇮") << QVector<int> { 2, 6, 10, 12 };
        QTest::newRow("flag with a tone after it") << u("🇩🇪🏽") << QVector<int> { 6 };
        QTest::newRow("family") << u("👨‍👩‍👧‍👦x") << QVector<int> { 11, 12 };
        QTest::newRow("empty") << QString() << QVector<int>();
    }
    void graphemeEnds()
    {
        QFETCH(QString, text);
        QFETCH(QVector<int>, ends);
        QCOMPARE(EmojiGraphemes::ends(text), ends);
    }

    void shortcodes_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<QString>("shortcode");
        QTest::addColumn<QString>("sequence");
        const int github = EmojiData::GitHubShortcodes;
        const int slack = EmojiData::SlackShortcodes;
        const int cldr = EmojiData::CldrShortcodes;
        QTest::newRow("github thumbsup") << github << u("thumbsup") << u("👍");
        QTest::newRow("github +1 with colons") << github << u(":+1:") << u("👍");
        QTest::newRow("github heart") << github << u("heart") << u("❤️");
        QTest::newRow("github umbrella") << github << u(":umbrella:") << u("☔");
        QTest::newRow("slack umbrella") << slack << u(":umbrella:") << u("☂️");
        QTest::newRow("cldr umbrella") << cldr << u(":umbrella:") << u("☂️");
        QTest::newRow("cldr umbrella with rain drops")
            << cldr << u("umbrella_with_rain_drops") << u("☔");
        QTest::newRow("slack +1") << slack << u("+1") << u("👍");
        QTest::newRow("cldr thumbs_up") << cldr << u(":thumbs_up:") << u("👍");
        QTest::newRow("cldr keycap") << cldr << u("keycap_hash") << u("#️⃣");
        QTest::newRow("cldr flag") << cldr << u("flag_cote_divoire") << u("🇨🇮");
        QTest::newRow("cldr variant") << cldr << u("thumbs_up_medium_skin_tone") << u("👍🏽");
        QTest::newRow("github thumbs_up is cldr's") << github << u("thumbs_up") << QString();
        QTest::newRow("one colon") << github << u(":smile") << QString();
    }
    void shortcodes()
    {
        QFETCH(int, set);
        QFETCH(QString, shortcode);
        QFETCH(QString, sequence);
        const auto shortcodeSet = EmojiData::ShortcodeSet(set);
        QCOMPARE(m_data.sequenceForShortcode(shortcode, shortcodeSet), sequence);
        if (!sequence.isEmpty()) {
            QString bare = shortcode;
            bare.remove(QLatin1Char(':'));
            QVERIFY(m_data.shortcodesFor(sequence, shortcodeSet).contains(bare));
        }
    }

    void shortcodeSetsAreConsistent_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("minimum");
        QTest::newRow("github") << int(EmojiData::GitHubShortcodes) << 1900;
        QTest::newRow("slack") << int(EmojiData::SlackShortcodes) << 1900;
        QTest::newRow("cldr") << int(EmojiData::CldrShortcodes) << 3655;
    }
    void shortcodeSetsAreConsistent()
    {
        QFETCH(int, set);
        QFETCH(int, minimum);
        const auto shortcodeSet = EmojiData::ShortcodeSet(set);
        const QHash<QString, QString> codes = m_data.shortcodes(shortcodeSet);
        QVERIFY2(codes.size() >= minimum, qPrintable(QString::number(codes.size())));
        for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
            // Slack's set also names the tones, written after an emoji (":+1::skin-tone-3:").
            const EmojiData::Qualification qualification = m_data.qualification(it.value());
            QVERIFY(qualification == EmojiData::FullyQualified
                || (qualification == EmojiData::Component && set == EmojiData::SlackShortcodes));
            QVERIFY(!it.key().contains(QLatin1Char(':')) && !it.key().contains(QLatin1Char(' ')));
            QVERIFY(m_data.shortcodesFor(it.value(), shortcodeSet).contains(it.key()));
        }
        // Looked up without regard to FE0F, and the preferred name first.
        QCOMPARE(m_data.shortcodesFor(u("❤"), shortcodeSet),
            m_data.shortcodesFor(u("❤️"), shortcodeSet));
    }

    void localeDirectoryFromEnvironment()
    {
        QTemporaryDir directory;
        qputenv("GLYPHMORPH_EMOJI_LOCALE_DIR", QFile::encodeName(directory.path()));
        const QString found = EmojiTables::defaultLocaleDirectory();
        qunsetenv("GLYPHMORPH_EMOJI_LOCALE_DIR");
        QCOMPARE(found, directory.path());
        // Without it, the library in its build tree finds the build tree's files.
        QVERIFY(QFileInfo::exists(EmojiTables::defaultLocaleDirectory() + u("/de.qz")));
    }

    // Locale files that others may have put in place: refused unless they are what they say,
    // and then English names instead.
    void localeFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("thumbsUp");
        QTest::addColumn<QString>("thumbsDown");
        const QByteArray header = "@locale\txx\n@parent\troot\n@tones\t: \t, \n";
        QTest::newRow("a table of its own")
            << qCompress(header + "1F44D\tdaumen\tx|y\n") << u("daumen") << u("thumbs down");
        QTest::newRow("inherits from a parent in the same directory")
            << qCompress("@locale\txx\n@parent\tyy\n1F44D\tdaumen\t\n") << u("daumen")
            << u("runter");
        QTest::newRow("names another locale")
            << qCompress("@locale\tde\n1F44D\tdaumen\t\n") << u("thumbs up") << u("thumbs down");
        QTest::newRow("parents in a loop")
            << qCompress("@locale\txx\n@parent\txx\n1F44D\tdaumen\t\n") << u("daumen")
            << u("thumbs down");
        QTest::newRow("not compressed") << header << u("thumbs up") << u("thumbs down");
        QTest::newRow("claims a huge size")
            << QByteArray("\x7f\xff\xff\xff", 4) + qCompress(header).mid(4) << u("thumbs up")
            << u("thumbs down");
        QTest::newRow("truncated") << qCompress(header + "1F44D\tdaumen\t\n").left(12)
                                   << u("thumbs up") << u("thumbs down");
        QTest::newRow("empty") << QByteArray() << u("thumbs up") << u("thumbs down");
    }
    void localeFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, thumbsUp);
        QFETCH(QString, thumbsDown);
        QTemporaryDir directory;
        QVERIFY(writeBytes(directory.filePath(u("xx.qz")), file));
        QVERIFY(writeLocale(directory.path(), u("yy"), "@locale\tyy\n1F44E\trunter\t\n"));
        const EmojiData data(directory.path());
        QCOMPARE(data.localeDirectory(), directory.path());
        QCOMPARE(data.availableLocales(), (QStringList { u("en"), u("xx"), u("yy") }));
        QCOMPARE(data.emojiName(u("👍"), u("xx")), thumbsUp);
        QCOMPARE(data.emojiName(u("👎"), u("xx")), thumbsDown);
        // A name from the file is found, and only in its locale.
        QCOMPARE(data.searchEmoji(u("daumen"), u("xx")).contains(u("👍")), thumbsUp == u("daumen"));
        QVERIFY(data.searchEmoji(u("daumen"), u("en")).isEmpty());
    }

    void noLocaleFiles()
    {
        QTemporaryDir directory;
        const EmojiData data(directory.filePath(u("missing")));
        QCOMPARE(data.availableLocales(), QStringList { u("en") });
        QCOMPARE(data.resolvedLocale(u("de")), u("en"));
        QCOMPARE(data.emojiName(u("👍"), u("de")), u("thumbs up"));
        QCOMPARE(data.searchEmoji(u("thumbs up"), u("de"), 1), QStringList { u("👍") });
    }

    // Tables read and indexes built by several threads at once give what one thread gets.
    void concurrentUse()
    {
        const EmojiData data(m_data.localeDirectory());
        const QStringList locales { u("de"), u("fr"), u("ja"), u("es"), u("de") };
        QVector<QStringList> found(locales.size());
        std::vector<std::thread> threads;
        for (int i = 0; i < locales.size(); ++i) {
            threads.emplace_back([&, i] {
                found[i]
                    = data.searchEmoji(data.emojiName(u("❤️"), locales.at(i)), locales.at(i));
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        for (int i = 0; i < locales.size(); ++i) {
            QCOMPARE(found.at(i),
                m_data.searchEmoji(m_data.emojiName(u("❤️"), locales.at(i)), locales.at(i)));
            QVERIFY(found.at(i).contains(u("❤️")));
        }
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmojiDataTest)

#include "emojidatatest.moc"
