// The picture reader (PNG through libspng, Windows bitmaps through ours) and
// the GBC import of what it accepts, with the mode and tile reuse from the
// input's last byte. A picture that decodes has width x height pixels; an
// import that succeeds leaves colour indices 0..3, tiles of the BG set and
// palettes within 8 in the map.

#include "FuzzCheck.h"

#include "core/base/PngReader.h"
#include "core/import/BitmapImport.h"
#include "core/import/PictureFile.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    const std::span<const std::uint8_t> data(bytes, size);
    (void)qm::readPngSize(data);
    qm::BitmapImage image;
    if (!qm::readPicture(data, "fuzz", image))
        return 0;
    FUZZ_CHECK(image.pixels.size() == size_t(image.width) * size_t(image.height));
    FUZZ_CHECK(image.indices.empty() || image.indices.size() == image.pixels.size());

    const std::uint8_t choice = size ? bytes[size - 1] : 0;
    qm::PictureImportOptions options;
    options.mode = choice & 1 ? qm::PictureMode::Gbc : qm::PictureMode::Dmg;
    options.reuse = static_cast<qm::TileReuse>((choice >> 1) % 3);
    options.placement = choice & 8 ? qm::MapPlacement::Replace : qm::MapPlacement::Grow;
    auto ws = std::make_unique<qm::Workspace>();
    ws->project.map.create(20, 18);
    if (!qm::importPicture(image, *ws, options))
        return 0;
    for (const qm::CTile& t : ws->tiles.bg.tiles)
        for (std::uint8_t p : t.pixels)
            FUZZ_CHECK(p <= 3);
    for (const qm::MapCell& c : ws->project.map.cells)
        FUZZ_CHECK(c.bgTile < qm::TILES_PER_SET);
    return 0;
}
