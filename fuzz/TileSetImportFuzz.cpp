// Import > Tile set, range and current tile from the end of the input: only pixels, only 0..3.

#include "FuzzCheck.h"

#include "core/import/TileSetImport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const auto format = in.ConsumeBool() ? qm::TileSourceFormat::TileSetFile : qm::TileSourceFormat::Binary;
    qm::TileSetImportRequest request;
    request.target = in.ConsumeBool() ? qm::TILE_BG : qm::TILE_OBJ;
    // Mostly small numbers, sometimes anything a 64-bit field can hold.
    auto number = [&in]() -> long long {
        return in.ConsumeBool() ? in.ConsumeIntegral<long long>() : in.ConsumeIntegralInRange<long long>(-2, 1100);
    };
    request.fromTile = number();
    request.toTile = number();
    request.currentTile = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(0, 511);
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();
    auto ws = std::make_unique<qm::Workspace>();
    for (qm::TileSet* set : {&ws->tiles.bg, &ws->tiles.obj})
        for (qm::CTile& t : set->tiles) {
            t.setPalette(5);
            t.setComment("keep");
        }
    qm::FixedPrompter prompter;
    (void)qm::checkTileImportRange(request.fromTile, request.toTile, file.size());
    (void)qm::importTilePixels(file, format, request, *ws, prompter);
    for (qm::TileSet* set : {&ws->tiles.bg, &ws->tiles.obj}) {
        fuzz::checkTiles(*set, set->kind());
        for (const qm::CTile& t : set->tiles)
            FUZZ_CHECK(t.palette() == 5 && t.commentText() == "keep");
    }
    return 0;
}
