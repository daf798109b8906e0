#include "core/tiles/PaletteStore.h"

namespace qm {

PaletteStore::PaletteStore()
{
    resetPalettes(TILE_BG);
    resetPalettes(TILE_OBJ);
}

void PaletteStore::resetPalettes(TileKind kind)
{
    const bool obj = kind != TILE_BG && kind != TILE_TAG;
    GbcPaletteGroup& colours = obj ? objPalettes : bgPalettes;
    GbcPaletteGroup& mono = obj ? objMonoPalettes : bgMonoPalettes;
    for (int p = 0; p < 8; ++p)
        for (int c = 0; c < 4; ++c) {
            const std::uint8_t g = MONO_SHADE_LEVELS[static_cast<size_t>(c)];
            colours[p][c] = GbcColor{g, g, g};
            mono[p][c] = GbcColor{g, g, g};
        }
    recomputeDisplay(obj ? TILE_OBJ : TILE_BG);
    recomputeDisplay(obj ? GROUP_OBJ_MONO : GROUP_BG_MONO);
}

void PaletteStore::convertGroup(const GbcPaletteGroup& from, DisplayTable& to, bool trueColour)
{
    for (size_t p = 0; p < 8; ++p)
        for (size_t c = 0; c < 4; ++c)
            to[p][c] = displayColourOf(from[p][c], trueColour);
}

void PaletteStore::recomputeDisplay(std::uint8_t groupSelector)
{
    switch (groupSelector) {
    case TILE_BG:
    case TILE_TAG:
        convertGroup(bgPalettes, bgDisplay, trueColour);
        break;
    case TILE_OBJ:
        convertGroup(objPalettes, objDisplay, trueColour);
        break;
    case GROUP_BG_MONO:
        convertGroup(bgMonoPalettes, bgMonoDisplay, trueColour);
        break;
    case GROUP_OBJ_MONO:
        convertGroup(objMonoPalettes, objMonoDisplay, trueColour);
        break;
    default:
        break;
    }
}

void PaletteStore::recomputeAll()
{
    recomputeDisplay(TILE_BG);
    recomputeDisplay(TILE_OBJ);
    recomputeDisplay(GROUP_BG_MONO);
    recomputeDisplay(GROUP_OBJ_MONO);
}

const DisplayTable& PaletteStore::displayTable(std::uint8_t selector) const
{
    switch (selector) {
    case TILE_BG:
    case TILE_TAG:
        return bgDisplay;
    case TILE_OBJ:
        return objDisplay;
    case GROUP_BG_MONO:
        return bgMonoDisplay;
    default:
        return objMonoDisplay;
    }
}

const DisplayTable& PaletteStore::tableForTileSet(TileKind kind, bool dmgMode) const
{
    if (!dmgMode)
        return kind == TILE_OBJ ? objDisplay : bgDisplay;
    return kind == TILE_BG ? bgMonoDisplay : objMonoDisplay;
}

bool PaletteStore::setTrueColour(bool on)
{
    if (trueColour == on)
        return false;
    trueColour = on;
    recomputeAll();
    return true;
}

GbcPalette& PaletteStore::row(int r)
{
    GbcPaletteGroup* groups[4] = {&bgPalettes, &objPalettes, &bgMonoPalettes, &objMonoPalettes};
    r &= 31;
    return (*groups[r / 8])[static_cast<size_t>(r % 8)];
}

const GbcPalette& PaletteStore::row(int r) const { return const_cast<PaletteStore*>(this)->row(r); }

} // namespace qm
