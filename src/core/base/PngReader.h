#pragma once
// Reads PNG pictures through libspng. The file is treated as hostile: its
// size is checked against a limit before any pixel is decoded, chunks are
// bounded, and every failure comes back as a message instead of a crash.

#include "core/base/Result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qm {

struct PngPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;            // bit depth times channels, as stored in the file
    std::vector<std::uint8_t> rgba;  // 4 bytes a pixel, rows top to bottom
    // For a picture with a colour table: the table index of every pixel;
    // empty otherwise.
    std::vector<std::uint8_t> indices;
};

// The largest picture decoded: 32M pixels (for example 8192 x 4096).
inline constexpr std::int64_t MAX_PNG_PIXELS = std::int64_t(1) << 25;

bool hasPngSignature(std::span<const std::uint8_t> bytes);

struct PngSize {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// The size and depth from the header alone; nothing when it cannot be read.
std::optional<PngSize> readPngSize(std::span<const std::uint8_t> bytes);

// Decodes the whole picture. Failures: "the picture is not a PNG file", "the
// PNG picture is damaged: <reason>", "the picture is W x H pixels; at most N
// pixels can be read".
Result decodePng(std::span<const std::uint8_t> bytes, PngPicture& out);

} // namespace qm
