#pragma once
// The project commands of the editor (New, Save, Save As, Map Properties,
// opening a handed-over file) and the texts that show the project's state
// (window title, save question, map size line). The editor supplies the
// dialogs; everything decided here is plain data in, plain data out.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

inline constexpr const char* PRODUCT_NAME = "Quilt Mark";
inline constexpr int DEFAULT_MAP_WIDTH = 20;
inline constexpr int DEFAULT_MAP_HEIGHT = 18;

// ---- save question ----------------------------------------------------

// The question asked before unsaved work would be lost; empty for flags 0.
std::string saveQuestionFor(ChangeFlags flags);

// Copies the map view's modified flag into CHANGED_MAP (when there is a
// view), then asks the question of the flags. No question and No for flags 0.
Answer askSaveChanges(ProjectState& state, std::optional<bool> viewModified, Prompter& prompter);

// ---- file names -------------------------------------------------------

// Makes a file name end in ext the way New and Save As do: when the exact
// text ext does not occur, it is appended; otherwise everything after its
// first occurrence is cut off. An empty path stays empty.
std::string withExtension(const std::string& path, std::string_view ext);

enum class OpenFileKind { ObjTileSet, BgTileSet, Project, None };

// The kind of a handed-over file: the first of ".qmo"/".ots", ".qmb"/".bts",
// ".qmm"/".qmd" (exact letter case) found anywhere in the path decides.
OpenFileKind openFileKind(const std::string& path);

// ---- window title -----------------------------------------------------

// Width of a text in the font the title is drawn with.
using TextMeasure = std::function<int(const std::string&)>;

// "Untitled", the whole path when it fits, otherwise the root, the leading
// directories that fit, "...", and the file name ("C:\games\...\level.qmm").
std::string titleProjectPart(const std::string& projectPath, const TextMeasure& measure, int clientWidth);

// "Quilt Mark-[<project>-<zoom>]", with "-*" before the zoom when changed.
std::string buildWindowTitle(const std::string& projectPart, const std::string& zoomText, bool changed);

// "Map size:(%d,%d)".
std::string mapSizeText(const MapGrid& map);

// ---- New ----------------------------------------------------------------

struct NewProjectRequest {
    std::string projectPath;
    std::string bgTileSetPath;
    std::string objTileSetPath;
    int width = DEFAULT_MAP_WIDTH;
    int height = DEFAULT_MAP_HEIGHT;
};

struct TileSetsLoaded {
    bool bg = false;
    bool obj = false;
};

// Takes the paths (project path made to end in ".qmm"), resets the export
// settings, creates the blank map and loads or resets the BG and OBJ tile
// sets (a located file replaces its path), resets the tag set, and clears the
// change flags. A width or height of 0 is raised to 1.
// Failure: "Not enought memory to create %dx%d map".
Result newProject(Workspace& ws, const NewProjectRequest& request, Prompter& prompter, Progress& progress,
                  TileSetsLoaded* loaded = nullptr);

// ---- Save / Save As -------------------------------------------------------

// Save writes directly only when all three paths are set; otherwise it is Save As.
bool canSaveDirectly(const ProjectState& state);

// Writes the project file, then both tile set files, then clears the flags.
// Stops at the first failure with that file's message.
Result saveProject(Workspace& ws, Progress& progress);

struct SavePaths {
    std::string projectPath;
    std::string bgTileSetPath;
    std::string objTileSetPath;
};

// Takes the three paths (made to end in ".qmb", ".qmo", ".qmm"), writes the
// BG and OBJ tile set files whose paths are set, then the project file when
// its path is set. Flags are cleared for what was written.
Result saveProjectAs(Workspace& ws, const SavePaths& paths, Progress& progress);

// ---- Map Properties -------------------------------------------------------

// The question asked when the new size loses part of the map, or none.
std::optional<std::string> shrinkQuestionFor(const MapGrid& map, int width, int height);

enum class MapPropertiesOutcome { Resized, Cancelled, Failed };

// Asks the shrink question when needed; Yes cuts, No keeps the shrinking
// dimension (a growing one still grows), Cancel changes nothing. Sets
// CHANGED_PROJECT unless cancelled. Negative sizes are refused by the dialog.
// Failure message: "Not enough memory to extend the map".
MapPropertiesOutcome applyMapProperties(ProjectState& state, int width, int height, Prompter& prompter,
                                        std::string* failure = nullptr);

// ---- files handed over ----------------------------------------------------

// Opens a tile set file as a new project of a blank 20 x 18 map: the path goes
// into the tile set path of its kind and the file is loaded (a located file
// replaces it). The project path and the other tile sets stay.
Result openTileSetAsProject(Workspace& ws, const std::string& path, TileKind kind, Prompter& prompter,
                            Progress& progress, bool* loaded = nullptr);

} // namespace qm
