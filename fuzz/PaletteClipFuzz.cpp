// The palette page's "CMyPropertyPagePal" clipboard record. An accepted
// record pasted from any swatch leaves 5-bit colours everywhere, encodes back
// from the swatches it filled, and undoes to the palettes as they were.

#include "FuzzCheck.h"

#include "core/edit/SwatchEdits.h"
#include "core/tiles/PaletteClipboard.h"
#include "core/undo/UndoStore.h"

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
    for (int s = 0; s < 64; ++s) {
        const qm::GbcColor& c = qm::swatchColour(store, s);
        FUZZ_CHECK(c.red <= 31 && c.green <= 31 && c.blue <= 31);
    }
    // The swatches that took a colour, copied again, give the same colours.
    const std::uint64_t filled = first < 64 ? clip->mask << first : 0;
    const std::uint64_t kept = first > 0 ? filled >> first : filled;
    if (kept == clip->mask && clip->mask != 0) {
        const auto again = qm::decodePaletteClip(qm::encodePaletteClip(store, filled));
        // A copy starts its mask at the first copied swatch.
        FUZZ_CHECK(again && again->mask == clip->mask >> std::countr_zero(clip->mask));
        for (size_t i = 0; i < clip->colours.size(); ++i)
            FUZZ_CHECK(again->colours[i] == clip->colours[i]);
    }
    if (undo.canUndo) {
        qm::UndoListener listener;
        FUZZ_CHECK(undo.undo(*ws, listener));
        for (int s = 0; s < 64; ++s)
            FUZZ_CHECK(qm::swatchColour(store, s) == qm::swatchColour(before, s));
    }
    return 0;
}
