// The "CQuiltmarkView" record: encodes back, pastes anywhere, undoes; the manager's paste stays in the set.

#include "FuzzCheck.h"

#include "core/edit/MapClipboard.h"
#include "core/edit/TileEdits.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const qm::TileKind layers[] = {qm::TILE_BG, qm::TILE_OBJ, qm::TILE_TAG};
    const qm::TileKind layer = layers[in.ConsumeIntegralInRange<int>(0, 2)];
    const qm::CellPos cursor{in.ConsumeIntegralInRange<int>(-3, 40), in.ConsumeIntegralInRange<int>(-3, 40)};
    const int mapW = in.ConsumeIntegralInRange<int>(1, 32);
    const int mapH = in.ConsumeIntegralInRange<int>(1, 32);
    const std::vector<std::uint8_t> record = in.ConsumeRemainingBytes<std::uint8_t>();
    const auto entries = qm::decodeClipboard(record.data(), record.size());
    if (!entries)
        return 0;
    FUZZ_CHECK(qm::encodeClipboard(*entries) == record);

    auto ws = std::make_unique<qm::Workspace>();
    FUZZ_CHECK(ws->project.map.create(mapW, mapH));
    const qm::MapGrid before = ws->project.map;
    qm::MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.reset();
    renderer.renderAll();
    qm::UndoStore undo;
    qm::MapEdit edit{*ws, undo, renderer, layer};
    FUZZ_CHECK(qm::pasteCells(edit, *entries, cursor).ok());
    FUZZ_CHECK(ws->project.map.width == mapW && ws->project.map.height == mapH);
    renderer.renderAll();
    fuzz::undoStep(undo, *ws);
    FUZZ_CHECK(ws->project.map.cells == before.cells);

    // The tile set manager takes the pixels of the tiles the entries name.
    const int first = (cursor.x * 37 + cursor.y) & 511;
    qm::UndoStore tileUndo;
    const qm::TileEditResult t = qm::pasteMapTiles(ws->tiles, layer == qm::TILE_OBJ ? layer : qm::TILE_BG, first,
                                                   *entries, tileUndo);
    FUZZ_CHECK(t.result.ok());
    for (int tile : t.tiles)
        FUZZ_CHECK(tile >= first && tile < qm::TILES_PER_SET);
    return 0;
}
