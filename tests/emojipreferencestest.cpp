// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The user's emoji preferences (skin tones, recent emoji) and the shortcode completion that
// follows them, in this process and as another process changes them.
#include "testenvironment.h"

#include <emojicompletionmodel.h>
#include <emojidata.h>
#include <emojipreferences.h>
#include <mgconfitem.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

const QString toneKey = QStringLiteral("/Messaging/Settings/Emoji/SkinTone");
const QString choicesKey = QStringLiteral("/Messaging/Settings/Emoji/SkinToneChoices");
const QString recentKey = QStringLiteral("/Messaging/Settings/Emoji/Recent");
const QString setKey = QStringLiteral("/Messaging/Settings/Emoji/ShortcodeSet");

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList words(const char *text)
{
    return u(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

/** @p count emoji without skin tones, none of them 😀, 👍 or ❤️, in a fixed order. */
QStringList others(int count)
{
    QStringList list;
    const QStringList all = EmojiData().emoji();
    for (int i = 100; list.size() < count; ++i) {
        if (EmojiPreferences::withSkinTone(all.at(i), 0) == all.at(i)
            && !words("😀 👍 ❤️").contains(all.at(i)))
            list.append(all.at(i));
    }
    return list;
}

QStringList column(const EmojiCompletionModel &model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row).data(role).toString());
    return values;
}

void resetSettings()
{
    for (const QString &key : { toneKey, choicesKey, recentKey, setKey })
        MGConfItem(key).unset();
}

} // namespace

class EmojiPreferencesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { resetSettings(); }

    void withSkinTone_data()
    {
        QTest::addColumn<QString>("emoji");
        QTest::addColumn<int>("tone");
        QTest::addColumn<int>("secondTone");
        QTest::addColumn<QString>("expected");
        const auto row
            = [](const char *name, const char *emoji, int tone, int second, const char *expected) {
                  QTest::newRow(name) << u(emoji) << tone << second << u(expected);
              };
        row("one tone", "👍", 3, 0, "👍🏽");
        row("a tone replaced", "👍🏻", 5, 0, "👍🏿");
        row("tone 0 takes it off", "👍🏽", 0, 0, "👍");
        row("out of range", "👍🏽", 6, 0, "👍");
        row("no variants, fully qualified", "❤", 3, 0, "❤️");
        row("unqualified base", "☝", 2, 0, "☝🏼");
        row("family has no tones", "👨‍👩‍👧", 3, 0, "👨‍👩‍👧");
        row("no emoji", "abc", 3, 0, "abc");
        row("second tone of one person", "👍", 2, 4, "👍🏼");
        row("people holding hands", "🧑‍🤝‍🧑", 1, 5, "🧑🏻‍🤝‍🧑🏿");
        row("same tone twice", "🧑‍🤝‍🧑", 2, 2, "🧑🏼‍🤝‍🧑🏼");
        row("two tones replaced", "🧑🏻‍🤝‍🧑🏿", 4, 3, "🧑🏾‍🤝‍🧑🏽");
        row("woman and man, one tone", "👫", 3, 0, "👫🏽");
        row("woman and man, two tones", "👫", 1, 2, "👩🏻‍🤝‍👨🏼");
        row("two tones back to one", "👩🏻‍🤝‍👨🏼", 4, 0, "👫🏾");
        row("handshake", "🤝", 1, 5, "🫱🏻‍🫲🏿");
        row("kiss", "💏", 2, 3, "🧑🏼‍❤️‍💋‍🧑🏽");
        row("couple with heart: woman, man", "👩‍❤‍👨", 1, 2,
            "👩🏻‍❤️‍👨🏼");
    }
    void withSkinTone()
    {
        QFETCH(QString, emoji);
        QFETCH(int, tone);
        QFETCH(int, secondTone);
        QFETCH(QString, expected);
        QCOMPARE(EmojiPreferences::withSkinTone(emoji, tone, secondTone), expected);
    }

    // Stored values as any process (or a hand) may have left them.
    void applySkinTone_data()
    {
        QTest::addColumn<QString>("storedTone");
        QTest::addColumn<QString>("storedChoices");
        QTest::addColumn<QString>("emoji");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *tone, const char *choices,
                             const char *emoji, const char *expected) {
            QTest::newRow(name) << u(tone) << u(choices) << u(emoji) << u(expected);
        };
        row("default tone", "3", "", "👍", "👍🏽");
        row("written with a tone", "3", "", "👍🏻", "👍🏻");
        row("no variants", "3", "", "😀", "😀");
        row("no tone", "0", "", "👍", "👍");
        row("unset", "", "", "👍", "👍");
        row("malformed tone", "dark", "", "👍", "👍");
        row("tone out of range", "9", "", "👍", "👍");
        row("choice overrides", "3", "👍🏿", "👍", "👍🏿");
        row("choice of another emoji", "3", "👍🏿", "✋", "✋🏽");
        row("choice of no tone", "3", "👍", "👍", "👍");
        row("choice of two tones", "0", "🧑🏻‍🤝‍🧑🏿", "🧑‍🤝‍🧑",
            "🧑🏻‍🤝‍🧑🏿");
        row("malformed choices", "2", "junk 😀🏻 :: 👍🏿  x", "👍", "👍🏿");
    }
    void applySkinTone()
    {
        QFETCH(QString, storedTone);
        QFETCH(QString, storedChoices);
        QFETCH(QString, emoji);
        QFETCH(QString, expected);
        if (!storedTone.isEmpty())
            QVERIFY(MGConfItem(toneKey).set(storedTone));
        if (!storedChoices.isEmpty())
            QVERIFY(MGConfItem(choicesKey).set(storedChoices));
        QCOMPARE(EmojiPreferences().applySkinTone(emoji), expected);
    }

    void skinToneSettings()
    {
        EmojiPreferences preferences;
        QVERIFY(!preferences.setSkinTone(6));
        QVERIFY(!preferences.setSkinTone(-1));
        QCOMPARE(preferences.skinTone(), 0);
        QVERIFY(preferences.setSkinTone(5));
        QCOMPARE(EmojiPreferences().skinTone(), 5);

        QVERIFY(!preferences.setSkinToneChoice(u("😀")));
        QVERIFY(!preferences.setSkinToneChoice(u("abc")));
        QVERIFY(preferences.setSkinToneChoice(u("👋🏼")));
        QVERIFY(preferences.setSkinToneChoice(u("👍")));
        QCOMPARE(preferences.skinToneChoice(u("👋🏿")), u("👋🏼"));
        QCOMPARE(preferences.applySkinTone(u("👋")), u("👋🏼"));
        QCOMPARE(preferences.applySkinTone(u("👍")), u("👍"));
        QVERIFY(preferences.clearSkinToneChoice(u("👋")));
        QCOMPARE(preferences.applySkinTone(u("👋")), u("👋🏿"));
        QCOMPARE(preferences.applySkinTone(u("👍")), u("👍"));
        QVERIFY(preferences.clearSkinToneChoices());
        QCOMPARE(preferences.applySkinTone(u("👍")), u("👍🏿"));
    }

    // Uses, one after the other; the list that follows, or its beginning and its length.
    void recentOrder_data()
    {
        QTest::addColumn<QStringList>("uses");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<int>("size");
        const QStringList ten = others(10);
        const QStringList eleven = others(11);
        const QStringList many = others(45);
        QStringList reversed;
        for (const QString &emoji : many)
            reversed.prepend(emoji);
        QTest::newRow("empty at first") << QStringList() << QStringList() << 0;
        QTest::newRow("latest first among equals")
            << words("😀 👍 ❤️") << words("❤️ 👍 😀") << 3;
        QTest::newRow("frequency before recency") << words("😀 😀 😀 👍") << words("😀 👍") << 2;
        QTest::newRow("three uses outweigh ten later ones")
            << words("😀 😀 😀") + ten << QStringList { u("😀"), ten.last() } << 11;
        QTest::newRow("and fade after eleven")
            << words("😀 😀 😀") + eleven << QStringList { eleven.last(), u("😀"), eleven.at(9) } << 12;
        QTest::newRow("one entry for every qualification")
            << words("❤ ❤️") << words("❤️") << 1;
        QTest::newRow("tones apart") << words("👍 👍🏽") << words("👍🏽 👍") << 2;
        QTest::newRow("no emoji is not counted") << words("abc 😀 :)") << words("😀") << 1;
        QTest::newRow("capped, the oldest go") << many << QStringList(reversed.mid(0, 40)) << 40;
    }
    void recentOrder()
    {
        QFETCH(QStringList, uses);
        QFETCH(QStringList, first);
        QFETCH(int, size);
        EmojiPreferences preferences;
        for (const QString &emoji : uses)
            QCOMPARE(
                preferences.noteEmojiUsed(emoji), !EmojiData().fullyQualified(emoji).isEmpty());
        const QStringList recent = EmojiPreferences().recentEmoji();
        QCOMPARE(recent.mid(0, first.size()), first);
        QCOMPARE(recent.size(), size);
    }

    void clearRecent()
    {
        EmojiPreferences preferences;
        QSignalSpy spy(&preferences, &EmojiPreferences::recentEmojiChanged);
        QVERIFY(preferences.noteEmojiUsed(u("😀")));
        QVERIFY(spy.wait());
        QVERIFY(preferences.clearRecentEmoji());
        QVERIFY(spy.wait());
        QCOMPARE(preferences.recentEmoji(), QStringList());
        QVERIFY(preferences.noteEmojiUsed(u("👍")));
        QCOMPARE(preferences.recentEmoji(), words("👍"));
    }

    void malformedRecent_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("expected");
        QStringList many;
        QStringList items;
        for (const QString &emoji : others(50)) {
            items.append(emoji + ":1");
            many.append(emoji);
        }
        QTest::newRow("no list") << "not a list" << QStringList();
        QTest::newRow("no weight") << u("😀 👍:2 ❤️:") << words("👍");
        QTest::newRow("weights that are no weight")
            << u("😀:-1 👍:nan ❤️:inf 🐱:1e300 🐶:0 🦊:1") << words("🦊");
        QTest::newRow("not in order") << u("😀:1 👍:3.5") << words("👍 😀");
        QTest::newRow("twice in two qualifications") << u("❤:2 ❤️:1") << words("❤️");
        QTest::newRow("no emoji") << u("abc:2 :):2 😀:1") << words("😀");
        QTest::newRow("more than 40")
            << items.join(QLatin1Char(' ')) << QStringList(many.mid(0, 40));
    }
    void malformedRecent()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, expected);
        QVERIFY(MGConfItem(recentKey).set(stored));
        EmojiPreferences preferences;
        QCOMPARE(preferences.recentEmoji(), expected);
        // A use repairs the value.
        QVERIFY(preferences.noteEmojiUsed(u("🐙")));
        const QStringList after = preferences.recentEmoji();
        QCOMPARE(after.count(u("🐙")), 1);
        QCOMPARE(after.size(), qMin(expected.size() + 1, 40));
        QCOMPARE(EmojiPreferences().recentEmoji(), after);
    }

    // Another process of the user changes a key: every instance here tells it.
    void changeFromAnotherProcess_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("skin tone") << toneKey << "4";
        QTest::newRow("choices") << choicesKey << u("👍🏾");
        QTest::newRow("recent") << recentKey << u("🐙:2 😀:1");
    }
    void changeFromAnotherProcess()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        EmojiPreferences preferences;
        QSignalSpy tone(&preferences, &EmojiPreferences::skinToneChanged);
        QSignalSpy choices(&preferences, &EmojiPreferences::skinToneChoicesChanged);
        QSignalSpy recent(&preferences, &EmojiPreferences::recentEmojiChanged);
        EmojiCompletionModel model;
        model.setQuery(u("thumbs"));
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

        QProcess writer;
        QStringList arguments { QStringLiteral("set") };
        for (const QString &argument : { key, value })
            arguments.append(QString::fromLatin1(argument.toUtf8().toPercentEncoding()));
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(SETTINGSWRITER), arguments);
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitCode(), 0);

        QSignalSpy &spy = key == toneKey ? tone : key == choicesKey ? choices : recent;
        QTRY_COMPARE(spy.count(), 1);
        QTRY_VERIFY(reset.count() > 0);
        QCOMPARE(tone.count() + choices.count() + recent.count(), 1);
        if (key == toneKey)
            QCOMPARE(preferences.skinTone(), 4);
        else if (key == choicesKey)
            QCOMPARE(preferences.applySkinTone(u("👍")), u("👍🏾"));
        else
            QCOMPARE(preferences.recentEmoji(), words("🐙 😀"));
        const QString thumbsUp = model.index(0).data(EmojiCompletionModel::EmojiRole).toString();
        QCOMPARE(thumbsUp, preferences.applySkinTone(u("👍")));
    }

    // The rows against the rule, worked out from the shortcode tables: every emoji with a
    // shortcode that begins with the query, then every other emoji with one that contains it.
    void completionRule_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("set");
        QTest::addColumn<bool>("someRows");
        QTest::newRow("two characters") << "sm" << int(EmojiData::GitHubShortcodes) << true;
        QTest::newRow("slack") << "heart" << int(EmojiData::SlackShortcodes) << true;
        QTest::newRow("cldr") << "thumbs" << int(EmojiData::CldrShortcodes) << true;
        QTest::newRow("case") << "THU" << int(EmojiData::GitHubShortcodes) << true;
        QTest::newRow("colons around") << ":pi:" << int(EmojiData::GitHubShortcodes) << true;
        QTest::newRow("non-letters") << "+1" << int(EmojiData::GitHubShortcodes) << true;
        QTest::newRow("one character, though shortcodes begin with it")
            << "p" << int(EmojiData::GitHubShortcodes) << false;
        QTest::newRow("one character after a colon")
            << ":p" << int(EmojiData::GitHubShortcodes) << false;
        QTest::newRow("no shortcode contains it")
            << "qzx" << int(EmojiData::GitHubShortcodes) << false;
    }
    void completionRule()
    {
        QFETCH(QString, query);
        QFETCH(int, set);
        QFETCH(bool, someRows);
        const auto shortcodeSet = EmojiData::ShortcodeSet(set);
        const QHash<QString, QString> shortcodes = EmojiData().shortcodes(shortcodeSet);
        QString bare = query;
        bare.remove(QLatin1Char(':'));
        bare = bare.toLower();
        QSet<QString> beginning;
        QSet<QString> containing;
        for (auto it = shortcodes.constBegin(); it != shortcodes.constEnd(); ++it) {
            if (it.key().startsWith(bare))
                beginning.insert(it.value());
            else if (it.key().contains(bare))
                containing.insert(it.value());
        }
        containing.subtract(beginning);
        if (bare.size() < EmojiCompletionModel::minimumQueryLength) {
            QVERIFY(!beginning.isEmpty());
            beginning.clear();
            containing.clear();
        }

        EmojiCompletionModel model;
        model.setShortcodeSet(shortcodeSet);
        model.setLimit(0);
        model.setQuery(query);
        const QStringList emoji = column(model, EmojiCompletionModel::EmojiRole);
        const QStringList codes = column(model, EmojiCompletionModel::ShortcodeRole);
        QCOMPARE(model.rowCount() > 0, someRows);
        QCOMPARE(model.rowCount(), beginning.size() + containing.size());
        for (int row = 0; row < model.rowCount(); ++row) {
            QCOMPARE(shortcodes.value(codes.at(row)), emoji.at(row));
            QVERIFY(codes.at(row).contains(bare));
            const bool begins = row < beginning.size();
            QVERIFY2(
                begins ? beginning.contains(emoji.at(row)) : containing.contains(emoji.at(row)),
                qPrintable(codes.at(row)));
            QCOMPARE(codes.at(row).startsWith(bare), begins);
        }
        model.setLimit(EmojiCompletionModel::defaultLimit);
        QCOMPARE(model.rowCount(), qMin(emoji.size(), EmojiCompletionModel::defaultLimit));
        QCOMPARE(column(model, EmojiCompletionModel::EmojiRole), emoji.mid(0, model.rowCount()));
    }

    // Recently used emoji come first within their group, whatever tone they were used with,
    // and each row has the user's tone.
    void completionFollowsPreferences()
    {
        EmojiPreferences preferences;
        EmojiCompletionModel model;
        model.setLimit(0);
        model.setQuery(u("heart"));
        const QStringList before = column(model, EmojiCompletionModel::EmojiRole);
        const int firstInside = column(model, EmojiCompletionModel::ShortcodeRole)
                                    .indexOf(QRegularExpression(QStringLiteral("^.+heart")));
        QVERIFY(firstInside > 2);
        const QString inside = before.at(firstInside + 2); // contains "heart"
        const QString beginning = before.at(2); // begins with it
        QVERIFY(preferences.noteEmojiUsed(inside));
        QVERIFY(preferences.noteEmojiUsed(beginning));
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(reset.wait());
        const QStringList after = column(model, EmojiCompletionModel::EmojiRole);
        QCOMPARE(after.at(0), beginning);
        QCOMPARE(after.at(firstInside), inside);
        QCOMPARE(after.size(), before.size());

        QVERIFY(preferences.noteEmojiUsed(u("👎🏽")));
        QVERIFY(preferences.setSkinTone(2));
        model.setLimit(3);
        model.setQuery(u("thu"));
        QTRY_COMPARE(column(model, EmojiCompletionModel::EmojiRole).value(0), u("👎🏼"));
        QCOMPARE(column(model, EmojiCompletionModel::ShortcodeRole).value(0), u("thumbsdown"));
        QCOMPARE(column(model, EmojiCompletionModel::EmojiRole).value(1), u("👍🏼"));
        QVERIFY(preferences.setSkinToneChoice(u("👍🏿")));
        QTRY_COMPARE(column(model, EmojiCompletionModel::EmojiRole).value(1), u("👍🏿"));
    }

    void completionNamesAndSet()
    {
        EmojiCompletionModel model;
        model.setLimit(1);
        model.setLocale(u("en"));
        model.setQuery(u("umbrella"));
        QCOMPARE(model.index(0).data(EmojiCompletionModel::NameRole).toString(),
            u("umbrella with rain drops"));
        model.setLocale(u("de"));
        QCOMPARE(model.index(0).data(EmojiCompletionModel::NameRole).toString(),
            EmojiData().emojiName(u("☔"), u("de")));
        QCOMPARE(model.roleNames().value(EmojiCompletionModel::NameRole), QByteArray("name"));
        // The user's set, until the caller picks one.
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(MGConfItem(setKey).set(u("slack")));
        QVERIFY(reset.wait());
        QCOMPARE(model.shortcodeSet(), EmojiData::SlackShortcodes);
        QCOMPARE(model.index(0).data().toString(), u("☂️"));
        model.setShortcodeSet(EmojiData::GitHubShortcodes);
        QCOMPARE(model.index(0).data().toString(), u("☔"));
        reset.clear();
        MGConfItem sentinel(setKey);
        QSignalSpy changed(&sentinel, &MGConfItem::valueChanged);
        QVERIFY(sentinel.set(u("cldr")));
        QVERIFY(changed.wait());
        QCOMPARE(reset.count(), 0);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmojiPreferencesTest)
#include "emojipreferencestest.moc"
