// The GBTD .gbr import: the target set keeps sound tiles of its kind; a refused file changes nothing.

#include "FuzzCheck.h"

#include "core/import/GbrImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    for (qm::TileKind kind : {qm::TILE_BG, qm::TILE_OBJ, qm::TILE_TAG}) {
        auto library = std::make_unique<qm::TileLibrary>();
        library->tileSet(kind)->tiles[5].pixels.fill(2);
        const auto before = std::make_unique<qm::TileSet>(*library->tileSet(kind));
        const qm::Result r = qm::importGbrBytes({bytes, size}, *library, kind);
        FUZZ_CHECK(r || (r.text() == qm::MSG_INVALID_GBR && fuzz::sameTiles(*library->tileSet(kind), *before)));
        fuzz::checkTiles(*library->tileSet(kind), kind);
    }
    return 0;
}
