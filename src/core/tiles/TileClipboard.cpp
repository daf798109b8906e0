#include "core/tiles/TileClipboard.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"

#include <algorithm>

namespace qm {

std::vector<std::uint8_t> encodeTileClip(std::span<const CTile* const> tiles)
{
    std::vector<TileClipEntry> entries;
    entries.reserve(tiles.size());
    for (const CTile* t : tiles) {
        TileClipEntry e;
        e.palette = t->palette();
        e.pixels = t->pixels;
        e.comment = std::string(t->commentText());
        entries.push_back(std::move(e));
    }
    return encodeTileClip(entries);
}

std::vector<std::uint8_t> encodeTileClip(const std::vector<TileClipEntry>& entries)
{
    ByteWriter w;
    w.u32(static_cast<std::uint32_t>(entries.size()));
    for (const TileClipEntry& e : entries) {
        w.u8(e.palette & 0x07);
        w.bytes(e.pixels.data(), e.pixels.size());
        const size_t n = std::min<size_t>(e.comment.size(), CTile::MAX_COMMENT);
        w.u8(static_cast<std::uint8_t>(n));
        w.bytes(e.comment.data(), n);
    }
    return w.take();
}

std::optional<std::vector<TileClipEntry>> decodeTileClip(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    std::uint32_t count = 0;
    if (!r.u32(count))
        return std::nullopt;
    // Each entry takes at least 66 bytes: refuse counts the data cannot hold.
    if (count > r.remaining() / 66)
        return std::nullopt;
    std::vector<TileClipEntry> out;
    out.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        TileClipEntry e;
        std::uint8_t n = 0;
        if (!r.u8(e.palette) || !r.bytes(e.pixels.data(), 64) || !r.u8(n))
            return std::nullopt;
        std::string comment;
        if (!r.text(comment, n))
            return std::nullopt;
        e.palette &= 0x07;
        // Pixels are colour indices 0..3; whatever else another program put
        // on the clipboard must not reach the tiles.
        for (std::uint8_t& p : e.pixels)
            p &= 3;
        if (comment.size() > CTile::MAX_COMMENT)
            comment.resize(CTile::MAX_COMMENT);
        e.comment = std::move(comment);
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace qm
