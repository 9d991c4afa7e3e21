// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Theme manager start-up with 0, 20 and 200 installed themes, with the built-in theme's images
// cached and to be rendered; and the time from a theme landing in the root to its announcement.
#include "benchmain.h"

#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <mgconfitem.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const int emoticonsPerTheme = 18;

// A theme like the built-in one: 18 emoticons with four codes each, a PNG per emoticon.
bool writeTheme(const QString &root, const QString &name)
{
    const QDir directory(QDir(root).filePath(name));
    if (!QDir().mkpath(directory.path()))
        return false;
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::yellow);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<emoticon_theme theme_uuid=\"uuid-" + name.toUtf8() + "\" theme_name=\"" + name.toUtf8()
        + "\">\n";
    for (int i = 0; i < emoticonsPerTheme; ++i) {
        const QByteArray n = QByteArray::number(i);
        xml += "<emoticon preview=\"" + QByteArray(i == 0 ? "true" : "false") + "\">";
        xml += "<charactercode default=\"true\">:" + n + ")</charactercode>"
            + "<charactercode default=\"false\">:-" + n + ")</charactercode>"
            + "<charactercode default=\"false\">=" + n + ")</charactercode>"
            + "<charactercode default=\"false\">=-" + n + ")</charactercode>";
        xml += "<file size=\"s\">e" + n + ".png</file><file size=\"m\">e" + n + ".png</file>"
            + "<positionindex>" + n + "</positionindex></emoticon>\n";
        if (!image.save(directory.filePath(QStringLiteral("e%1.png").arg(i)), "PNG"))
            return false;
    }
    xml += "</emoticon_theme>\n";
    QFile file(directory.filePath(name + QStringLiteral(".xml")));
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}

// One themes root per theme count, filled once and reused by every iteration.
QString rootWith(int themes)
{
    static QTemporaryDir base;
    const QString root = base.filePath(QStringLiteral("root-%1").arg(themes));
    if (!QFileInfo::exists(root)) {
        QDir().mkpath(root);
        for (int i = 0; i < themes; ++i)
            writeTheme(root, QStringLiteral("Theme%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    return root;
}

void forgetRenderedPlatformTheme()
{
    MGConfItem(QStringLiteral("/meegotouch/theme/CurrentMeegoTheme")).unset();
}

// Parsing one installed theme: the unit that start-up repeats per theme.
void BaselineParseOneTheme(benchmark::State &state)
{
    const QString xml = rootWith(1) + QStringLiteral("/Theme000/Theme000.xml");
    for (auto _ : state)
        benchmark::DoNotOptimize(EmoticonThemeFactory::emoticonThemeFromXML(xml));
}

void StartupWarmCache(benchmark::State &state)
{
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(rootWith(int(state.range(0)))));
    delete new EmoticonThemeManager(); // renders the built-in theme and the previews once
    for (auto _ : state) {
        EmoticonThemeManager manager;
        if (manager.emoticonThemes().size() != state.range(0) + 1)
            state.SkipWithError("themes missing");
    }
    state.counters["themes"] = double(state.range(0));
}

void StartupColdCache(benchmark::State &state)
{
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(rootWith(int(state.range(0)))));
    for (auto _ : state) {
        state.PauseTiming();
        forgetRenderedPlatformTheme();
        state.ResumeTiming();
        EmoticonThemeManager manager;
    }
}

// Waits for @p signal of @p sender; false after 20 s.
template<typename Sender, typename Signal> bool waitFor(Sender *sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

// The file-system notification alone: what any watcher pays before it can react.
void BaselineDirectoryNotification(benchmark::State &state)
{
    const QString root = rootWith(0);
    const QString staging = rootWith(1) + QStringLiteral("/Theme000");
    const QString target = root + QStringLiteral("/Landed");
    QFileSystemWatcher watcher({ root });
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QDir().rename(staging, target);
        if (!waitFor(&watcher, &QFileSystemWatcher::directoryChanged))
            state.SkipWithError("no notification");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        QDir().rename(target, staging);
        waitFor(&watcher, &QFileSystemWatcher::directoryChanged);
    }
}

// A complete theme moved into the root of a running manager, until themeAdded.
void ThemeLandedToAnnounced(benchmark::State &state)
{
    const QString root = rootWith(0);
    const QString staging = rootWith(1) + QStringLiteral("/Theme000");
    const QString target = root + QStringLiteral("/Theme000");
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(root));
    EmoticonThemeManager manager;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QDir().rename(staging, target);
        if (!waitFor(&manager, &EmoticonThemeManager::availableThemesChanged))
            state.SkipWithError("not announced");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        QDir().rename(target, staging);
        waitFor(&manager, &EmoticonThemeManager::availableThemesChanged);
    }
}

} // namespace

BENCHMARK(BaselineParseOneTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartupWarmCache)->Arg(0)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupColdCache)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineDirectoryNotification)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(ThemeLandedToAnnounced)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    // A home of its own: the run renders into the cache and writes settings.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return GlyphmorphBench::runWithRatios(argc, argv, "BaselineParseOneTheme");
}
