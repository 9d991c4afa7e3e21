// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML over a few MB of chat text, against copying the text one character at a time.
#include "benchmain.h"
#include "chatcorpus.h"

#include <emosequencesearchtree.h>

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

} // namespace

BENCHMARK(BaselineCopyPerCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextToHtmlSyntheticTree)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return GlyphmorphBench::runWithRatios(argc, argv, "BaselineCopyPerCharacter");
}
