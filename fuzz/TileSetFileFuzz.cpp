// The tile set file reader: what decodes is taken over and writes back to the same bytes.

#include "FuzzCheck.h"

#include "core/tiles/TileSetFile.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    for (qm::TileKind kind : {qm::TILE_BG, qm::TILE_OBJ}) {
        auto data = std::make_unique<qm::TileSetFileData>();
        if (!qm::decodeTileSetFile({bytes, size}, kind, *data))
            return 0;
        fuzz::checkTiles(data->set, kind);
        auto library = std::make_unique<qm::TileLibrary>();
        qm::applyTileSetFile(*library, kind, std::move(*data));
        fuzz::checkColours(library->palettes.colourGroup(kind));
        const std::vector<std::uint8_t> first = qm::encodeTileSetFile(*library, kind);
        auto again = std::make_unique<qm::TileSetFileData>();
        FUZZ_CHECK(qm::decodeTileSetFile(first, kind, *again));
        qm::applyTileSetFile(*library, kind, std::move(*again));
        FUZZ_CHECK(qm::encodeTileSetFile(*library, kind) == first);
    }
    return 0;
}
