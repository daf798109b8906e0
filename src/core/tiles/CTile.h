#pragma once
// One 8x8 tile: a palette number, a comment of up to 32 characters and 64
// colour indices 0..3, row-major with row 0 at the top.

#include "core/tiles/TileKind.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

struct CTile {
    static constexpr int MAX_COMMENT = 32;

    std::uint8_t attr = 0;          // bits 0-2 palette, 3-5 carried through, 6-7 kind
    std::uint8_t commentLength = 0; // length of comment, 0..32
    char comment[MAX_COMMENT + 1] = {};
    std::array<std::uint8_t, 64> pixels{};
    std::uint16_t index = 0;        // position 0..511 in its set

    std::uint8_t palette() const { return attr & 0x07; }
    void setPalette(int p) { attr = static_cast<std::uint8_t>((attr & ~0x07) | (p & 0x07)); }
    TileKind kind() const { return attr & TILE_KIND_MASK; }

    std::uint8_t pixel(int x, int y) const { return pixels[static_cast<size_t>(y * 8 + x)]; }
    void setPixel(int x, int y, std::uint8_t v) { pixels[static_cast<size_t>(y * 8 + x)] = v; }

    std::string_view commentText() const { return std::string_view(comment, commentLength); }
    // Stores at most 32 characters and keeps commentLength in step.
    void setComment(std::string_view text);

    // Takes 64 colour indices, keeping each within 0..3: whatever a damaged
    // file or another program hands over never reaches the tiles as more.
    void setPixels(const std::array<std::uint8_t, 64>& source);
    void maskPixels();

    // Pixels 0, empty comment; attr and index stay.
    void clearContent();

    // Each moves every pixel by one place, wrapping at the edge.
    void scrollUp();
    void scrollDown();
    void scrollLeft();
    void scrollRight();

    bool sameContent(const CTile& other) const;
};

} // namespace qm
