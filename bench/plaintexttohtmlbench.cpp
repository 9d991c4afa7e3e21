// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML over a few MB of chat text, against copying the text one character at a time.
#include "benchmain.h"
#include "chatcorpus.h"

#include <emosequencesearchtree.h>
#include <emoticontheme.h>
#include <emoticonthemefactory.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString &corpus()
{
    static const QString text = GlyphmorphBench::chatCorpus(2 * 1024 * 1024);
    return text;
}

int64_t corpusBytes()
{
    static const int64_t bytes = corpus().toUtf8().size();
    return bytes;
}

void BaselineCopyPerCharacter(benchmark::State &state)
{
    const QString &text = corpus();
    for (auto _ : state) {
        QString copy;
        copy.reserve(text.size());
        for (const QChar c : text)
            copy += c;
        benchmark::DoNotOptimize(copy.constData());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}

void PlainTextToHtmlSyntheticTree(benchmark::State &state)
{
    emoSequenceSearchTree tree(
        GlyphmorphBench::builtinCodeMapping(QStringLiteral("/home/user/.emoticonthemecache")));
    const QString &text = corpus();
    const QString lineBreak = QStringLiteral("<br>");
    for (auto _ : state) {
        QString html = tree.performPlainText2HTMLReplacement(text, 0, lineBreak);
        benchmark::DoNotOptimize(html.constData());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}

// The tree of the theme that users actually get, read from the library's own theme file.
void PlainTextToHtmlBuiltinTheme(benchmark::State &state)
{
    const EmoticonTheme theme = EmoticonThemeFactory::defaultEmoticonTheme();
    if (!theme.isValid()) {
        state.SkipWithError("the built-in theme is not valid");
        return;
    }
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    const QString &text = corpus();
    const QString lineBreak = QStringLiteral("<br>");
    for (auto _ : state) {
        QString html = tree->performPlainText2HTMLReplacement(text, 0, lineBreak);
        benchmark::DoNotOptimize(html.constData());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}

} // namespace

BENCHMARK(BaselineCopyPerCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextToHtmlSyntheticTree)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextToHtmlBuiltinTheme)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Building the built-in theme writes its preview below the home directory: keep that out of
    // the user's own, and give it the GUI application that rendering the preview needs.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return GlyphmorphBench::runWithRatios(argc, argv, "BaselineCopyPerCharacter");
}
