#include "core/edit/SwatchEdits.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {
struct Fixture {
    Workspace ws;
    UndoStore undo;
    UndoListener listener;
    PaletteStore& store() { return ws.tiles.palettes; }
};
} // namespace

TEST(PaletteClipboard, PasteAtSwatch20KeepsTheGap)
{
    Fixture f;
    swatchColour(f.store(), 5) = GbcColor{1, 2, 3};
    swatchColour(f.store(), 7) = GbcColor{4, 5, 6};
    const GbcColor untouched = swatchColour(f.store(), 21);
    const auto clip = decodePaletteClip(encodePaletteClip(f.store(), (1ull << 5) | (1ull << 7)));
    ASSERT_TRUE(clip);
    const std::uint16_t rows = pasteSwatches(f.store(), 20, *clip, f.undo);
    EXPECT_EQ(rows, 1u << 5);
    EXPECT_EQ(swatchColour(f.store(), 20), (GbcColor{1, 2, 3}));
    EXPECT_EQ(swatchColour(f.store(), 21), untouched);
    EXPECT_EQ(swatchColour(f.store(), 22), (GbcColor{4, 5, 6}));
    EXPECT_EQ(f.undo.colourRecords().size(), 2u);
    EXPECT_EQ(f.store().bgDisplay[5][0], gbcColourOf(GbcColor{1, 2, 3}));

    // Undo brings both colours back.
    ASSERT_TRUE(f.undo.undo(f.ws, f.listener));
    EXPECT_EQ(swatchColour(f.store(), 20), (GbcColor{0, 0, 0}));
    EXPECT_EQ(swatchColour(f.store(), 22), (GbcColor{12, 12, 12}));
    EXPECT_EQ(f.store().bgDisplay[5][0], gbcColourOf(GbcColor{0, 0, 0}));
}

TEST(PaletteClipboard, EntriesPastSwatch63AreDropped)
{
    Fixture f;
    PaletteClip clip;
    clip.mask = 0b111;
    clip.colours = {GbcColor{1, 1, 1}, GbcColor{2, 2, 2}, GbcColor{3, 3, 3}};
    EXPECT_EQ(pasteSwatches(f.store(), 62, clip, f.undo), 1u << 15);
    EXPECT_EQ(swatchColour(f.store(), 63), (GbcColor{2, 2, 2}));
    EXPECT_EQ(f.undo.colourRecords().size(), 2u);
}

TEST(SwatchEdits, TypedValuesAndSpinSteps)
{
    Fixture f;
    const std::uint64_t sel = (1ull << 1) | (1ull << 3) | (1ull << 40); // BGP0 c1, c3, OBP2 c0
    const std::uint16_t rows = setSwatchComponent(f.store(), sel, COMPONENT_GREEN, 99, f.undo);
    EXPECT_EQ(rows, (1u << 0) | (1u << 10));
    EXPECT_EQ(colourFlagsOfRows(rows), 0xC0u);
    EXPECT_EQ(swatchColour(f.store(), 1).green, 31);
    EXPECT_EQ(swatchColour(f.store(), 40).green, 31);
    EXPECT_EQ(f.undo.stepKind(), STEP_COLOURS);
    EXPECT_EQ(f.undo.colourRecords().size(), 3u);

    // A step up leaves the swatches already at 31 alone and records nothing.
    swatchColour(f.store(), 3).red = 30;
    swatchColour(f.store(), 1).red = 31;
    f.undo.beginStep(STEP_COLOURS, StepName::None);
    EXPECT_EQ(stepSwatchComponent(f.store(), (1ull << 1) | (1ull << 3), COMPONENT_RED, 1), 1u);
    EXPECT_EQ(swatchColour(f.store(), 3).red, 31);
    EXPECT_EQ(swatchColour(f.store(), 1).red, 31);
    EXPECT_TRUE(f.undo.colourRecords().empty());
    EXPECT_EQ(stepSwatchComponent(f.store(), 1ull << 1, COMPONENT_RED, 1), 0u);

    // A colour from the dialog: undo and redo alternate.
    setSwatchColour(f.store(), 1ull << 9, GbcColor{7, 8, 9}, f.undo);
    ASSERT_TRUE(f.undo.undo(f.ws, f.listener));
    EXPECT_EQ(swatchColour(f.store(), 9), (GbcColor{6, 6, 6}));
    ASSERT_TRUE(f.undo.redo(f.ws, f.listener));
    EXPECT_EQ(swatchColour(f.store(), 9), (GbcColor{7, 8, 9}));
}

TEST(SwatchEdits, MonochromeShadesWrapAndOnlyTwoRowsAreStored)
{
    EXPECT_EQ(wrapShade(3, 1), 0);
    EXPECT_EQ(wrapShade(0, -1), 3);
    EXPECT_EQ(wrapShade(1, 1), 2);
    EXPECT_EQ(shadeOf(GbcColor{12, 12, 12}), 2);

    Fixture f;
    const PaletteStore before = f.store();
    EXPECT_EQ(setMonoShade(f.store(), std::uint16_t(0xF00), 1), 0u); // OBP2 changes nothing
    EXPECT_EQ(f.store().bgMonoPalettes, before.bgMonoPalettes);
    EXPECT_EQ(f.store().objMonoPalettes, before.objMonoPalettes);

    EXPECT_EQ(setMonoShade(f.store(), std::uint16_t(1u << 2), 3), 0x00FFu); // BGP colour 2
    for (const auto& p : f.store().bgMonoPalettes)
        EXPECT_EQ(p[2], (GbcColor{31, 31, 31}));
    EXPECT_EQ(f.store().bgMonoDisplay[7][2], gbcColourOf(GbcColor{31, 31, 31}));
    EXPECT_EQ(setMonoShade(f.store(), std::uint16_t((1u << 4) | 1u), 0), 0xFFFFu);
    EXPECT_EQ(f.store().objMonoPalettes[3][0], (GbcColor{0, 0, 0}));
}
