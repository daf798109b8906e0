// The editor with large maps: opening a 1024 x 1024 project to the first
// painted 1920 x 1080 view (target: under 60 ms), and a 4096 x 4096 map
// opened, painted, scrolled, bucket-filled and the fill undone, and
// an Array Fill of a million selected cells and its Undo, with the editor's
// peak memory (target: under 400 MB).

#include "BenchSupport.h"
#include "ui/ViewEditor.h"
#include "ui/WidgetBenchMain.h"
#include "core/edit/BucketFill.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"
#include "ui/map/MapViewCommands.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The peak so far is forgotten: VmHWM starts again from VmRSS.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct TempFolder {
    TempFolder() : path(fs::temp_directory_path() / ("qm-open-bench-" + std::to_string(::getpid()))) { fs::create_directories(path); }
    ~TempFolder() { fs::remove_all(path); }
    fs::path path;
};

// A side x side project with its tile set files: random tiles; random cells,
// or (uniform) BG tile 1 everywhere with a wall of tile 2 along column and row
// side / 2 when walled.
std::string writeProjectFile(const fs::path& dir, int side, bool uniform, bool walled)
{
    auto ws = std::make_unique<qm::Workspace>();
    ws->project.projectPath = (dir / "map.qmm").string();
    ws->project.bgTileSetPath = (dir / "map.qmb").string();
    ws->project.objTileSetPath = (dir / "map.qmo").string();
    ws->project.map.create(side, side);
    std::mt19937 rng(7);
    for (qm::TileSet* set : {&ws->tiles.bg, &ws->tiles.obj, &ws->tiles.tag})
        for (qm::CTile& t : set->tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() & 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            qm::MapCell& c = *ws->project.map.cellAt(x, y);
            if (uniform) {
                c.place(qm::TILE_BG, walled && (x == side / 2 || y == side / 2) ? 2 : 1, 0);
                continue;
            }
            c.place(qm::TILE_BG, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
            if (rng() % 3 == 0)
                c.place(qm::TILE_OBJ, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
            c.tag = static_cast<std::uint8_t>(rng());
        }
    qm::NullProgress quiet;
    qm::writeProject(*ws, quiet);
    qm::saveTileSetFile(ws->project.bgTileSetPath, qm::TILE_BG, ws->tiles, quiet);
    qm::saveTileSetFile(ws->project.objTileSetPath, qm::TILE_OBJ, ws->tiles, quiet);
    return ws->project.projectPath;
}

// The editor's map view, opening projects and painting into a screen of its own.
struct Editor : qm::bench::ViewEditor {
    bool open(const std::string& path)
    {
        qm::FixedPrompter no(qm::Answer::No);
        qm::NullProgress quiet;
        const bool ok = qm::readProject(path, *ws, no, quiet).ok();
        view->handleMessage(qm::ui::MSG_MAP_RESET, 1, 0);
        return ok;
    }
    void paint() { ViewEditor::paint(screen); }
    QImage screen{1920, 1080, QImage::Format_RGB32};
};

void BM_OpenProjectToFirstPaint1024(benchmark::State& state)
{
    TempFolder dir;
    const std::string path = writeProjectFile(dir.path, 1024, false, false);
    Editor editor;
    editor.paint();
    resetPeak();
    const long start = qm::bench::residentKb("VmRSS:");
    for (auto _ : state) {
        if (!editor.open(path))
            state.SkipWithError("open failed");
        editor.paint();
    }
    state.counters["peakAboveStartMB"] = double(qm::bench::residentKb("VmHWM:") - start) / 1024.0;
}
BENCHMARK(BM_OpenProjectToFirstPaint1024)->Unit(benchmark::kMillisecond);

// Arg 0: the fill covers a quarter of the map (a wall of other tiles
// around it); 1: the whole map. Run it alone (--benchmark_filter=4096).
void BM_Editor4096(benchmark::State& state)
{
    TempFolder dir;
    const bool whole = state.range(0) != 0;
    const std::string path = writeProjectFile(dir.path, 4096, true, !whole);
    for (auto _ : state) {
        Editor editor;
        editor.paint();
        resetPeak();
        const long start = qm::bench::residentKb("VmRSS:");
        auto t = std::chrono::steady_clock::now();
        if (!editor.open(path))
            state.SkipWithError("open failed");
        editor.paint();
        state.counters["openMs"] = msSince(t);
        t = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i) {
            editor.view->scroll().request(i % 2 ? Qt::Horizontal : Qt::Vertical, qm::ScrollRequest::PageForward);
            editor.paint();
        }
        state.counters["scrollMsPerPage"] = msSince(t) / 20;
        t = std::chrono::steady_clock::now();
        qm::MapEdit edit{*editor.ws, editor.undo, editor.view->renderer(), qm::TILE_BG};
        const qm::EditResult filled = qm::bucketFill(edit, 10, 10, {qm::TILE_BG, 3, 1});
        editor.paint();
        state.counters["fillMs"] = msSince(t);
        state.counters["filledCells"] = filled.changed;
        t = std::chrono::steady_clock::now();
        editor.view->actions().undo();
        editor.paint();
        state.counters["undoMs"] = msSince(t);
        // Array Fill of a selected rectangle of 1024 x 1024 cells, and its Undo.
        QList<QPoint> selection;
        selection.reserve(1024 * 1024);
        for (int y = 100; y < 1124; ++y)
            for (int x = 100; x < 1124; ++x)
                selection.append(QPoint(x, y));
        editor.view->setSelection(selection);
        t = std::chrono::steady_clock::now();
        editor.view->commands().execute(qm::ui::MapCommand::ArrayFill);
        editor.paint();
        editor.view->actions().undo();
        editor.paint();
        state.counters["arrayFillAndUndoMs"] = msSince(t);
        state.counters["peakMB"] = double(qm::bench::residentKb("VmHWM:")) / 1024.0;
        state.counters["peakAboveEmptyMB"] = double(qm::bench::residentKb("VmHWM:") - start) / 1024.0;
    }
}
BENCHMARK(BM_Editor4096)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return qm::bench::runWidgetBenchmarks(argc, argv); }
