#pragma once
// The project file (.qmm, also .qmd): the map, the tile set paths, four
// display colours, the export settings, the tag-count mode and the first 256
// tag tiles. Versions 1.0 to 5.6 are read; 5.6 is written.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

inline constexpr std::string_view PROJECT_MAGIC = "Quilt Mark Version ";
inline constexpr std::string_view PROJECT_MAGIC_56 = "Quilt Mark Version 5.6";
inline constexpr std::string_view EXPORT_BLOCK_HEADER = "[Export Setting 1.1]";
inline constexpr std::string_view OLD_EXPORT_BLOCK_HEADER = "[Export Setting]";
inline constexpr int PROJECT_VERSION = 56; // versions are kept in tenths

inline constexpr const char* MSG_INVALID_PROJECT = "Invalid Quiltmark file.";
inline constexpr const char* MSG_INVALID_VERSION = "Invalid version of Quiltmark file.";

// What a project file holds, read into fresh objects. Paths and locations are
// still in their stored form.
struct ProjectFileData {
    int version = PROJECT_VERSION;
    std::string bgStoredPath;
    std::string objStoredPath;
    bool hasPageColours = false; // the two selection colours (version 2.0 on)
    bool hasViewColours = false; // cursor and grid colours
    ProjectColours colours;
    MapGrid map;
    ExportSettings exportSettings;
    bool hasExportBlock = false;
    TileSet tags{TILE_TAG}; // stored tag tiles, or the default pictures before 5.6
};

// Parses a whole project file. current gives the export settings that stay
// where the file has no block (and the flag words an old block keeps).
// Failures: "Invalid Quiltmark file." (wrong prefix, truncated, impossible
// sizes), "Invalid version of Quiltmark file.", "Not enought memory to create
// %dx%d map".
Result parseProjectFile(std::span<const std::uint8_t> bytes, const ExportSettings& current, ProjectFileData& out,
                        Progress& progress);

// Turns the stored paths into native full paths for a project in projectDir:
// bg and obj tile set paths and the three export locations.
struct ResolvedPaths {
    std::string bgTileSetPath;
    std::string objTileSetPath;
    std::string mapLocation;
    std::string tilesetLocation;
    std::string paletteLocation;
};
ResolvedPaths resolveProjectPaths(const ProjectFileData& data, const std::string& projectDir);

// The bytes of a version 5.6 file for the workspace. Empty export locations
// are written as the project directory.
std::vector<std::uint8_t> encodeProject(const Workspace& workspace, Progress& progress);

// Writes the project to projectPath (nothing when it is empty). Empty export
// locations become the project directory. Clears CHANGED_MAP and
// CHANGED_PROJECT. Failure: "Unable to create new map file".
Result writeProject(Workspace& workspace, Progress& progress);

// What readProject did besides its result.
struct ProjectReadInfo {
    // The file replaced the open project: also when the conversion of an old
    // version failed afterwards, never when the file was refused.
    bool takenOver = false;
    bool bgLoaded = false; // the tile set files that loaded
    bool objLoaded = false;
};

// Opens a project file into the workspace: parses it whole first, so a file
// that is refused leaves the workspace exactly as it was; then loads both tile
// set files (asking the prompter to locate a missing one) and, for an old
// version, offers the conversion with a "001" backup copy. A file without an
// export-settings block gets the default settings, its locations in the
// project's directory.
Result readProject(const std::string& path, Workspace& workspace, Prompter& prompter, Progress& progress,
                   ProjectReadInfo* info = nullptr);

// Rewrites the export-settings block inside the project file in place,
// keeping what follows it and bringing tagCountMode up to date.
Result storeExportSettings(ProjectState& state);

// The name of the backup copy of an old file: the path with "001" in place
// of its extension (level.qmm gives level.001; one without gets ".001").
std::string backupPathFor(const std::string& projectPath);

// The directory of a native path, without a trailing separator.
std::string directoryOf(const std::string& path);

} // namespace qm
