// The Tiler .raw import: refused when short, otherwise tiles 0..359 get
// colour indices 0..3 and palettes 0..7 and the colours stay 5-bit.

#include "FuzzCheck.h"

#include "core/import/TilerRawImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    auto library = std::make_unique<qm::TileLibrary>();
    const qm::Result r = qm::importTilerRawBytes({bytes, size}, *library, qm::TILE_OBJ);
    FUZZ_CHECK(r.ok() == (size >= qm::TILER_RAW_SIZE));
    for (const qm::CTile& t : library->obj.tiles) {
        FUZZ_CHECK(t.kind() == qm::TILE_OBJ);
        for (std::uint8_t p : t.pixels)
            FUZZ_CHECK(p <= 3);
    }
    for (const qm::GbcPalette& p : library->palettes.colourGroup(qm::TILE_OBJ))
        for (const qm::GbcColor& c : p)
            FUZZ_CHECK(c.red <= 31 && c.green <= 31 && c.blue <= 31);
    return 0;
}
