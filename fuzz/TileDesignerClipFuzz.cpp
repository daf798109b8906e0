// The tile editor's "TileDesigner" record (a "CTile" record laid over the
// frame): pasted into any frame of the set, it changes only tiles inside the
// set, leaves colour indices 0..3, palettes 0..7 and comments of at most 32
// characters, and undoes to the set as it was.

#include "FuzzCheck.h"

#include "core/edit/TileDesignerClip.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    qm::TileFrame frame;
    frame.start = in.ConsumeIntegralInRange<int>(0, 511);
    frame.width = in.ConsumeIntegralInRange<int>(1, 30);
    frame.height = in.ConsumeIntegralInRange<int>(1, 16);
    const std::vector<std::uint8_t> record = in.ConsumeRemainingBytes<std::uint8_t>();

    const auto entries = qm::decodeTileClip(record);
    if (!entries)
        return 0;
    auto ws = std::make_unique<qm::Workspace>();
    qm::TileSet& set = ws->tiles.bg;
    const auto before = std::make_unique<qm::TileSet>(set);
    qm::UndoStore undo;
    const qm::Result r = qm::pasteTileDesigner(set, undo, frame, *entries);
    if (!r)
        return 0;
    for (const qm::CTile& t : set.tiles) {
        FUZZ_CHECK(t.kind() == qm::TILE_BG);
        FUZZ_CHECK(t.commentLength <= qm::CTile::MAX_COMMENT && t.comment[t.commentLength] == 0);
        for (std::uint8_t p : t.pixels)
            FUZZ_CHECK(p <= 3);
    }
    qm::UndoListener listener;
    if (undo.canUndo) {
        FUZZ_CHECK(undo.undo(*ws, listener));
        for (size_t i = 0; i < set.tiles.size(); ++i)
            FUZZ_CHECK(set.tiles[i].sameContent(before->tiles[i]));
    }
    // What a copy of the frame gives decodes again.
    FUZZ_CHECK(qm::decodeTileClip(qm::encodeTileDesigner(set, frame)).has_value());
    return 0;
}
