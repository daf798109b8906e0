#include "core/edit/SwatchEdits.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

class SwatchEditsTest : public ::testing::Test {
protected:
    PaletteStore& store() { return ws->tiles.palettes; }
    GbcColor& swatch(int s) { return swatchColour(store(), s); }
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    UndoListener listener;
};

TEST_F(SwatchEditsTest, APasteKeepsTheGapsOfItsMaskDropsWhatFallsPastSwatch63AndUndoes)
{
    swatch(5) = GbcColor{1, 2, 3};
    swatch(7) = GbcColor{4, 5, 6};
    const GbcColor untouched = swatch(21);
    const auto clip = decodePaletteClip(encodePaletteClip(store(), (1ull << 5) | (1ull << 7)));
    ASSERT_TRUE(clip);
    EXPECT_EQ(pasteSwatches(store(), 20, *clip, undo), 1u << 5);
    EXPECT_EQ(std::tuple(swatch(20), swatch(21), swatch(22)), std::tuple(GbcColor{1, 2, 3}, untouched, GbcColor{4, 5, 6}));
    EXPECT_EQ(store().bgDisplay[5][0], gbcColourOf(GbcColor{1, 2, 3}));
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(std::tuple(swatch(20), swatch(22)), std::tuple(GbcColor{0, 0, 0}, GbcColor{12, 12, 12}));
    EXPECT_EQ(store().bgDisplay[5][0], gbcColourOf(GbcColor{0, 0, 0}));

    const PaletteClip three{0b111, {GbcColor{1, 1, 1}, GbcColor{2, 2, 2}, GbcColor{3, 3, 3}}};
    EXPECT_EQ(pasteSwatches(store(), 62, three, undo), 1u << 15);
    EXPECT_EQ(std::tuple(swatch(62), swatch(63), swatch(0)), std::tuple(GbcColor{1, 1, 1}, GbcColor{2, 2, 2}, GbcColor{0, 0, 0}));
    EXPECT_EQ(store().objDisplay[7][3], gbcColourOf(GbcColor{2, 2, 2}));
    EXPECT_EQ(undo.colourRecords.size(), 2u);
}

TEST_F(SwatchEditsTest, TypedValuesSpinStepsAndDialogColours)
{
    const std::uint64_t sel = (1ull << 1) | (1ull << 3) | (1ull << 40); // BGP0 c1, c3, OBP2 c0
    const std::uint16_t rows = setSwatchComponent(store(), sel, COMPONENT_GREEN, 99, undo);
    EXPECT_EQ(rows, (1u << 0) | (1u << 10));
    EXPECT_EQ(colourFlagsOfRows(rows), 0xC0u);
    EXPECT_EQ(std::tuple(swatch(1).green, swatch(40).green), std::tuple(31, 31));
    EXPECT_EQ(store().objDisplay[2][0], gbcColourOf(swatch(40)));
    EXPECT_EQ(undo.stepKind, STEP_COLOURS);
    EXPECT_EQ(undo.colourRecords.size(), 3u);

    // A step up leaves the swatches already at 31 alone and records nothing.
    swatch(3).red = 30;
    swatch(1).red = 31;
    undo.beginStep(STEP_COLOURS);
    EXPECT_EQ(stepSwatchComponent(store(), (1ull << 1) | (1ull << 3), COMPONENT_RED, 1), 1u);
    EXPECT_EQ(std::tuple(swatch(3).red, swatch(1).red), std::tuple(31, 31));
    EXPECT_TRUE(undo.colourRecords.empty());
    EXPECT_EQ(stepSwatchComponent(store(), 1ull << 1, COMPONENT_RED, 1), 0u);

    setSwatchColour(store(), 1ull << 9, GbcColor{7, 8, 40}, undo); // from the dialog: undo and redo alternate
    EXPECT_EQ(swatch(9), (GbcColor{7, 8, 31}));
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(swatch(9), (GbcColor{6, 6, 6}));
    ASSERT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(swatch(9), (GbcColor{7, 8, 31}));
}

TEST_F(SwatchEditsTest, MonochromeShadesWrapAndOnlyTwoRowsAreStored)
{
    EXPECT_EQ(std::tuple(wrapShade(3, 1), wrapShade(0, -1), wrapShade(1, 1)), std::tuple(0, 3, 2));
    EXPECT_EQ(shadeOf(GbcColor{12, 12, 12}), 2);
    const PaletteStore before = store();
    EXPECT_EQ(setMonoShade(store(), std::uint16_t(0xF00), 1), 0u); // OBP2 changes nothing
    EXPECT_EQ(store().bgMonoPalettes, before.bgMonoPalettes);
    EXPECT_EQ(store().objMonoPalettes, before.objMonoPalettes);
    EXPECT_EQ(setMonoShade(store(), std::uint16_t(1u << 2), 3), 0x00FFu); // BGP colour 2
    for (const auto& p : store().bgMonoPalettes)
        EXPECT_EQ(p[2], (GbcColor{31, 31, 31}));
    EXPECT_EQ(store().bgMonoDisplay[7][2], gbcColourOf(GbcColor{31, 31, 31}));
    EXPECT_EQ(setMonoShade(store(), std::uint16_t((1u << 4) | 1u), 0), 0xFFFFu);
    EXPECT_EQ(store().objMonoPalettes[3][0], (GbcColor{0, 0, 0}));
}

} // namespace
