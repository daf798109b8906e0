// Import > Palette: any file gives 5-bit colours in the chosen group.

#include "FuzzCheck.h"

#include "core/import/PaletteFileImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    for (qm::TileKind kind : {qm::TILE_BG, qm::TILE_OBJ}) {
        auto ws = std::make_unique<qm::Workspace>();
        qm::NullProgress progress;
        FUZZ_CHECK(qm::importPaletteBytes({bytes, size}, *ws, kind, progress).ok());
        fuzz::checkColours(ws->tiles.palettes.colourGroup(kind));
    }
    return 0;
}
