#include "core/tiles/PaletteClipboard.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"

#include <algorithm>
#include <bit>

namespace qm {

GbcColor& swatchColour(PaletteStore& store, int swatch)
{
    swatch &= 63;
    return store.row(swatch / 4)[static_cast<size_t>(swatch % 4)];
}

const GbcColor& swatchColour(const PaletteStore& store, int swatch)
{
    return swatchColour(const_cast<PaletteStore&>(store), swatch);
}

int lowestSwatch(std::uint64_t mask) { return std::countr_zero(mask); }

std::vector<std::uint8_t> encodePaletteClip(const PaletteStore& store, std::uint64_t selection)
{
    const int first = lowestSwatch(selection);
    const std::uint64_t mask = first < 64 ? selection >> first : 0;
    ByteWriter w;
    w.u32(static_cast<std::uint32_t>(mask));
    w.u32(static_cast<std::uint32_t>(mask >> 32));
    for (int s = first; s < 64; ++s) {
        if (!(selection >> s & 1))
            continue;
        const GbcColor& c = swatchColour(store, s);
        w.u8(c.red);
        w.u8(c.green);
        w.u8(c.blue);
    }
    return w.take();
}

std::optional<PaletteClip> decodePaletteClip(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    std::uint32_t low = 0, high = 0;
    if (!r.u32(low) || !r.u32(high))
        return std::nullopt;
    PaletteClip clip;
    clip.mask = (std::uint64_t(high) << 32) | low;
    const std::size_t count = static_cast<std::size_t>(std::popcount(clip.mask));
    if (r.remaining() < count * 3)
        return std::nullopt;
    clip.colours.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t rgb[3] = {};
        r.u8(rgb[0]);
        r.u8(rgb[1]);
        r.u8(rgb[2]);
        for (auto& v : rgb)
            v = std::min<std::uint8_t>(v, 31);
        clip.colours.push_back(GbcColor{rgb[0], rgb[1], rgb[2]});
    }
    return clip;
}

} // namespace qm
