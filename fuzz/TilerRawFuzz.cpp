// The Tiler .raw import: refused when short, otherwise sound tiles and 5-bit colours.

#include "FuzzCheck.h"

#include "core/import/TilerRawImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    auto library = std::make_unique<qm::TileLibrary>();
    const qm::Result r = qm::importTilerRawBytes({bytes, size}, *library, qm::TILE_OBJ);
    FUZZ_CHECK(r.ok() == (size >= qm::TILER_RAW_SIZE));
    fuzz::checkTiles(library->obj, qm::TILE_OBJ);
    fuzz::checkColours(library->palettes.colourGroup(qm::TILE_OBJ));
    return 0;
}
