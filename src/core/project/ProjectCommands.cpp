#include "core/project/ProjectCommands.h"

#include "core/base/Format.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"

#include <algorithm>
#include <vector>

namespace qm {

namespace {

constexpr int TITLE_MARGIN = 80; // pixels kept free beside the title text

} // namespace

std::string saveQuestionFor(ChangeFlags flags)
{
    switch (flags) {
    case 0:
        return {};
    case 0x04:
        return "Map has been changed, save?";
    case 0x10:
        return "Palette has been changed, save?";
    case 0x40:
        return "BG tile set has been changed, save?";
    case 0x44:
        return "Map & BG tileset have been changed, save?";
    case 0x80:
        return "OBJ tile set has been changed, save?";
    case 0x84:
        return "Map & OBJ tileset have been changed, save?";
    case 0xC0:
        return "Tile sets have been changed, save?";
    case 0xC4:
        return "Map & Tag tileset have been changed, save?";
    default:
        return "Project has been changed, save?";
    }
}

Answer askSaveChanges(ProjectState& state, std::optional<bool> viewModified, Prompter& prompter)
{
    if (viewModified) {
        if (*viewModified)
            state.changeFlags |= CHANGED_MAP;
        else
            state.changeFlags &= static_cast<ChangeFlags>(~CHANGED_MAP);
    }
    if (state.changeFlags == 0)
        return Answer::No;
    return prompter.ask(saveQuestionFor(state.changeFlags), Buttons::YesNoCancel);
}

std::string withExtension(const std::string& path, std::string_view ext)
{
    if (path.empty())
        return path;
    const size_t at = path.find(ext);
    if (at == std::string::npos)
        return path + std::string(ext);
    return path.substr(0, at + ext.size());
}

OpenFileKind openFileKind(const std::string& path)
{
    const auto has = [&](const char* a, const char* b) {
        return path.find(a) != std::string::npos || path.find(b) != std::string::npos;
    };
    if (has(".qmo", ".ots"))
        return OpenFileKind::ObjTileSet;
    if (has(".qmb", ".bts"))
        return OpenFileKind::BgTileSet;
    if (has(".qmm", ".qmd"))
        return OpenFileKind::Project;
    return OpenFileKind::None;
}

std::string titleProjectPart(const std::string& projectPath, const TextMeasure& measure, int clientWidth)
{
    if (projectPath.empty())
        return "Untitled";
    const std::string lead = std::string(PRODUCT_NAME) + "-[";
    const auto fits = [&](const std::string& text) { return measure(lead + text) + TITLE_MARGIN < clientWidth; };
    if (measure(lead + projectPath) + TITLE_MARGIN <= clientWidth)
        return projectPath;

    // A Windows path keeps its drive ("C:\"), any other path its root.
    const bool windowsStyle = projectPath.find('\\') != std::string::npos;
    const char sep = windowsStyle ? '\\' : '/';
    size_t rootLength = 0;
    if (projectPath.size() >= 3 && projectPath[1] == ':')
        rootLength = 3;
    else
        while (rootLength < projectPath.size() && projectPath[rootLength] == sep)
            ++rootLength;
    const std::string root = projectPath.substr(0, rootLength);

    std::vector<std::string> parts;
    size_t from = rootLength;
    while (from <= projectPath.size()) {
        const size_t to = projectPath.find(sep, from);
        parts.push_back(projectPath.substr(from, to == std::string::npos ? std::string::npos : to - from));
        if (to == std::string::npos)
            break;
        from = to + 1;
    }
    const std::string file = parts.back();
    parts.pop_back();
    if (parts.empty())
        return projectPath;

    std::string taken = root;
    size_t count = 0;
    while (count < parts.size() && fits(taken + parts[count] + sep + file)) {
        taken += parts[count] + sep;
        ++count;
    }
    // The last directory taken makes room for the "...".
    if (count > 0)
        --count;
    std::string shortened = root;
    for (size_t i = 0; i < count; ++i)
        shortened += parts[i] + sep;
    return shortened + "..." + sep + file;
}

std::string buildWindowTitle(const std::string& projectPart, const std::string& zoomText, bool changed)
{
    return std::string(PRODUCT_NAME) + "-[" + projectPart + (changed ? "-*" : "-") + zoomText + "]";
}

std::string mapSizeText(const MapGrid& map)
{
    return formatText("Map size:(%d,%d)", map.width, map.height);
}

Result newProject(Workspace& ws, const NewProjectRequest& request, Prompter& prompter, Progress& progress,
                  TileSetsLoaded* loaded)
{
    ProjectState& st = ws.project;
    st.projectPath = withExtension(request.projectPath, ".qmm");
    st.projectDir = st.projectPath.empty() ? std::string() : directoryOf(st.projectPath);
    st.bgTileSetPath = request.bgTileSetPath;
    st.objTileSetPath = request.objTileSetPath;
    st.exportSettings = ExportSettings{};

    const int width = std::max(request.width, 1);
    const int height = std::max(request.height, 1);
    if (!st.map.create(width, height))
        return Result::failure(MapGrid::createFailureText(width, height));

    TileSetsLoaded result;
    for (TileKind kind : {TILE_BG, TILE_OBJ}) {
        std::string& path = kind == TILE_BG ? st.bgTileSetPath : st.objTileSetPath;
        const TileSetLoad load = loadTileSet(path, kind, ws.tiles, prompter, progress);
        if (!load.locatedPath.empty())
            path = load.locatedPath;
        (kind == TILE_BG ? result.bg : result.obj) = load.loaded;
    }
    ws.tiles.resetTileSet(TILE_TAG);
    if (loaded)
        *loaded = result;
    st.clearChanged();
    return Result::success();
}

bool canSaveDirectly(const ProjectState& state)
{
    return !state.projectPath.empty() && !state.bgTileSetPath.empty() && !state.objTileSetPath.empty();
}

Result saveProject(Workspace& ws, Progress& progress)
{
    ProjectState& st = ws.project;
    Result r = writeProject(ws, progress);
    if (!r)
        return r;
    r = saveTileSetFile(st.bgTileSetPath, TILE_BG, ws.tiles, progress);
    if (!r)
        return r;
    st.clearChangedBits(CHANGED_BG_TILES);
    r = saveTileSetFile(st.objTileSetPath, TILE_OBJ, ws.tiles, progress);
    if (!r)
        return r;
    st.clearChanged();
    return Result::success();
}

Result saveProjectAs(Workspace& ws, const SavePaths& paths, Progress& progress)
{
    ProjectState& st = ws.project;
    st.projectPath = paths.projectPath;
    st.bgTileSetPath = paths.bgTileSetPath;
    st.objTileSetPath = paths.objTileSetPath;

    bool bgWritten = false, objWritten = false;
    if (!st.bgTileSetPath.empty()) {
        st.bgTileSetPath = withExtension(st.bgTileSetPath, ".qmb");
        Result r = saveTileSetFile(st.bgTileSetPath, TILE_BG, ws.tiles, progress);
        if (!r)
            return r;
        st.clearChangedBits(CHANGED_BG_TILES);
        bgWritten = true;
    }
    if (!st.objTileSetPath.empty()) {
        st.objTileSetPath = withExtension(st.objTileSetPath, ".qmo");
        Result r = saveTileSetFile(st.objTileSetPath, TILE_OBJ, ws.tiles, progress);
        if (!r)
            return r;
        st.clearChangedBits(CHANGED_OBJ_TILES);
        objWritten = true;
    }
    if (st.projectPath.empty()) {
        // Nothing holds the map yet: only what went into the tile set files
        // counts as saved, so closing still asks about the rest.
        if (bgWritten && objWritten)
            st.clearChangedBits(CHANGED_PALETTE);
        return Result::success();
    }
    st.projectPath = withExtension(st.projectPath, ".qmm");
    st.projectDir = directoryOf(st.projectPath);
    Result r = writeProject(ws, progress);
    if (!r)
        return r;
    st.clearChanged();
    return Result::success();
}

std::optional<std::string> shrinkQuestionFor(const MapGrid& map, int width, int height)
{
    const char* what = nullptr;
    if (height < map.height)
        what = "height";
    else if (width < map.width)
        what = "width";
    if (!what)
        return std::nullopt;
    return formatText("Changing map's %s will result in losing some part of the map, continue ?", what);
}

MapPropertiesOutcome applyMapProperties(ProjectState& state, int width, int height, Prompter& prompter,
                                        std::string* failure)
{
    bool cut = true;
    if (const auto question = shrinkQuestionFor(state.map, width, height)) {
        const Answer answer = prompter.ask(*question, Buttons::YesNoCancel);
        if (answer == Answer::Cancel)
            return MapPropertiesOutcome::Cancelled;
        cut = answer == Answer::Yes;
    }
    const MapGrid::ResizeResult r = state.map.resize(std::max(width, 0), std::max(height, 0), cut);
    state.setChanged(CHANGED_PROJECT);
    if (r == MapGrid::ResizeResult::OutOfMemory) {
        if (failure)
            *failure = "Not enough memory to extend the map";
        return MapPropertiesOutcome::Failed;
    }
    return MapPropertiesOutcome::Resized;
}

Result openTileSetAsProject(Workspace& ws, const std::string& path, TileKind kind, Prompter& prompter,
                            Progress& progress, bool* loaded)
{
    ProjectState& st = ws.project;
    if (!st.map.create(DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT))
        return Result::failure(MapGrid::createFailureText(DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT));
    std::string& target = kind == TILE_OBJ ? st.objTileSetPath : st.bgTileSetPath;
    target = path;
    const TileSetLoad load = loadTileSet(path, kind == TILE_OBJ ? TILE_OBJ : TILE_BG, ws.tiles, prompter, progress);
    if (!load.locatedPath.empty())
        target = load.locatedPath;
    if (loaded)
        *loaded = load.loaded;
    st.clearChanged();
    st.normalisePaths();
    return Result::success();
}

} // namespace qm
