// The "CTile" clipboard record. An accepted record holds only what a tile can
// take, and encodes and decodes back to the same entries.

#include "FuzzCheck.h"

#include "core/tiles/TileClipboard.h"

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
    return 0;
}
