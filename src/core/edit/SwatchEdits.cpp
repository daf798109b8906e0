#include "core/edit/SwatchEdits.h"

#include <algorithm>
#include <cstdlib>

namespace qm {

namespace {

std::uint8_t& componentOf(GbcColor& c, int component)
{
    return component == COMPONENT_RED ? c.red : component == COMPONENT_GREEN ? c.green : c.blue;
}

void recomputeRows(PaletteStore& store, std::uint16_t rows)
{
    if (rows & 0x00FF)
        store.recomputeDisplay(TILE_BG);
    if (rows & 0xFF00)
        store.recomputeDisplay(TILE_OBJ);
}

// Saves a swatch's colour for undo; false when the store refuses.
bool save(UndoStore& undo, const PaletteStore& store, int swatch)
{
    const GbcColor& c = swatchColour(store, swatch);
    return undo.saveColour(swatch / 4, swatch % 4, c.red, c.green, c.blue);
}

} // namespace

std::uint32_t colourFlagsOfRows(std::uint16_t rows)
{
    return (rows & 0x00FF ? TILE_BG : 0u) | (rows & 0xFF00 ? TILE_OBJ : 0u);
}

std::uint16_t setSwatchComponent(PaletteStore& store, std::uint64_t selection, int component, int value,
                                 UndoStore& undo)
{
    const auto v = static_cast<std::uint8_t>(std::clamp(value, 0, 31));
    std::uint16_t rows = 0;
    undo.beginStep(STEP_COLOURS, StepName::PaletteColour);
    for (int s = 0; s < 64; ++s) {
        if (!(selection >> s & 1))
            continue;
        if (!save(undo, store, s))
            break;
        componentOf(swatchColour(store, s), component) = v;
        rows |= std::uint16_t(1u << (s / 4));
    }
    recomputeRows(store, rows);
    return rows;
}

std::uint16_t stepSwatchComponent(PaletteStore& store, std::uint64_t selection, int component, int step)
{
    std::uint16_t rows = 0;
    for (int s = 0; s < 64; ++s) {
        if (!(selection >> s & 1))
            continue;
        std::uint8_t& v = componentOf(swatchColour(store, s), component);
        const int next = v + step;
        if (next < 0 || next > 31 || next == v)
            continue;
        v = static_cast<std::uint8_t>(next);
        rows |= std::uint16_t(1u << (s / 4));
    }
    recomputeRows(store, rows);
    return rows;
}

std::uint16_t setSwatchColour(PaletteStore& store, std::uint64_t selection, GbcColor colour, UndoStore& undo)
{
    colour.red = std::min<std::uint8_t>(colour.red, 31);
    colour.green = std::min<std::uint8_t>(colour.green, 31);
    colour.blue = std::min<std::uint8_t>(colour.blue, 31);
    std::uint16_t rows = 0;
    undo.beginStep(STEP_COLOURS, StepName::PaletteColour);
    for (int s = 0; s < 64; ++s) {
        if (!(selection >> s & 1))
            continue;
        if (!save(undo, store, s))
            break;
        swatchColour(store, s) = colour;
        rows |= std::uint16_t(1u << (s / 4));
    }
    recomputeRows(store, rows);
    return rows;
}

std::uint16_t pasteSwatches(PaletteStore& store, int first, const PaletteClip& clip, UndoStore& undo)
{
    std::uint16_t rows = 0;
    if (first < 0 || first > 63)
        return rows;
    undo.beginStep(STEP_COLOURS, StepName::PasteColours);
    std::size_t next = 0;
    for (int bit = 0; bit < 64 && next < clip.colours.size(); ++bit) {
        if (!(clip.mask >> bit & 1))
            continue;
        const int s = first + bit;
        if (s > 63)
            break;
        if (!save(undo, store, s))
            break;
        swatchColour(store, s) = clip.colours[next++];
        rows |= std::uint16_t(1u << (s / 4));
    }
    recomputeRows(store, rows);
    return rows;
}

int wrapShade(int shade, int step) { return ((shade + step) % 4 + 4) % 4; }

int shadeOf(GbcColor colour)
{
    int best = 0;
    for (int s = 1; s < 4; ++s)
        if (std::abs(MONO_SHADE_LEVELS[size_t(s)] - colour.red) < std::abs(MONO_SHADE_LEVELS[size_t(best)] - colour.red))
            best = s;
    return best;
}

std::uint32_t setMonoShade(PaletteStore& store, std::uint16_t monoSelection, int shade)
{
    const std::uint8_t g = MONO_SHADE_LEVELS[static_cast<size_t>(wrapShade(shade, 0))];
    std::uint32_t mask = 0;
    for (int row : {MONO_ROW_BGP, MONO_ROW_OBP1}) {
        GbcPaletteGroup& group = row == MONO_ROW_BGP ? store.bgMonoPalettes : store.objMonoPalettes;
        bool touched = false;
        for (int c = 0; c < 4; ++c) {
            if (!(monoSelection >> (row * 4 + c) & 1))
                continue;
            for (auto& palette : group)
                palette[static_cast<size_t>(c)] = GbcColor{g, g, g};
            touched = true;
        }
        if (touched) {
            store.recomputeDisplay(row == MONO_ROW_BGP ? GROUP_BG_MONO : GROUP_OBJ_MONO);
            mask |= row == MONO_ROW_BGP ? 0x00FFu : 0xFF00u;
        }
    }
    return mask;
}

} // namespace qm
