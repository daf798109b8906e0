// The "CTile" record, pasted by the manager and (as "TileDesigner") into a frame: sound and undone.

#include "FuzzCheck.h"

#include "core/edit/TileDesignerClip.h"
#include "core/edit/TileEdits.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    const auto entries = qm::decodeTileClip({bytes, size});
    if (!entries)
        return 0;
    for (const qm::TileClipEntry& e : *entries) {
        FUZZ_CHECK(e.palette <= 7 && e.comment.size() <= size_t(qm::CTile::MAX_COMMENT));
        for (std::uint8_t p : e.pixels)
            FUZZ_CHECK(p <= 3);
    }
    const std::vector<std::uint8_t> encoded = qm::encodeTileClip(*entries);
    // The record holds every field, so equal records are equal entries.
    const auto back = qm::decodeTileClip(encoded);
    FUZZ_CHECK(back && qm::encodeTileClip(*back) == encoded);

    // The manager's paste, near the start and near the end of the set.
    for (int first : {int(size % 512), 500}) {
        auto ws = std::make_unique<qm::Workspace>();
        qm::UndoStore undo;
        const qm::TileEditResult r = qm::pasteTiles(ws->tiles, qm::TILE_OBJ, first, *entries, undo);
        FUZZ_CHECK(r.result.ok());
        for (int t : r.tiles)
            FUZZ_CHECK(t >= first && t < qm::TILES_PER_SET);
        fuzz::checkTiles(ws->tiles.obj, qm::TILE_OBJ);
    }
    // The editor's paste into a frame the input's size picks.
    const qm::TileFrame frame{int(size % 512), 1 + int(size % 30), 1 + int(size / 30 % 16)};
    auto ws = std::make_unique<qm::Workspace>();
    const auto before = std::make_unique<qm::TileSet>(ws->tiles.bg);
    qm::UndoStore undo;
    FUZZ_CHECK(qm::pasteTileDesigner(ws->tiles.bg, undo, frame, *entries));
    fuzz::checkTiles(ws->tiles.bg, qm::TILE_BG);
    FUZZ_CHECK(qm::decodeTileClip(qm::encodeTileDesigner(ws->tiles.bg, frame)).has_value());
    fuzz::undoStep(undo, *ws);
    FUZZ_CHECK(fuzz::sameTiles(ws->tiles.bg, *before));
    return 0;
}
