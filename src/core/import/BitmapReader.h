#pragma once
// Our own reader of Windows bitmap files (.bmp). It handles 1-, 4- and 8-bit
// pictures, uncompressed or run-length compressed (RLE8, RLE4), bottom-up and
// top-down rows, and deeper pictures (16, 24, 32 bits, with or without
// bit-field masks). The data is treated as hostile: nothing is read outside
// it and absurd sizes are refused before anything is allocated.

#include <cstdint>
#include <span>
#include <vector>

namespace qm {

// Colours are 0x00RRGGBB.
struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // row-major, row 0 is the top row as seen on screen
    // The colour table index of every pixel, for pictures read with their
    // table kept (PNG pictures with a colour table); empty otherwise.
    std::vector<std::uint8_t> indices;

    std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

enum class BitmapReadStatus {
    Ok,
    NotBitmap,      // no "BM" signature, or a header that cannot be read
    TooManyColours, // an indexed picture declares a colour table of more than 256 entries
    Damaged,        // the header is readable but the picture cannot be decoded
};

// The largest picture we decode: 32M pixels (for example 8192 x 4096).
inline constexpr std::int64_t MAX_BITMAP_PIXELS = std::int64_t(1) << 25;

BitmapReadStatus decodeBitmap(std::span<const std::uint8_t> bytes, BitmapImage& out);

} // namespace qm
