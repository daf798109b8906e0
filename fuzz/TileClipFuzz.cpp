// The "CTile" clipboard record. An accepted record holds only what a tile can
// take, encodes and decodes back to the same entries, and pastes into the
// tile set without leaving it.

#include "FuzzCheck.h"

#include "core/edit/TileEdits.h"
#include "core/tiles/TileClipboard.h"
#include "core/undo/UndoStore.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    const auto entries = qm::decodeTileClip({bytes, size});
    if (!entries)
        return 0;
    for (const qm::TileClipEntry& e : *entries) {
        FUZZ_CHECK(e.palette <= 7);
        FUZZ_CHECK(e.comment.size() <= size_t(qm::CTile::MAX_COMMENT));
        for (std::uint8_t p : e.pixels)
            FUZZ_CHECK(p <= 3);
        // What a paste does with an entry.
        qm::CTile tile;
        tile.setPalette(e.palette);
        tile.pixels = e.pixels;
        tile.setComment(e.comment);
        FUZZ_CHECK(tile.commentLength <= qm::CTile::MAX_COMMENT);
    }
    const std::vector<std::uint8_t> encoded = qm::encodeTileClip(*entries);
    const auto back = qm::decodeTileClip(encoded);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(back->size() == entries->size());
    for (size_t i = 0; i < back->size(); ++i) {
        FUZZ_CHECK((*back)[i].palette == (*entries)[i].palette);
        FUZZ_CHECK((*back)[i].pixels == (*entries)[i].pixels);
        FUZZ_CHECK((*back)[i].comment == (*entries)[i].comment);
    }
    FUZZ_CHECK(qm::encodeTileClip(*back) == encoded);

    // The tile set manager's paste, near the start and near the end of the set.
    for (int first : {int(size % 512), 500}) {
        auto library = std::make_unique<qm::TileLibrary>();
        qm::UndoStore undo;
        const qm::TileEditResult r = qm::pasteTiles(*library, qm::TILE_OBJ, first, *entries, undo);
        FUZZ_CHECK(r.result.ok());
        for (int t : r.tiles)
            FUZZ_CHECK(t >= first && t < qm::TILES_PER_SET);
        for (const qm::CTile& t : library->obj.tiles) {
            FUZZ_CHECK(t.kind() == qm::TILE_OBJ);
            FUZZ_CHECK(t.commentLength <= qm::CTile::MAX_COMMENT && t.comment[t.commentLength] == 0);
            for (std::uint8_t p : t.pixels)
                FUZZ_CHECK(p <= 3);
        }
    }
    return 0;
}
