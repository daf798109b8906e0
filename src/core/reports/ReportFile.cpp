#include "core/reports/ReportFile.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/reports/DuplicateTileReport.h"
#include "core/reports/PaletteReport.h"
#include "core/reports/TileCommentReport.h"
#include "core/reports/UnusedTileReport.h"

#include <filesystem>
#include <span>

namespace qm {

std::string reportName(ReportKind kind, TileKind shownSet)
{
    const bool bg = shownSet == TILE_BG;
    switch (kind) {
    case ReportKind::Duplicates:
        return bg ? "RepeatBG.txt" : "RepeatOBJ.txt";
    case ReportKind::Comments:
        return bg ? "CommentBG.txt" : "CommentOBJ.txt";
    case ReportKind::Palette:
        return "PaletteRpt.txt";
    case ReportKind::UnusedBg:
        return "UnusedBG.txt";
    case ReportKind::UnusedObj:
        return "UnusedOBJ.txt";
    }
    return {};
}

std::string reportFilePath(const std::string& projectPath, const std::string& name)
{
    if (projectPath.empty()) {
        std::error_code ec;
        const std::filesystem::path cwd = std::filesystem::current_path(ec);
        return ec ? "noname" + name : (cwd / ("noname" + name)).string();
    }
    return pathWithoutExtension(projectPath) + name;
}

std::string reportText(ReportKind kind, const Workspace& ws, TileKind shownSet, Progress& progress)
{
    const TileSet& set = shownSet == TILE_BG ? ws.tiles.bg : (shownSet == TILE_TAG ? ws.tiles.tag : ws.tiles.obj);
    switch (kind) {
    case ReportKind::Duplicates:
        return duplicateTileReportText(set, shownSet == TILE_BG, progress);
    case ReportKind::Comments:
        return tileCommentReportText(set, shownSet == TILE_BG, ws.project, progress);
    case ReportKind::Palette:
        return paletteReportText(ws.tiles.palettes, ws.project, progress);
    case ReportKind::UnusedBg:
        return unusedTileReportText(ws.project, TILE_BG, progress);
    case ReportKind::UnusedObj:
        return unusedTileReportText(ws.project, TILE_OBJ, progress);
    }
    return {};
}

Result writeReport(ReportKind kind, const Workspace& ws, TileKind shownSet, Progress& progress,
                   ReportWritten& written)
{
    const std::string path = reportFilePath(ws.project.projectPath, reportName(kind, shownSet));
    const std::string text = reportText(kind, ws, shownSet, progress);
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const WriteResult w = writeFileAtomically(path, std::span<const std::uint8_t>(data, text.size())); !w)
        return Result::failure(withOsReason(formatText("Unable to create file %s", path.c_str()), w.error));
    written.path = path;
    const char* done = "";
    switch (kind) {
    case ReportKind::Duplicates:
        done = "'%s' report has been created.";
        break;
    case ReportKind::Comments:
        done = "Comment file '%s' has been created.";
        break;
    case ReportKind::Palette:
        done = "Palette report '%s' has been created.";
        break;
    case ReportKind::UnusedBg:
        done = "Unused BG tile report '%s' has been created.";
        break;
    case ReportKind::UnusedObj:
        done = "Unused OBJ tile report '%s' has been created.";
        break;
    }
    written.message = formatText(done, path.c_str());
    return Result::success();
}

} // namespace qm
