#pragma once
// The text lines beside the picture in the bitmap file dialog's preview
// panel: width, height, colours by bits per pixel, size, and what the import
// would make.

#include "core/import/BitmapImport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qm {

struct BitmapPreviewInfo {
    int width = 0;
    int height = 0; // rows, whatever their order
    int bitsPerPixel = 0;
};

// The sizes from a bitmap's or a PNG picture's headers, or nothing when they
// cannot be read.
std::optional<BitmapPreviewInfo> readBitmapPreviewInfo(std::span<const std::uint8_t> bytes);

// "Width: %d pixels", "Height: %d pixels", the colour line (1: "Colors: 2
// (monocromatic)", 4: "Colors: 16", 8: "Colors: 256", 16: "Colors: 65,536",
// 24: "Colors: 16 millions", otherwise empty) and "Size: %ld Kb".
std::array<std::string, 4> bitmapPreviewLines(const BitmapPreviewInfo& info, std::uint64_t fileSize);

// "Tiles: 187 (bank 1: 0), palettes: 3" for the picture imported with the
// options, or the first line of the reason it would be refused.
std::string importPreviewLine(const BitmapImage& image, const PictureImportOptions& options);

} // namespace qm
