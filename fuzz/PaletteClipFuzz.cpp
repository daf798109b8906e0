// The "CMyPropertyPagePal" record: 5-bit colours from any swatch, copies back to itself, undoes.

#include "FuzzCheck.h"

#include "core/edit/SwatchEdits.h"
#include "core/tiles/PaletteClipboard.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const int first = in.ConsumeIntegralInRange<int>(0, 63);
    const std::vector<std::uint8_t> record = in.ConsumeRemainingBytes<std::uint8_t>();
    const auto clip = qm::decodePaletteClip(record);
    if (!clip)
        return 0;
    FUZZ_CHECK(clip->colours.size() == size_t(std::popcount(clip->mask)));
    auto ws = std::make_unique<qm::Workspace>();
    qm::PaletteStore& store = ws->tiles.palettes;
    const qm::PaletteStore before = store;
    qm::UndoStore undo;
    (void)qm::pasteSwatches(store, first, *clip, undo);
    fuzz::checkColours(store.bgPalettes);
    fuzz::checkColours(store.objPalettes);
    // The swatches that took a colour, copied again, give the same colours.
    const std::uint64_t filled = clip->mask << first;
    if (clip->mask != 0 && filled >> first == clip->mask) {
        const auto again = qm::decodePaletteClip(qm::encodePaletteClip(store, filled));
        // A copy starts its mask at the first copied swatch.
        FUZZ_CHECK(again && again->mask == clip->mask >> std::countr_zero(clip->mask));
        FUZZ_CHECK(again->colours == clip->colours);
    }
    fuzz::undoStep(undo, *ws);
    FUZZ_CHECK(store.bgPalettes == before.bgPalettes && store.objPalettes == before.objPalettes);
    return 0;
}
