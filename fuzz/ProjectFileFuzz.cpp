// The project file reader. A file that parses is taken over the way Open
// takes it (paths resolved for a project directory), written again, and the
// written file must parse and write back to the same bytes.

#include "FuzzCheck.h"

#include "core/project/ProjectFile.h"

#include <memory>

namespace {

const std::string PROJECT_PATH = "/home/user/games/level1/level.qmm";

std::unique_ptr<qm::Workspace> takeOver(qm::ProjectFileData& data)
{
    auto ws = std::make_unique<qm::Workspace>();
    qm::ProjectState& st = ws->project;
    const std::string dir = qm::directoryOf(PROJECT_PATH);
    const qm::ResolvedPaths paths = qm::resolveProjectPaths(data, dir);
    st.projectPath = PROJECT_PATH;
    st.projectDir = dir;
    st.bgTileSetPath = paths.bgTileSetPath;
    st.objTileSetPath = paths.objTileSetPath;
    st.map = std::move(data.map);
    st.exportSettings = data.exportSettings;
    st.exportSettings.mapLocation = paths.mapLocation;
    st.exportSettings.tilesetLocation = paths.tilesetLocation;
    st.exportSettings.paletteLocation = paths.paletteLocation;
    st.normalisePaths();
    ws->tiles.tag = data.tags;
    if (data.hasPageColours) {
        ws->colours.bgSelection = data.colours.bgSelection;
        ws->colours.objSelection = data.colours.objSelection;
    }
    if (data.hasViewColours) {
        ws->colours.cursor = data.colours.cursor;
        ws->colours.grid = data.colours.grid;
    }
    return ws;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    qm::NullProgress progress;
    auto data = std::make_unique<qm::ProjectFileData>();
    const qm::ExportSettings current;
    if (!qm::parseProjectFile({bytes, size}, current, *data, progress))
        return 0;
    FUZZ_CHECK(data->map.cells.size() == size_t(data->map.width) * size_t(data->map.height));

    auto ws = takeOver(*data);
    const std::vector<std::uint8_t> first = qm::encodeProject(*ws, progress);

    auto again = std::make_unique<qm::ProjectFileData>();
    FUZZ_CHECK(qm::parseProjectFile(first, current, *again, progress).ok());
    FUZZ_CHECK(again->version == qm::PROJECT_VERSION);
    auto ws2 = takeOver(*again);
    FUZZ_CHECK(ws2->project.map.width == ws->project.map.width);
    FUZZ_CHECK(ws2->project.map.height == ws->project.map.height);
    const std::vector<std::uint8_t> second = qm::encodeProject(*ws2, progress);
    FUZZ_CHECK(first == second);
    return 0;
}
