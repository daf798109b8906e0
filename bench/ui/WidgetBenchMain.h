#pragma once
// The main of a benchmark program of the editor's widgets: an application on
// the offscreen platform unless another is asked for, with test-mode paths so
// that no settings of the user's are read or written.

#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

namespace qm::bench {

inline int runWidgetBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace qm::bench
