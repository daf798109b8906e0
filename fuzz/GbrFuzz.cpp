// The GBTD .gbr import. Whatever the file holds, the target set keeps 512
// tiles of colour indices 0..3 of its own kind, and a refused file changes
// nothing.

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
        const qm::TileSet& set = *library->tileSet(kind);
        if (!r) {
            FUZZ_CHECK(r.text() == qm::MSG_INVALID_GBR);
            for (size_t i = 0; i < set.tiles.size(); ++i)
                FUZZ_CHECK(set.tiles[i].sameContent(before->tiles[i]));
            return 0;
        }
        for (const qm::CTile& t : set.tiles) {
            FUZZ_CHECK(t.kind() == kind);
            for (std::uint8_t p : t.pixels)
                FUZZ_CHECK(p <= 3);
        }
    }
    return 0;
}
