#include "core/edit/SwatchEdits.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

// Past the ui's CPalettePageTest (paste, typing, spins, the dialog colour):
TEST(SwatchEdits, PastesPastSwatch63AreDroppedColoursStay5BitAndBothMonoRowsChange)
{
    auto ws = std::make_unique<Workspace>();
    PaletteStore& store = ws->tiles.palettes;
    const auto swatch = [&](int s) -> GbcColor& { return swatchColour(store, s); };
    UndoStore undo;
    UndoListener listener;
    const PaletteClip three{0b111, {GbcColor{1, 1, 1}, GbcColor{2, 2, 2}, GbcColor{3, 3, 3}}};
    EXPECT_EQ(pasteSwatches(store, 62, three, undo), 1u << 15);
    EXPECT_EQ(std::tuple(swatch(62), swatch(63), swatch(0)),
              std::tuple(GbcColor{1, 1, 1}, GbcColor{2, 2, 2}, GbcColor{0, 0, 0}));
    EXPECT_EQ(store.objDisplay[7][3], gbcColourOf(GbcColor{2, 2, 2}));
    EXPECT_EQ(undo.colourRecords().size(), 2u);

    setSwatchColour(store, 1ull << 9, GbcColor{7, 8, 40}, undo); // undo and redo alternate
    EXPECT_EQ(swatch(9), (GbcColor{7, 8, 31}));
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(swatch(9), (GbcColor{6, 6, 6}));
    ASSERT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(swatch(9), (GbcColor{7, 8, 31}));

    EXPECT_EQ(shadeOf(GbcColor{12, 12, 12}), 2);
    EXPECT_EQ(setMonoShade(store, std::uint16_t((1u << 4) | 1u), 0), 0xFFFFu); // BGP and OBP1 colour 0
    EXPECT_EQ(std::pair(store.objMonoPalettes[3][0], store.objMonoDisplay[3][0]),
              std::pair(GbcColor{0, 0, 0}, gbcColourOf(GbcColor{0, 0, 0})));
}
