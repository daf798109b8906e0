#pragma once
// The text reports written beside the project file: duplicated tiles, tile
// comments, palettes, unused BG tiles and unused OBJ tiles. Every line ends
// with CR LF. Each report names its file by appending its own name to the
// project path without its extension, or to "noname" in the current
// directory while the project is untitled.

#include "core/base/Progress.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <string>

namespace qm {

enum class ReportKind { Duplicates, Comments, Palette, UnusedBg, UnusedObj };

// The report's own name ("RepeatBG.txt", "CommentOBJ.txt", "PaletteRpt.txt",
// ...). shownSet is the tile set of the page shown in the tile set manager:
// the BG names for TILE_BG, the OBJ names for any other.
std::string reportName(ReportKind kind, TileKind shownSet);

// projectPath without its extension (only a real one, of its file name)
// followed by name, or "noname" followed by name in the current directory.
std::string reportFilePath(const std::string& projectPath, const std::string& name);

// The text of a report, with its progress window.
std::string reportText(ReportKind kind, const Workspace& workspace, TileKind shownSet, Progress& progress);

struct ReportWritten {
    std::string path;    // the file written
    std::string message; // what the user is told afterwards
};

// Builds and writes the report. Failure: "Unable to create file %s"; nothing is written then.
Result writeReport(ReportKind kind, const Workspace& workspace, TileKind shownSet, Progress& progress,
                   ReportWritten& written);

} // namespace qm
