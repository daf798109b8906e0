// The tile set file reader. A file that decodes is taken into a tile
// library, written, and the written file must decode and write back to the
// same bytes.

#include "FuzzCheck.h"

#include "core/tiles/TileSetFile.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    for (qm::TileKind kind : {qm::TILE_BG, qm::TILE_OBJ}) {
        auto data = std::make_unique<qm::TileSetFileData>();
        if (!qm::decodeTileSetFile({bytes, size}, kind, *data))
            return 0;
        for (const qm::CTile& t : data->set.tiles) {
            FUZZ_CHECK(t.kind() == kind);
            FUZZ_CHECK(t.commentLength <= qm::CTile::MAX_COMMENT);
            FUZZ_CHECK(t.comment[t.commentLength] == 0);
            for (std::uint8_t p : t.pixels)
                FUZZ_CHECK(p <= 3);
        }
        auto library = std::make_unique<qm::TileLibrary>();
        qm::applyTileSetFile(*library, kind, std::move(*data));
        const std::vector<std::uint8_t> first = qm::encodeTileSetFile(*library, kind);

        auto again = std::make_unique<qm::TileSetFileData>();
        FUZZ_CHECK(qm::decodeTileSetFile(first, kind, *again));
        auto library2 = std::make_unique<qm::TileLibrary>();
        qm::applyTileSetFile(*library2, kind, std::move(*again));
        FUZZ_CHECK(qm::encodeTileSetFile(*library2, kind) == first);
    }
    return 0;
}
