// One paint of a 1920 x 1080 map view at every zoom level, on a 1024 x 1024
// map, and the memory the open map costs the editor.

#include "BenchSupport.h"
#include "ui/ViewEditor.h"
#include "ui/WidgetBenchMain.h"
#include "ui/map/CQuiltmarkView.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace {

// The editor's map view on a workspace: empty at first, then (load) a
// 1024 x 1024 map of random BG tiles, bound by a reset.
struct Editor : qm::bench::ViewEditor {
    void load()
    {
        ws->project.map.create(1024, 1024);
        std::mt19937 rng(7);
        for (qm::CTile& t : ws->tiles.bg.tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() & 3);
        for (qm::MapCell& c : ws->project.map.cells)
            c.place(qm::TILE_BG, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
        view->handleMessage(qm::ui::MSG_MAP_RESET, 1, 0);
        view->moveCursor(512, 512);
    }
};

void BM_PaintView1920x1080(benchmark::State& state)
{
    Editor editor;
    editor.load();
    editor.view->setGridVisible(state.range(1) != 0);
    editor.view->handleMessage(qm::ui::MSG_SET_ZOOM, state.range(0), 0);
    QImage screen(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&screen);
        editor.view->paintView(p, screen.rect());
    }
    state.SetLabel(QStringLiteral("cell %1 px").arg(editor.view->cellSize()).toStdString());
}
BENCHMARK(BM_PaintView1920x1080)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Run it alone (--benchmark_filter=Memory): memory freed by earlier
// benchmarks stays with the process and would hide part of the figure.
void BM_EditorMemoryWith1024Map(benchmark::State& state)
{
    for (auto _ : state) {
        QImage screen(1920, 1080, QImage::Format_RGB32);
        Editor editor;
        editor.paint(screen);
        const long empty = qm::bench::residentKb("VmRSS:");
        editor.load();
        editor.paint(screen);
        state.counters["residentMB"] = double(qm::bench::residentKb("VmRSS:") - empty) / 1024.0;
        state.counters["peakAboveEmptyMB"] = double(qm::bench::residentKb("VmHWM:") - empty) / 1024.0;
    }
}
BENCHMARK(BM_EditorMemoryWith1024Map)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return qm::bench::runWidgetBenchmarks(argc, argv); }
