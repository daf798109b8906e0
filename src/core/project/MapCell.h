#pragma once
// One map cell: an optional BG tile, an optional OBJ tile, and a tag.
//
// Attribute byte (bgAttr and objAttr share it): bit 0 vertical flip, bit 1
// horizontal flip, bits 2-4 palette, bit 5 priority, bit 6 the BG layer mark
// (in bgAttr), bit 7 the OBJ layer mark (in objAttr).

#include "core/tiles/TileKind.h"

#include <cstdint>

namespace qm {

inline constexpr std::uint8_t ATTR_FLIP_V = 0x01;
inline constexpr std::uint8_t ATTR_FLIP_H = 0x02;
inline constexpr std::uint8_t ATTR_PALETTE_MASK = 0x1C;
inline constexpr std::uint8_t ATTR_PRIORITY = 0x20;

// The attribute byte and tile number of one layer of a cell.
template <class Attr, class Tile> struct LayerPartOf {
    Attr& attr;
    Tile& tile;
};
using LayerPart = LayerPartOf<std::uint8_t, std::uint16_t>;
using ConstLayerPart = LayerPartOf<const std::uint8_t, const std::uint16_t>;

struct MapCell {
    // The tiles first: 8 bytes a cell instead of 10 with the padding, which is
    // 32 MB on a map of 16M cells. Written in the file's order by the
    // constructor.
    std::uint16_t bgTile = 0;
    std::uint16_t objTile = 0;
    std::uint8_t bgAttr = 0;
    std::uint8_t objAttr = 0;
    std::uint8_t tag = 0;

    constexpr MapCell() = default;
    constexpr MapCell(std::uint8_t bgA, std::uint16_t bgT, std::uint8_t objA, std::uint16_t objT, std::uint8_t t)
        : bgTile(bgT), objTile(objT), bgAttr(bgA), objAttr(objA), tag(t)
    {
    }

    bool operator==(const MapCell&) const = default;

    void clear() { *this = MapCell{}; }
    void set(std::uint8_t bgA, std::uint16_t bgT, std::uint8_t objA, std::uint16_t objT, std::uint8_t t)
    {
        bgAttr = bgA;
        bgTile = bgT;
        objAttr = objA;
        objTile = objT;
        tag = t;
    }
    // BG and OBJ layers from other; the tag stays.
    void copyLayers(const MapCell& other)
    {
        bgAttr = other.bgAttr;
        bgTile = other.bgTile;
        objAttr = other.objAttr;
        objTile = other.objTile;
    }
    // Puts a tile of the given layer (TILE_BG, TILE_OBJ, TILE_TAG; TILE_NONE
    // puts nothing) into the cell.
    void place(TileKind layer, int tile, int palette);
    // The part an edit in the layer works on: the BG part for TILE_BG, the OBJ
    // part for any other layer (edits in the tag layer use the OBJ part's
    // attribute byte).
    LayerPart layerPart(TileKind layer)
    {
        return layer == TILE_BG ? LayerPart{bgAttr, bgTile} : LayerPart{objAttr, objTile};
    }
    ConstLayerPart layerPart(TileKind layer) const
    {
        return layer == TILE_BG ? ConstLayerPart{bgAttr, bgTile} : ConstLayerPart{objAttr, objTile};
    }
    // The layer is chosen by bit 7 (clear BG, set OBJ). p >= 8 gives 0. Returns the old palette.
    int setPalette(TileKind layer, int p);
    int palette(TileKind layer) const;
    // (bgAttr | objAttr) & 0xC0.
    std::uint8_t layers() const { return static_cast<std::uint8_t>((bgAttr | objAttr) & TILE_KIND_MASK); }
    bool hasBg() const { return (bgAttr & TILE_BG) != 0; }
    bool hasObj() const { return (objAttr & TILE_OBJ) != 0; }
    bool showsTile(TileKind layer, int tile) const;
};
static_assert(sizeof(MapCell) == 8);

} // namespace qm
