// A recovery copy of a 1024 x 1024 project: the time the editor's own thread
// is held (it copies the workspace and hands it to the worker), and the
// worker's whole write of the copy for comparison.

#include "ui/WidgetBenchMain.h"
#include "ui/app/Autosave.h"
#include "ui/app/CMainFrame.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

struct Editor {
    Editor()
    {
        frame = std::make_unique<qm::ui::CMainFrame>();
        qm::Workspace& ws = frame->workspace();
        ws.project.map.create(1024, 1024);
        std::mt19937 rng(7);
        for (qm::MapCell& c : ws.project.map.cells)
            c.place(qm::TILE_BG, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
        frame->autosave().enable(root.path(), 120);
        ws.project.setChanged(qm::CHANGED_MAP);
    }
    QTemporaryDir root;
    std::unique_ptr<qm::ui::CMainFrame> frame;
};

void BM_RecoveryWriteHoldsTheEditor(benchmark::State& state)
{
    Editor editor;
    qm::ui::Autosave& autosave = editor.frame->autosave();
    for (auto _ : state) {
        autosave.writeNow();
        state.PauseTiming();
        autosave.waitForWorker();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryWriteHoldsTheEditor)->Unit(benchmark::kMillisecond);

void BM_RecoveryWriteOnTheWorker(benchmark::State& state)
{
    Editor editor;
    qm::ui::Autosave& autosave = editor.frame->autosave();
    for (auto _ : state) {
        autosave.writeNow();
        autosave.waitForWorker();
    }
}
BENCHMARK(BM_RecoveryWriteOnTheWorker)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return qm::bench::runWidgetBenchmarks(argc, argv); }
