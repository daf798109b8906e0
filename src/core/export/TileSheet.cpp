#include "core/export/TileSheet.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/base/PngWriter.h"
#include "core/export/ExportFile.h"

namespace qm {

TileSheet tileSheetOf(const TileLibrary& tiles, TileKind set, int columns, std::optional<int> palette)
{
    TileSheet sheet;
    const TileSet* tileSet = tiles.tileSet(set);
    if (!tileSet || columns < 1 || columns > TILES_PER_SET || (palette && (*palette < 0 || *palette > 7)))
        return sheet;
    const GbcPaletteGroup& group = tiles.palettes.colourGroup(set);
    for (int p = palette.value_or(0); p <= palette.value_or(7); ++p)
        for (const GbcColor& c : group[static_cast<size_t>(p)])
            sheet.colours.push_back(fullRangeOf(c));

    const int rows = (TILES_PER_SET + columns - 1) / columns;
    sheet.width = columns * 8;
    sheet.height = rows * 8;
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * static_cast<size_t>(sheet.height), 0);
    for (int t = 0; t < TILES_PER_SET; ++t) {
        const CTile& tile = tileSet->tiles[static_cast<size_t>(t)];
        const std::uint8_t base = palette ? 0 : static_cast<std::uint8_t>(tile.palette() * 4);
        std::uint8_t* cell = sheet.pixels.data() + static_cast<size_t>(t / columns) * 8 * sheet.width +
                             static_cast<size_t>(t % columns) * 8;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                cell[y * sheet.width + x] = static_cast<std::uint8_t>(base + (tile.pixel(x, y) & 3));
    }
    return sheet;
}

Result writeTileSheet(const std::string& path, const TileLibrary& tiles, TileKind set, int columns,
                      std::optional<int> palette)
{
    const TileSheet sheet = tileSheetOf(tiles, set, columns, palette);
    std::vector<PngColour> colours;
    for (const DisplayColour& c : sheet.colours)
        colours.push_back(PngColour{c.red, c.green, c.blue});
    const std::vector<std::uint8_t> png = encodeIndexedPng(sheet.width, sheet.height, sheet.pixels.data(),
                                                           static_cast<size_t>(sheet.width), colours);
    if (png.empty())
        return Result::failure(formatText("There is no tile sheet of %d columns.", columns));
    if (const WriteResult written = writeFileAtomically(path, png); !written)
        return Result::failure(withOsReason(formatText(MSG_UNABLE_TO_WRITE_FILE, path.c_str()), written.error));
    return Result::success();
}

} // namespace qm
