// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The Emoji theme's costs: what registering it adds to the theme manager's start, in time and
// memory; the first message, which makes its codes; a message whose emoji is drawn as it is
// converted.
#include "benchmain.h"

#include <emojidata.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

namespace {

const char childOption[] = "--start-manager";
const QString emojiUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");

struct Memory
{
    double resident = 0; // bytes in memory, the font's mapped pages included
    double heap = 0; // bytes allocated
};

Memory memoryNow()
{
    Memory memory;
    long pages = 0;
    long residentPages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &residentPages) == 2)
            memory.resident = double(residentPages) * double(sysconf(_SC_PAGESIZE));
        std::fclose(statm);
    }
    const struct mallinfo2 heap = mallinfo2();
    memory.heap = double(heap.uordblks + heap.hblkhd);
    return memory;
}

// In a process of its own, as an application starts: the manager, which looks for the colour
// font and registers the Emoji theme where there is one, then the first message, which makes the
// current theme's codes.
int startManagerChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const Memory before = memoryNow();
    QElapsedTimer timer;
    timer.start();
    EmoticonThemeManager::m_pInstance = new EmoticonThemeManager;
    const qint64 start = timer.nsecsElapsed();
    const Memory started = memoryNow();
    auto *morpher = new Glyphmorpher;
    timer.restart();
    morpher->transformPlainTextToHTML(QStringLiteral("see you at 8 :) bring snacks"),
        QStringLiteral("/account/bench"), 0, QStringLiteral("<br>"));
    const qint64 message = timer.nsecsElapsed();
    const Memory converted = memoryNow();
    std::printf("%lld %lld %.0f %.0f %.0f %d\n", static_cast<long long>(start),
        static_cast<long long>(message), started.resident - before.resident,
        started.heap - before.heap, converted.resident - before.resident,
        int(EmoticonThemeManager::m_pInstance->emoticonThemes().size()));
    delete morpher;
    return 0;
}

QString fontConfigWithoutColourFonts()
{
    static QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("fonts.conf"));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        file.write(
            "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
            "<fontconfig>\n"
            "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
            "  <selectfont><rejectfont><pattern>\n"
            "    <patelt name=\"color\"><bool>true</bool></patelt>\n"
            "  </pattern></rejectfont></selectfont>\n"
            "</fontconfig>\n");
    }
    return path;
}

struct StartupFigures
{
    double firstSeconds = 0;
    double residentBytes = 0;
    double heapBytes = 0;
    int runs = 0;
};
StartupFigures withoutEmoji;
StartupFigures withEmoji;

void startupInChild(benchmark::State &state, bool colourFont, StartupFigures &figures)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!colourFont)
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), fontConfigWithoutColourFonts());
    double message = 0;
    double residentAfterMessage = 0;
    int themes = 0;
    figures = StartupFigures();
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), { QLatin1String(childOption) });
        long long startNs = 0;
        long long messageNs = 0;
        double resident = 0;
        double heap = 0;
        double residentConverted = 0;
        if (!child.waitForFinished(60000)
            || std::sscanf(child.readAllStandardOutput().constData(), "%lld %lld %lf %lf %lf %d",
                   &startNs, &messageNs, &resident, &heap, &residentConverted, &themes)
                != 6) {
            state.SkipWithError("the child did not report");
            return;
        }
        state.SetIterationTime(double(startNs) / 1e9);
        figures.firstSeconds += double(startNs) / 1e9;
        figures.residentBytes += resident;
        figures.heapBytes += heap;
        message += double(messageNs) / 1e9;
        residentAfterMessage += residentConverted;
        ++figures.runs;
    }
    state.counters["resident_MB"] = figures.residentBytes / figures.runs / 1e6;
    state.counters["heap_MB"] = figures.heapBytes / figures.runs / 1e6;
    state.counters["first_message_ms"] = message / figures.runs * 1e3;
    state.counters["resident_after_message_MB"] = residentAfterMessage / figures.runs / 1e6;
    state.counters["themes"] = themes;
}

void BaselineStartupWithoutEmojiTheme(benchmark::State &state)
{
    startupInChild(state, false, withoutEmoji);
}

void StartupWithEmojiTheme(benchmark::State &state)
{
    startupInChild(state, true, withEmoji);
}

QString message(const QString &emoji)
{
    return QStringLiteral("see you at 8 ") + emoji + QStringLiteral(" bring snacks");
}

QString emojiDirectory()
{
    return EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absoluteFilePath(
        QStringLiteral("emoji"));
}

Glyphmorpher *morpher()
{
    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    return Glyphmorpher::m_pInstance;
}

// A message whose emoji was drawn before.
void BaselineMessageEmojiDrawn(benchmark::State &state)
{
    const QString text = message(QStringLiteral("🎉"));
    const QString account = QStringLiteral("/account/bench");
    morpher()->transformPlainTextToHTML(text, account, 0, QStringLiteral("<br>"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            morpher()->transformPlainTextToHTML(text, account, 0, QStringLiteral("<br>")));
}

// A message whose emoji no message had before, with the image directory made anew each time.
void MessageEmojiNotDrawn(benchmark::State &state)
{
    const QString account = QStringLiteral("/account/bench");
    const QStringList emoji = EmojiData().emoji();
    // Across repetitions too: an emoji converted once is drawn.
    static int next = int(emoji.indexOf(QStringLiteral("🎉"))) + 1;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(emojiDirectory()).removeRecursively();
        const QString text = message(emoji.at(next++ % emoji.size()));
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            morpher()->transformPlainTextToHTML(text, account, 0, QStringLiteral("<br>")));
    }
    if (QDir(emojiDirectory()).entryList(QDir::Files).size() != 2)
        state.SkipWithError("the image and its twin were not drawn");
}

} // namespace

BENCHMARK(BaselineStartupWithoutEmojiTheme)
    ->UseManualTime()
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StartupWithEmojiTheme)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineMessageEmojiDrawn)->Unit(benchmark::kMicrosecond);
BENCHMARK(MessageEmojiNotDrawn)->Iterations(200)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], childOption) == 0)
        return startManagerChild(argc, argv);
    // A home of its own, with the Emoji theme as the current theme and an empty themes root;
    // the children share it.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(home.path() + QStringLiteral("/themes")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MGConfItem(QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme")).set(emojiUUID);
    // The built-in theme's images drawn once, for the children too.
    delete new EmoticonThemeManager;
    const int result = GlyphmorphBench::runWithRatios(
        argc, argv, "BaselineStartupWithoutEmojiTheme", { "BaselineMessageEmojiDrawn" });
    if (withEmoji.runs && withoutEmoji.runs) {
        std::printf("\nRegistering the Emoji theme adds to the manager's start: %.1f ms, "
                    "%.1f MB resident, %.1f MB heap (means of %d and %d runs)\n",
            (withEmoji.firstSeconds / withEmoji.runs
                - withoutEmoji.firstSeconds / withoutEmoji.runs)
                * 1e3,
            (withEmoji.residentBytes / withEmoji.runs
                - withoutEmoji.residentBytes / withoutEmoji.runs)
                / 1e6,
            (withEmoji.heapBytes / withEmoji.runs - withoutEmoji.heapBytes / withoutEmoji.runs)
                / 1e6,
            withEmoji.runs, withoutEmoji.runs);
    }
    delete Glyphmorpher::m_pInstance;
    return result;
}
