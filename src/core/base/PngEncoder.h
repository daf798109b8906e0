#pragma once
// A small PNG writer for 8-bit palette images: the command-line tool saves
// rendered maps with it. Compression is run-length coding with the fixed
// deflate codes, which suits the large flat areas of tile maps.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm {

struct PngColour {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// width x height pixels, each an index into palette (1..256 entries), rows
// stride bytes apart. Empty for a zero size or a palette out of range.
std::vector<std::uint8_t> encodeIndexedPng(int width, int height, const std::uint8_t* pixels, std::size_t stride,
                                           std::span<const PngColour> palette);

// The CRC-32 of PNG chunks and zip files.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

} // namespace qm
