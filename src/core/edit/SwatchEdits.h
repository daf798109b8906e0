#pragma once
// The palette page's edits of the 64 colour swatches (16 rows of 4 colours:
// BG palettes 0..7, then OBJ palettes 0..7) and of the monochrome shades.
// A selection is a 64-bit mask of swatches. The edits that record undo data
// begin one colour step and save every colour before changing it; every edit
// returns the rows it changed as a 16-bit mask (bit = row) and recomputes
// the display colours of the groups it touched.

#include "core/tiles/PaletteClipboard.h"
#include "core/tiles/PaletteStore.h"
#include "core/undo/UndoStore.h"

#include <cstdint>

namespace qm {

enum SwatchComponent { COMPONENT_RED = 0, COMPONENT_GREEN = 1, COMPONENT_BLUE = 2 };

// The flags of MSG_COLOURS_CHANGED for a mask of changed rows: 0x40 when a
// BG row is in it, 0x80 when an OBJ row is.
std::uint32_t colourFlagsOfRows(std::uint16_t rows);

// A typed component value (above 31 counts as 31) for every selected swatch.
std::uint16_t setSwatchComponent(PaletteStore& store, std::uint64_t selection, int component, int value,
                                 UndoStore& undo);
// A spin step added to the component of every selected swatch whose result
// stays within 0..31; records no undo data.
std::uint16_t stepSwatchComponent(PaletteStore& store, std::uint64_t selection, int component, int step);
// One colour for every selected swatch (the colour dialog, cut).
std::uint16_t setSwatchColour(PaletteStore& store, std::uint64_t selection, GbcColor colour, UndoStore& undo);
// The record's colours go to the swatches from first on whose bit (counted
// from first) is set; those past swatch 63 are dropped.
std::uint16_t pasteSwatches(PaletteStore& store, int first, const PaletteClip& clip, UndoStore& undo);

// ---- monochrome shades --------------------------------------------------------
// The "DMG" group has three rows of 4 swatches, selected by a 12-bit mask
// (bit = row * 4 + colour): "BGP" (the BG monochrome palettes), "OBP1" (the OBJ
// monochrome palettes) and "OBP2", which shows the four fixed shades and has
// no stored palette behind it.
inline constexpr int MONO_ROW_BGP = 0;
inline constexpr int MONO_ROW_OBP1 = 1;
inline constexpr int MONO_ROW_OBP2 = 2;

// The shade 0..3 after a spin step, wrapping from 3 to 0 and from 0 to 3.
int wrapShade(int shade, int step);
// The shade 0..3 nearest to a stored grey.
int shadeOf(GbcColor colour);
// Colour c of all 8 monochrome palettes of each selected "BGP" / "OBP1"
// swatch becomes the grey of the shade. Returns the MSG_COLOURS_CHANGED mask
// of what changed: 0x00FF for BG, 0xFF00 for OBJ, or both; 0 for nothing.
std::uint32_t setMonoShade(PaletteStore& store, std::uint16_t monoSelection, int shade);

} // namespace qm
