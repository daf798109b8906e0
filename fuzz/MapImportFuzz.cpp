// Import > Map at any cursor, size and orientation (taken from the end of the input).

#include "FuzzCheck.h"

#include "core/import/MapImport.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    qm::MapImportOptions o;
    o.width = in.ConsumeIntegralInRange<int>(-2, 70);
    o.height = in.ConsumeIntegralInRange<int>(-2, 70);
    o.swapBytes = in.ConsumeBool();
    o.orientation = static_cast<qm::MapOrientation>(in.ConsumeIntegralInRange<int>(0, 3));
    o.cursorX = in.ConsumeIntegralInRange<int>(-5, 80);
    o.cursorY = in.ConsumeIntegralInRange<int>(-5, 80);
    const qm::TileKind layers[] = {qm::TILE_BG, qm::TILE_OBJ, qm::TILE_TAG, qm::TILE_NONE, 0x01};
    o.layer = layers[in.ConsumeIntegralInRange<int>(0, 4)];
    const int mapW = in.ConsumeIntegralInRange<int>(0, 40);
    const int mapH = in.ConsumeIntegralInRange<int>(0, 40);
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();
    qm::ProjectState project;
    FUZZ_CHECK(project.map.create(mapW, mapH));
    qm::NullProgress progress;
    const qm::Result r = qm::importMapBytes(file, o, project, progress);
    const qm::MapGrid& map = project.map;
    FUZZ_CHECK(map.cells.size() == size_t(map.width) * size_t(map.height));
    if (!r)
        FUZZ_CHECK(map.width == mapW && map.height == mapH);
    else
        FUZZ_CHECK(map.width >= std::max(mapW, o.width) && map.height >= std::max(mapH, o.height));
    return 0;
}
