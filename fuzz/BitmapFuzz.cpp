// The bitmap reader and import: width x height pixels, indices 0..3 and BG tile numbers.

#include "FuzzCheck.h"

#include "core/import/BitmapImport.h"
#include "core/import/BitmapPreview.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size)
{
    const std::span<const std::uint8_t> data(bytes, size);
    if (const auto info = qm::readBitmapPreviewInfo(data))
        (void)qm::bitmapPreviewLines(*info, size);
    qm::BitmapImage image;
    if (qm::decodeBitmap(data, image) != qm::BitmapReadStatus::Ok)
        return 0;
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    FUZZ_CHECK(image.pixels.size() == size_t(image.width) * size_t(image.height));
    auto ws = std::make_unique<qm::Workspace>();
    ws->project.map.create(20, 18);
    qm::BitmapImportSummary summary;
    if (!qm::importBitmapImage(image, *ws, qm::TILE_BG, &summary))
        return 0;
    FUZZ_CHECK(summary.tilesMade >= 0 && summary.tilesMade <= qm::TILES_PER_SET);
    FUZZ_CHECK(ws->project.map.width >= image.width / 8 && ws->project.map.height >= image.height / 8);
    fuzz::checkTiles(ws->tiles.bg);
    for (const qm::MapCell& c : ws->project.map.cells)
        FUZZ_CHECK(c.bgTile < qm::TILES_PER_SET);
    return 0;
}
