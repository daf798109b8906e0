#include "core/tiles/MapClipTiles.h"

#include "core/base/ByteReader.h"

namespace qm {

std::optional<std::vector<MapClipTile>> decodeMapClipTiles(std::span<const std::uint8_t> bytes)
{
    constexpr std::size_t ENTRY = 13;
    ByteReader r(bytes);
    std::uint32_t raw = 0;
    if (!r.u32(raw))
        return std::nullopt;
    const auto count = static_cast<std::int32_t>(raw);
    if (count < 0 || static_cast<std::size_t>(count) > r.remaining() / ENTRY)
        return std::nullopt;
    std::vector<MapClipTile> out;
    out.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t dx = 0, dy = 0, value = 0;
        MapClipTile e;
        if (!r.u32(dx) || !r.u32(dy) || !r.u8(e.attr) || !r.u32(value))
            return std::nullopt;
        e.value = static_cast<std::int32_t>(value);
        out.push_back(e);
    }
    return out;
}

} // namespace qm
