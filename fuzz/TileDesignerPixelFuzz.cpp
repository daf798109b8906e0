// The "TileDesignerPixel" record pasted anywhere over any frame: sound tiles, undone to the set.

#include "FuzzCheck.h"

#include "core/edit/TileDesignerClip.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const qm::TileFrame frame{in.ConsumeIntegralInRange<int>(0, 511), in.ConsumeIntegralInRange<int>(1, 30),
                              in.ConsumeIntegralInRange<int>(1, 16)};
    const int x = in.ConsumeIntegralInRange<int>(-300, 300);
    const int y = in.ConsumeIntegralInRange<int>(-300, 300);
    const std::vector<std::uint8_t> record = in.ConsumeRemainingBytes<std::uint8_t>();
    const auto clip = qm::decodeTileDesignerPixel(record);
    if (!clip)
        return 0;
    FUZZ_CHECK(clip->pixels.size() == size_t(clip->width) * size_t(clip->height));
    auto ws = std::make_unique<qm::Workspace>();
    const auto before = std::make_unique<qm::TileSet>(ws->tiles.obj);
    qm::UndoStore undo;
    FUZZ_CHECK(qm::pasteTileDesignerPixel(ws->tiles.obj, undo, frame, x, y, *clip));
    fuzz::checkTiles(ws->tiles.obj, qm::TILE_OBJ);
    // A copy of a rectangle of the frame decodes to that rectangle.
    if (clip->width > 0 && clip->height > 0 && clip->width <= 64 && clip->height <= 64) {
        const auto rect = qm::PixelRect::fromCorners(x, y, x + int(clip->width) - 1, y + int(clip->height) - 1);
        const auto copy = qm::decodeTileDesignerPixel(qm::encodeTileDesignerPixel(ws->tiles.obj, frame, rect));
        FUZZ_CHECK(copy && copy->width == clip->width && copy->height == clip->height);
    }
    fuzz::undoStep(undo, *ws);
    FUZZ_CHECK(fuzz::sameTiles(ws->tiles.obj, *before));
    return 0;
}
