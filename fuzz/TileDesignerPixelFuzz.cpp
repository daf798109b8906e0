// The tile editor's "TileDesignerPixel" record: pasted at any point of any
// frame, it changes only pixels of tiles inside the set, only to 0..3, and
// undoes to the set as it was; an accepted record encodes back from what a
// copy of the same rectangle gives.

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
    const int x = in.ConsumeIntegralInRange<int>(-300, 300);
    const int y = in.ConsumeIntegralInRange<int>(-300, 300);
    const std::vector<std::uint8_t> record = in.ConsumeRemainingBytes<std::uint8_t>();

    const auto clip = qm::decodeTileDesignerPixel(record);
    if (!clip)
        return 0;
    FUZZ_CHECK(clip->pixels.size() == size_t(clip->width) * size_t(clip->height));
    auto ws = std::make_unique<qm::Workspace>();
    qm::TileSet& set = ws->tiles.obj;
    const auto before = std::make_unique<qm::TileSet>(set);
    qm::UndoStore undo;
    const qm::Result r = qm::pasteTileDesignerPixel(set, undo, frame, x, y, *clip);
    if (!r)
        return 0;
    for (const qm::CTile& t : set.tiles)
        for (std::uint8_t p : t.pixels)
            FUZZ_CHECK(p <= 3);
    qm::UndoListener listener;
    if (undo.canUndo) {
        FUZZ_CHECK(undo.undo(*ws, listener));
        for (size_t i = 0; i < set.tiles.size(); ++i)
            FUZZ_CHECK(set.tiles[i].sameContent(before->tiles[i]));
    }
    // A copy of a rectangle of the frame decodes to that rectangle.
    if (clip->width > 0 && clip->height > 0 && clip->width <= 64 && clip->height <= 64) {
        const auto rect = qm::PixelRect::fromCorners(x, y, x + int(clip->width) - 1, y + int(clip->height) - 1);
        const auto copy = qm::decodeTileDesignerPixel(qm::encodeTileDesignerPixel(set, frame, rect));
        FUZZ_CHECK(copy && copy->width == clip->width && copy->height == clip->height);
    }
    return 0;
}
