// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Shortcode completion as an editor asks for it after each keystroke, rows read as a list shows
// them, against one bare pass over every GitHub shortcode.
#include "benchmain.h"

#include <emojicompletionmodel.h>
#include <emojidata.h>
#include <emojipreferences.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char *const setNames[] = { "github", "slack", "cldr" };

// What any completion pays at least: each shortcode compared with the query once.
void BaselineScanShortcodes(benchmark::State &state)
{
    const QStringList codes = EmojiData().shortcodes(EmojiData::GitHubShortcodes).keys();
    const QString query = QStringLiteral("sm");
    for (auto _ : state) {
        int found = 0;
        for (const QString &code : codes)
            found += code.contains(query) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
}

int readRows(const EmojiCompletionModel &model)
{
    int characters = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        for (int role : { EmojiCompletionModel::EmojiRole, EmojiCompletionModel::ShortcodeRole,
                 EmojiCompletionModel::NameRole })
            characters += index.data(role).toString().size();
    }
    return characters;
}

// One query, from setting it to reading every row. The query is cleared in between, so each
// iteration computes the rows again; a cleared query costs next to nothing.
void Complete(benchmark::State &state, EmojiData::ShortcodeSet set, const char *query, int limit,
    bool preferences)
{
    EmojiPreferences user;
    user.clearRecentEmoji();
    user.setSkinTone(0);
    if (preferences) {
        const QStringList emoji = EmojiData().emoji();
        for (int i = 0; i < EmojiPreferences::maxRecentEmoji; ++i)
            user.noteEmojiUsed(emoji.at(i * 7));
        user.setSkinTone(3);
    }
    EmojiCompletionModel model;
    model.setShortcodeSet(set);
    model.setLimit(limit);
    const QString text = QString::fromUtf8(query);
    model.setQuery(text); // builds the set's index outside the measurement
    int rows = 0;
    for (auto _ : state) {
        model.setQuery(text);
        benchmark::DoNotOptimize(readRows(model));
        rows = model.rowCount();
        model.setQuery(QString());
    }
    state.counters["rows"] = rows;
    if (preferences) {
        user.clearRecentEmoji();
        user.setSkinTone(0);
    }
}

} // namespace

BENCHMARK(BaselineScanShortcodes)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    // The recent emoji and skin tone go to the settings store: keep them out of the user's.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    QCoreApplication app(argc, argv);

    struct Case
    {
        const char *query;
        int limit;
        bool preferences;
    };
    const Case cases[] = {
        { "sm", EmojiCompletionModel::defaultLimit, false }, // many matches, the shortest query
        { "thumbs", EmojiCompletionModel::defaultLimit, false },
        { "qzx", EmojiCompletionModel::defaultLimit, false }, // no match
        { "sm", EmojiCompletionModel::defaultLimit, true }, // 40 recent emoji, a skin tone
        { "an", 0, true }, // every match, hundreds of rows
    };
    for (int set = 0; set < 3; ++set) {
        for (const Case &c : cases) {
            const std::string name = std::string("Complete/") + setNames[set] + "/" + c.query
                + (c.limit == 0 ? "/all" : "") + (c.preferences ? "/recent+tone" : "");
            benchmark::RegisterBenchmark(name.c_str(), Complete, EmojiData::ShortcodeSet(set),
                c.query, c.limit, c.preferences)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return GlyphmorphBench::runWithRatios(argc, argv, "BaselineScanShortcodes");
}
