#include "core/import/BitmapPreview.h"

#include "core/base/ByteReader.h"
#include "core/base/Format.h"
#include "core/base/PngReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace qm {

std::optional<BitmapPreviewInfo> readBitmapPreviewInfo(std::span<const std::uint8_t> bytes)
{
    if (const std::optional<PngSize> png = readPngSize(bytes))
        return BitmapPreviewInfo{png->width, png->height, png->bitsPerPixel};
    ByteReader r(bytes);
    std::int32_t width = 0, height = 0;
    std::uint16_t bits = 0;
    if (!r.match("BM") || !r.seek(18) || !r.i32(width) || !r.i32(height) || !r.skip(2) || !r.u16(bits))
        return std::nullopt;
    BitmapPreviewInfo info;
    info.width = width;
    info.height = height == INT32_MIN ? INT32_MAX : std::abs(height);
    info.bitsPerPixel = bits;
    return info;
}

std::array<std::string, 4> bitmapPreviewLines(const BitmapPreviewInfo& info, std::uint64_t fileSize)
{
    std::string colours;
    switch (info.bitsPerPixel) {
    case 1:
        colours = "Colors: 2 (monocromatic)";
        break;
    case 4:
        colours = "Colors: 16";
        break;
    case 8:
        colours = "Colors: 256";
        break;
    case 16:
        colours = "Colors: 65,536";
        break;
    case 24:
        colours = "Colors: 16 millions";
        break;
    default:
        break;
    }
    return {formatText("Width: %d pixels", info.width), formatText("Height: %d pixels", info.height), colours,
            formatText("Size: %ld Kb", static_cast<long>(fileSize / 1024))};
}

std::string importPreviewLine(const BitmapImage& image, const PictureImportOptions& options)
{
    PicturePlan plan;
    const Result r = planPictureImport(image, options, plan);
    if (!r)
        return r.text().substr(0, r.text().find('\n'));
    return formatText("Tiles: %d (bank 1: %d), palettes: %d", static_cast<int>(std::min<size_t>(plan.tiles.size(), 512)),
                      plan.bank1Tiles(), static_cast<int>(plan.palettes.size()));
}

} // namespace qm
