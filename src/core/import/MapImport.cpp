#include "core/import/MapImport.h"

#include "core/base/Format.h"
#include "core/import/FileHead.h"

#include <algorithm>
#include <new>

namespace qm {

std::optional<std::uint32_t> otherSideFor(std::uint64_t fileSize, std::uint32_t side)
{
    if (side == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(fileSize / side, 0xFFFFFFFFu));
}

Result checkMapDimension(std::int64_t width, std::int64_t height)
{
    if (height <= 0)
        return Result::failure(MSG_HEIGHT_NOT_POSITIVE);
    if (width <= 0)
        return Result::failure(MSG_WIDTH_NOT_POSITIVE);
    return Result::success();
}

Result readMapBlock(std::span<const std::uint8_t> bytes, const MapImportOptions& o, MapGrid& block,
                    Progress& progress)
{
    if (Result dims = checkMapDimension(o.width, o.height); !dims)
        return dims;
    if (o.layer != TILE_BG && o.layer != TILE_OBJ && o.layer != TILE_TAG)
        return Result::failure(MSG_MAP_IMPORT_NEEDS_LAYER);
    MapGrid fresh;
    if (!fresh.create(o.width, o.height))
        return Result::failure(MapGrid::createFailureText(o.width, o.height));

    ProgressScope scope(progress, "importing map data", o.height);
    const std::uint8_t flip = o.swapBytes ? 0x80 : 0x00;
    size_t pos = 0;
    for (MapCell& cell : fresh.cells) {
        // With the swap option a byte below 128 gains 128 and one above loses it.
        const std::uint8_t b = static_cast<std::uint8_t>((pos < bytes.size() ? bytes[pos] : 0) ^ flip);
        ++pos;
        if (o.layer == TILE_BG) {
            cell.bgAttr |= TILE_BG;
            cell.bgTile = b;
        } else if (o.layer == TILE_OBJ) {
            cell.objAttr |= TILE_OBJ;
            cell.objTile = b;
        } else {
            cell.tag = b;
        }
        if (pos % static_cast<size_t>(o.width) == 0)
            scope.step();
    }
    block = std::move(fresh);
    return Result::success();
}

Result mergeMapBlock(MapGrid& map, const MapGrid& block, int cursorX, int cursorY, MapOrientation orientation,
                     Progress& progress)
{
    const int w = block.width;
    const int h = block.height;
    const int x = std::clamp(cursorX, 0, std::max(map.width - 1, 0));
    const int y = std::clamp(cursorY, 0, std::max(map.height - 1, 0));
    const bool extendsLeft = orientation == MapOrientation::TopLeft || orientation == MapOrientation::BottomLeft;
    const bool extendsUp = orientation == MapOrientation::TopLeft || orientation == MapOrientation::TopRight;

    // Columns (rows) from the map's edge up to and including the cursor's; a
    // map without columns (rows) has no cursor cell to count.
    const int upToCursorX = map.width > 0 ? x + 1 : 0;
    const int upToCursorY = map.height > 0 ? y + 1 : 0;
    const int addColumns = extendsLeft ? std::max(w - upToCursorX, 0) : std::max(w + x - map.width, 0);
    const int addRows = extendsUp ? std::max(h - upToCursorY, 0) : std::max(h + y - map.height, 0);
    if (!MapGrid::sizeAllowed(std::int64_t(map.width) + addColumns, std::int64_t(map.height) + addRows))
        return Result::failure(MSG_NEW_MAP_FAILED);

    ProgressScope scope(progress, "merging map data", h);
    try {
        // The growth happens on a copy, so that a failure leaves the map as it was.
        MapGrid grown;
        const bool grows = addColumns > 0 || addRows > 0;
        if (grows)
            grown = map;
        MapGrid& target = grows ? grown : map;
        int left = 0;
        int top = 0;
        if (extendsLeft) {
            if (addColumns > 0 && !target.insertColumns(0, addColumns))
                return Result::failure(MSG_NEW_MAP_FAILED);
            left = addColumns > 0 ? 0 : x - w + 1;
        } else {
            if (addColumns > 0 && !target.insertColumns(target.width - 1, addColumns))
                return Result::failure(MSG_NEW_MAP_FAILED);
            left = x;
        }
        if (extendsUp) {
            if (addRows > 0 && !target.insertRows(0, addRows))
                return Result::failure(MSG_NEW_MAP_FAILED);
            top = addRows > 0 ? 0 : y - h + 1;
        } else {
            if (addRows > 0 && !target.insertRows(target.height - 1, addRows))
                return Result::failure(MSG_NEW_MAP_FAILED);
            top = y;
        }
        for (int row = 0; row < h; ++row) {
            for (int col = 0; col < w; ++col)
                if (const MapCell* src = block.cellAt(col, row))
                    target.setCell(left + col, top + row, *src);
            scope.step();
        }
        if (grows)
            map = std::move(grown);
    } catch (const std::bad_alloc&) {
        return Result::failure(MSG_NEW_MAP_FAILED);
    }
    return Result::success();
}

Result importMapBytes(std::span<const std::uint8_t> bytes, const MapImportOptions& options, ProjectState& project,
                      Progress& progress)
{
    MapGrid block;
    if (Result read = readMapBlock(bytes, options, block, progress); !read)
        return read;
    if (Result merged = mergeMapBlock(project.map, block, options.cursorX, options.cursorY, options.orientation,
                                      progress);
        !merged)
        return merged;
    project.setChanged(CHANGED_MAP);
    return Result::success();
}

Result importMapFile(const std::string& path, const MapImportOptions& options, ProjectState& project,
                     Progress& progress)
{
    if (Result dims = checkMapDimension(options.width, options.height); !dims)
        return dims;
    if (options.layer != TILE_BG && options.layer != TILE_OBJ && options.layer != TILE_TAG)
        return Result::failure(MSG_MAP_IMPORT_NEEDS_LAYER);
    std::vector<std::uint8_t> bytes;
    // Bytes past width x height are never used.
    const std::uint64_t needed = std::uint64_t(options.width) * std::uint64_t(options.height);
    if (!MapGrid::sizeAllowed(options.width, options.height))
        return Result::failure(MapGrid::createFailureText(options.width, options.height));
    const ReadResult read = readFileHead(path, static_cast<size_t>(needed), bytes);
    if (read != ReadStatus::Ok)
        return Result::failure(readFailureText(read, path, formatText("Error! Unable to open file %s", path.c_str())));
    return importMapBytes(bytes, options, project, progress);
}

} // namespace qm
