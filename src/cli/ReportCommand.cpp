// quiltmark-cli report FILE.qmm KIND [--set bg|obj] [--allow-missing-tiles]:
// writes the report file the Report menu writes, beside the project, and
// prints its path. The priority report is printed instead. A tile set that did
// not load fails the command unless --allow-missing-tiles.

#include "cli/CliCommands.h"
#include "cli/CliProject.h"
#include "cli/TerminalText.h"
#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/project/ProjectFile.h"
#include "core/reports/PriorityReport.h"
#include "core/reports/ReportFile.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

namespace qm::cli {

namespace {

constexpr const char* USAGE =
    "usage: quiltmark-cli report FILE.qmm duplicates|comments|palette|unused-bg|unused-obj|priority [--set bg|obj] "
    "[--allow-missing-tiles]\n";

std::optional<ReportKind> reportKindOf(const std::string& name)
{
    if (name == "duplicates")
        return ReportKind::Duplicates;
    if (name == "comments")
        return ReportKind::Comments;
    if (name == "palette")
        return ReportKind::Palette;
    if (name == "unused-bg")
        return ReportKind::UnusedBg;
    if (name == "unused-obj")
        return ReportKind::UnusedObj;
    return std::nullopt;
}

} // namespace

int reportCommand(CliContext& ctx)
{
    std::vector<std::string> positional;
    TileKind set = TILE_BG;
    bool allowMissing = false;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--allow-missing-tiles") {
            allowMissing = true;
        } else if (a == "--set") {
            if (i + 1 >= ctx.args.size()) {
                ctx.err << USAGE;
                return 2;
            }
            const std::optional<TileKind> named = tileSetNamed(ctx.args[++i], false);
            if (!named) {
                ctx.err << "quiltmark-cli report: --set takes bg or obj\n";
                return 2;
            }
            set = *named;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        ctx.err << USAGE;
        return 2;
    }
    const std::string& what = positional[1];
    const std::optional<ReportKind> kind = reportKindOf(what);
    if (!kind && what != "priority") {
        ctx.err << "quiltmark-cli report: unknown report '" << terminalText(what) << "'\n" << USAGE;
        return 2;
    }

    const std::unique_ptr<Workspace> ws = openProjectWithTiles(positional[0], allowMissing, ctx);
    if (!ws)
        return 1;
    if (!kind) {
        ctx.out << priorityReportText(ws->project.map);
        return 0;
    }
    ReportWritten written;
    NullProgress quiet;
    if (const Result r = writeReport(*kind, *ws, set, quiet, written); !r)
        return failed(r, ctx);
    ctx.out << terminalText(written.path) << "\n";
    return 0;
}

} // namespace qm::cli
