#pragma once
// The 8 BG and 8 OBJ colour palettes, both monochrome groups, and their
// display colours, always kept up to date.

#include "core/tiles/GbcColor.h"
#include "core/tiles/TileKind.h"

namespace qm {

// Group selectors for recomputeDisplay, beside TILE_BG / TILE_OBJ / TILE_TAG.
inline constexpr std::uint8_t GROUP_BG_MONO = 0x10;
inline constexpr std::uint8_t GROUP_OBJ_MONO = 0x20;

class PaletteStore {
public:
    PaletteStore();

    GbcPaletteGroup bgPalettes{};
    GbcPaletteGroup objPalettes{};
    GbcPaletteGroup bgMonoPalettes{};
    GbcPaletteGroup objMonoPalettes{};
    DisplayTable bgDisplay{};
    DisplayTable objDisplay{};
    DisplayTable bgMonoDisplay{};
    DisplayTable objMonoDisplay{};
    bool trueColour = false; // false: "GBC Color"

    // TILE_BG or TILE_TAG: the BG groups, otherwise the OBJ groups. Colour c of
    // every palette becomes the grey of shade c; displays recomputed.
    void resetPalettes(TileKind kind);

    // 0x40/0xC0 bgDisplay, 0x80 objDisplay, 0x10 bgMonoDisplay, 0x20 objMonoDisplay.
    void recomputeDisplay(std::uint8_t groupSelector);
    void recomputeAll();

    // 0x40/0xC0 bgDisplay, 0x80 objDisplay, 0x10 bgMonoDisplay, else objMonoDisplay.
    const DisplayTable& displayTable(std::uint8_t selector) const;

    // The table a tile set of this kind is drawn with.
    const DisplayTable& tableForTileSet(TileKind kind, bool dmgMode) const;

    // Returns true when the mode changed (and the tables were recomputed).
    bool setTrueColour(bool on);

    // The colour groups of a kind (BG for TILE_BG and TILE_TAG).
    GbcPaletteGroup& colourGroup(TileKind kind) { return kind == TILE_OBJ ? objPalettes : bgPalettes; }
    const GbcPaletteGroup& colourGroup(TileKind kind) const { return kind == TILE_OBJ ? objPalettes : bgPalettes; }
    GbcPaletteGroup& monoGroup(TileKind kind) { return kind == TILE_OBJ ? objMonoPalettes : bgMonoPalettes; }
    const GbcPaletteGroup& monoGroup(TileKind kind) const { return kind == TILE_OBJ ? objMonoPalettes : bgMonoPalettes; }

    // Rows 0..7 BG colour, 8..15 OBJ colour, 16..23 BG mono, 24..31 OBJ mono.
    GbcPalette& row(int r);
    const GbcPalette& row(int r) const;

private:
    static void convertGroup(const GbcPaletteGroup& from, DisplayTable& to, bool trueColour);
};

} // namespace qm
