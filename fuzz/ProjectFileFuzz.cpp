// The project file reader: what parses is taken over as Open does, and writes back to the same bytes.

#include "FuzzCheck.h"

#include "core/project/ProjectFile.h"

#include <memory>

namespace {

std::unique_ptr<qm::Workspace> takeOver(qm::ProjectFileData& data)
{
    auto ws = std::make_unique<qm::Workspace>();
    qm::ProjectState& st = ws->project;
    st.projectPath = "/home/user/games/level1/level.qmm";
    st.projectDir = qm::directoryOf(st.projectPath);
    const qm::ResolvedPaths paths = qm::resolveProjectPaths(data, st.projectDir);
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
        ws->colours = data.colours;
    } else if (data.hasViewColours) {
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
    if (!qm::parseProjectFile({bytes, size}, qm::ExportSettings{}, *data, progress))
        return 0;
    FUZZ_CHECK(data->map.cells.size() == size_t(data->map.width) * size_t(data->map.height));
    const std::vector<std::uint8_t> first = qm::encodeProject(*takeOver(*data), progress);
    auto again = std::make_unique<qm::ProjectFileData>();
    FUZZ_CHECK(qm::parseProjectFile(first, qm::ExportSettings{}, *again, progress).ok());
    FUZZ_CHECK(again->version == qm::PROJECT_VERSION);
    FUZZ_CHECK(qm::encodeProject(*takeOver(*again), progress) == first);
    return 0;
}
