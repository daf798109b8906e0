// Import > Map Attribute onto a map of any size: layer marks and tile numbers stay sound.

#include "FuzzCheck.h"

#include "core/import/AttributeFileImport.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const int mapW = in.ConsumeIntegralInRange<int>(0, 40);
    const int mapH = in.ConsumeIntegralInRange<int>(0, 40);
    const qm::TileKind layer = in.ConsumeBool() ? qm::TILE_BG : qm::TILE_OBJ;
    const std::uint16_t startTile = in.ConsumeIntegralInRange<std::uint16_t>(0, 511);
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();
    qm::ProjectState project;
    FUZZ_CHECK(project.map.create(mapW, mapH));
    for (qm::MapCell& c : project.map.cells)
        c.set(qm::TILE_BG, startTile, qm::TILE_OBJ, startTile, 0);
    qm::NullProgress progress;
    FUZZ_CHECK(qm::importAttributeBytes(file, project, layer, progress).ok());
    for (const qm::MapCell& c : project.map.cells) {
        FUZZ_CHECK((c.bgAttr & qm::TILE_KIND_MASK) == qm::TILE_BG && (c.objAttr & qm::TILE_KIND_MASK) == qm::TILE_OBJ);
        FUZZ_CHECK(c.bgTile < qm::TILES_PER_SET && c.objTile < qm::TILES_PER_SET);
    }
    return 0;
}
