// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Opening the emoji picker of the Emoji theme, against opening the classic picker with the
// built-in theme: the dialog made, shown and painted once.
#include "benchmain.h"

#include <emojicellimage_p.h>
#include <emojipickercatalogue_p.h>
#include <emojipickerpanel_p.h>
#include <emoticonselectorwidget.h>
#include <mapplication.h>
#include <mdialog.h>
#include <mwidgetcreator.h>
#include <mwindow.h>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

MWindow *window()
{
    static MWindow *shown = [] {
        auto *created = new MWindow;
        created->resize(800, 600);
        created->show();
        QCoreApplication::processEvents();
        return created;
    }();
    return shown;
}

// The classic picker of the built-in theme: 18 buttons in two grids.
void BaselineOpenClassicPicker(benchmark::State &state)
{
    MWindow *shown = window();
    for (auto _ : state) {
        std::unique_ptr<EmoticonSelectorWidget> selector(static_cast<EmoticonSelectorWidget *>(
            MWidgetCreatorBase::createWidget(QStringLiteral("EmoticonSelectorWidget"))));
        shown->scene()->addItem(selector.get());
        selector->setServiceName(QString());
        selector->appear();
        benchmark::DoNotOptimize(shown->grab());
    }
}

// What the view does for the Emoji theme. Arg 1: the cell images drawn anew each time, as at the
// first opening in a process; arg 0: kept from the last opening.
void OpenEmojiPicker(benchmark::State &state)
{
    MWindow *shown = window();
    const bool coldImages = state.range(0) != 0;
    const int madeBefore = EmojiCellImage::madeCount();
    for (auto _ : state) {
        if (coldImages) {
            state.PauseTiming();
            EmojiCellImage::clearMemoryCache();
            state.ResumeTiming();
        }
        MDialog dialog;
        auto *panel = new EmojiPickerPanel;
        panel->setGridSize(8, 6);
        dialog.setCentralWidget(panel);
        dialog.appear();
        panel->focusGrid();
        benchmark::DoNotOptimize(shown->grab());
        dialog.disappear();
    }
    state.counters["images"] = benchmark::Counter(
        double(EmojiCellImage::madeCount() - madeBefore), benchmark::Counter::kAvgIterations);
}

// Once per process, at the first opening: the folding of every emoji into cells.
void FoldCatalogue(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(EmojiPickerCatalogue::build().cellCount());
}

} // namespace

BENCHMARK(BaselineOpenClassicPicker)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenEmojiPicker)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FoldCatalogue)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(home.path() + QStringLiteral("/themes")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    MApplication app(argc, argv);
    return GlyphmorphBench::runWithRatios(argc, argv, "BaselineOpenClassicPicker");
}
