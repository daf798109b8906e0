#include "core/import/BitmapImport.h"

#include "core/import/PictureFile.h"

#include <algorithm>
#include <new>

namespace qm {

namespace {

// The map a growing import leaves: at least w x h cells, grown at index 0;
// the map never shrinks.
bool grownMap(MapGrid& map, int w, int h)
{
    if (!MapGrid::sizeAllowed(std::max(map.width, w), std::max(map.height, h)))
        return false;
    if (map.width < w && !map.insertColumns(0, w - map.width))
        return false;
    return map.height >= h || map.insertRows(0, h - map.height);
}

// The map a replacing import leaves: the picture's size, with the OBJ part
// and tag of the cells the old map had there.
bool replacedMap(const MapGrid& old, MapGrid& map, int w, int h)
{
    if (!map.create(w, h))
        return false;
    for (int y = 0; y < std::min(h, old.height); ++y)
        for (int x = 0; x < std::min(w, old.width); ++x) {
            const MapCell* from = old.cellAt(x, y);
            MapCell* to = map.cellAt(x, y);
            to->objAttr = from->objAttr;
            to->objTile = from->objTile;
            to->tag = from->tag;
        }
    return true;
}

} // namespace

Result planPictureImport(const BitmapImage& image, const PictureImportOptions& options, PicturePlan& plan)
{
    PlanOptions o;
    o.mode = options.mode;
    o.reuse = options.reuse;
    o.lastTileTakesRest = options.mode == PictureMode::Dmg && options.placement == MapPlacement::Grow;
    return planPicture(image, o, plan);
}

Result importPicture(const BitmapImage& image, Workspace& ws, const PictureImportOptions& options,
                     BitmapImportSummary* summary)
{
    PicturePlan plan;
    if (Result r = planPictureImport(image, options, plan); !r)
        return r;
    const bool replace = options.placement == MapPlacement::Replace;
    const bool gbc = plan.mode == PictureMode::Gbc;
    const TileKind layer = gbc || replace ? TILE_BG : options.layer;
    if (replace && plan.cells.empty())
        return Result::failure(MSG_PICTURE_TOO_SMALL);

    // A new map first, when one is needed: it is all that can fail.
    MapGrid& current = ws.project.map;
    const bool fits = current.width >= plan.blocksWide && current.height >= plan.blocksHigh;
    MapGrid made;
    try {
        if (replace) {
            if (!replacedMap(current, made, plan.blocksWide, plan.blocksHigh))
                return Result::failure(MapGrid::createFailureText(plan.blocksWide, plan.blocksHigh));
        } else if (!fits) {
            made = current;
            if (!grownMap(made, plan.blocksWide, plan.blocksHigh))
                return Result::failure(MSG_MAP_GROWTH_FAILED);
        }
    } catch (const std::bad_alloc&) {
        return Result::failure(MSG_MAP_GROWTH_FAILED);
    }
    if (replace || !fits)
        current = std::move(made);
    for (int y = 0; y < plan.blocksHigh; ++y)
        for (int x = 0; x < plan.blocksWide; ++x) {
            const PlannedCell& c = plan.cells[static_cast<size_t>(y * plan.blocksWide + x)];
            MapCell* cell = current.cellAt(x, y);
            cell->place(layer, c.tile, c.palette);
            if (layer == TILE_BG)
                cell->bgAttr |= c.flips;
        }

    TileSet& bg = ws.tiles.bg;
    GbcPaletteGroup& palettes = ws.tiles.palettes.bgPalettes;
    if (replace) {
        for (CTile& t : bg.tiles) {
            t.clearContent();
            t.setPalette(0);
        }
        for (GbcPalette& p : palettes)
            for (size_t c = 0; c < 4; ++c)
                p[c] = GbcColor{MONO_SHADE_LEVELS[c], MONO_SHADE_LEVELS[c], MONO_SHADE_LEVELS[c]};
    }
    for (size_t t = 0; t < plan.tiles.size() && t < TILES_PER_SET; ++t) {
        bg.tiles[t].pixels = plan.tiles[t];
        if (gbc || replace)
            bg.tiles[t].setPalette(plan.tilePalettes[t]);
    }
    for (size_t p = 0; p < plan.palettes.size(); ++p)
        palettes[p] = plan.palettes[p];
    ws.tiles.palettes.recomputeDisplay(TILE_BG);
    ws.project.setChanged(replace ? ChangeFlags(CHANGED_MAP | CHANGED_BG_TILES | CHANGED_PALETTE) : CHANGED_MAP);
    if (summary) {
        summary->tilesMade = static_cast<int>(std::min<size_t>(plan.tiles.size(), TILES_PER_SET));
        summary->blocksWide = plan.blocksWide;
        summary->blocksHigh = plan.blocksHigh;
        summary->palettes = static_cast<int>(plan.palettes.size());
        summary->bank1Tiles = plan.bank1Tiles();
    }
    return Result::success();
}

Result importBitmapImage(const BitmapImage& image, Workspace& ws, TileKind layer, BitmapImportSummary* summary)
{
    PictureImportOptions options;
    options.layer = layer;
    return importPicture(image, ws, options, summary);
}

Result importBitmapBytes(std::span<const std::uint8_t> bytes, Workspace& ws, TileKind layer,
                         BitmapImportSummary* summary)
{
    BitmapImage image;
    if (Result r = readPicture(bytes, "the picture", image); !r)
        return r;
    return importBitmapImage(image, ws, layer, summary);
}

Result importBitmapFile(const std::string& path, Workspace& ws, TileKind layer, BitmapImportSummary* summary)
{
    BitmapImage image;
    if (Result r = readPictureFile(path, image); !r)
        return r;
    return importBitmapImage(image, ws, layer, summary);
}

} // namespace qm
