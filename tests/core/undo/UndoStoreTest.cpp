#include "core/undo/UndoStore.h"

#include "core/edit/BucketFill.h"
#include "core/edit/MapClipboard.h"
#include "core/edit/MapCommands.h"
#include "core/edit/RemapColours.h"
#include "core/edit/RowColumnEdit.h"
#include "core/edit/SwatchEdits.h"
#include "core/edit/TileEdits.h"
#include "core/edit/TileFrameEdit.h"
#include "core/edit/TilePaletteFollow.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <random>

namespace qm {
namespace {

// A workspace edited through the real commands, as the editor does.
struct Editor : UndoListener {
    explicit Editor(int w = 10, int h = 8)
    {
        ws->project.map.create(w, h);
        renderer->reset();
    }
    MapEdit& edit(TileKind layer) { return current.emplace(MapEdit{*ws, undo, *renderer, layer}); }
    MapGrid& map() { return ws->project.map; }
    void linesChanged() override { renderer->reset(); }
    std::vector<std::uint8_t> savedBytes() const { return qm::test::savedBytes(*ws); }
    void fill(int tile) { bucketFill(edit(TILE_BG), 0, 0, {TILE_BG, tile, 0}); }

    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    std::unique_ptr<MapRenderer> renderer = std::make_unique<MapRenderer>(ws->project.map, ws->tiles);
    std::optional<MapEdit> current;
};

TEST(UndoHistory, ThreeHundredMixedStepsComeBackByteForByte)
{
    Editor e;
    e.undo.setDepth(1000);
    std::mt19937 rng(17);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const auto layer = [&] { return std::array<TileKind, 3>{TILE_BG, TILE_OBJ, TILE_TAG}[pick(0, 2)]; };
    const auto& tileKind = layer;
    const auto cellAt = [&] { return CellPos{pick(0, e.map().width - 1), pick(0, e.map().height - 1)}; };
    const auto area = [&] { return rectangleCells(cellAt(), cellAt()); };
    const auto choice = [&](TileKind l) { return TileChoice{l, pick(0, l == TILE_TAG ? 255 : 511), pick(0, 7)}; };
    const auto tiles = [&] { return std::vector<int>{pick(0, 511), pick(0, 40), pick(0, 40)}; };
    const auto follow = [&](const TilePaletteChange& c) { followTilePaletteChange(*e.ws, e.undo, *e.renderer, c); };
    for (CTile& t : e.ws->tiles.bg.tiles)
        t.pixels[static_cast<std::size_t>(pick(0, 63))] = static_cast<std::uint8_t>(pick(1, 3));
    setBaseTile(e.edit(TILE_BG), {TILE_BG, 3, 1});
    e.undo.clear();

    const std::vector<std::function<void()>> commands = {
        [&] { const CellPos p = cellAt(); const TileKind l = layer(); bucketFill(e.edit(l), p.x, p.y, choice(l)); },
        [&] { const TileKind l = layer(); blockFill(e.edit(l), area(), choice(l)); },
        [&] { const TileKind l = layer(); arrayFill(e.edit(l), area(), choice(l)); },
        [&] {
            e.undo.beginStep(STEP_CELLS, StepName::Pencil);
            MapEdit m = e.edit(TILE_BG);
            for (int i = 0; i < 3; ++i) {
                const CellPos p = i == 2 ? CellPos{0, 0} : cellAt();
                paintCell(m, p.x, p.y, choice(layer()));
            }
        },
        [&] { flipCells(e.edit(layer()), area(), pick(0, 1)); },
        [&] { flipArea(e.edit(layer()), area(), pick(0, 1)); },
        [&] { setBank(e.edit(layer()), area(), static_cast<BankChange>(pick(0, 2))); },
        [&] { setPriority(e.edit(layer()), area(), pick(0, 1)); },
        [&] { setCellPalette(e.edit(layer()), area(), pick(0, 7)); },
        [&] { deleteCells(e.edit(layer()), area()); },
        [&] { cutCells(e.edit(layer()), area()); },
        [&] {
            std::vector<ClipboardEntry> entries;
            for (int i = 0; i < 4; ++i)
                entries.push_back({pick(-2, 2), pick(-2, 2), static_cast<std::uint8_t>(pick(0, 255)), pick(0, 600)});
            pasteCells(e.edit(layer()), entries, cellAt());
        },
        [&] { if (pick(0, 3) == 0) setBaseTile(e.edit(layer()), choice(layer())); },
        [&] {
            const bool columns = pick(0, 1);
            const int extent = columns ? e.map().width : e.map().height;
            if (extent > 12)
                (columns ? deleteColumns : deleteRows)(*e.ws, e.undo, pick(0, extent - 1), pick(0, extent + 2));
            else
                (columns ? insertColumnsAt : insertRowsAt)(*e.ws, e.undo, pick(0, extent - 1), pick(1, 3));
            e.renderer->reset();
        },
        [&] { clearTiles(e.ws->tiles, tileKind(), tiles(), e.undo); },
        [&] { setTilesPalette(e.ws->tiles, pick(0, 1) ? TILE_BG : TILE_OBJ, tiles(), pick(0, 7), e.undo, follow); },
        [&] { cutTiles(e.ws->tiles, tileKind(), tiles(), e.undo); },
        [&] {
            TileClipEntry t;
            t.palette = static_cast<std::uint8_t>(pick(0, 7));
            t.pixels.fill(static_cast<std::uint8_t>(pick(0, 3)));
            t.comment = "pasted";
            pasteTiles(e.ws->tiles, tileKind(), pick(0, 511), {t, t}, e.undo);
        },
        [&] {
            RemapRequest r;
            r.palette = pick(0, 1);
            r.mapping = {3, 2, 1, 0};
            remapTileColours(e.ws->tiles, tileKind(), r, e.undo);
        },
        [&] {
            TileSet& set = *e.ws->tiles.tileSet(tileKind());
            const TileFrame frame{pick(0, 511), 2, 2};
            switch (pick(0, 5)) {
            case 0: pencilPress(set, e.undo, frame, pick(0, 15), pick(0, 15), static_cast<std::uint8_t>(pick(0, 3))); break;
            case 1: bucketFill(set, e.undo, frame, pick(0, 15), pick(0, 15), static_cast<std::uint8_t>(pick(0, 3))); break;
            case 2: scrollFrame(set, e.undo, frame, static_cast<ScrollDirection>(pick(0, 3)), pick(0, 1)); break;
            case 3: flipFrame(set, e.undo, frame, pick(0, 1), pick(0, 1)); break;
            case 4: rotateFrame(set, e.undo, frame, pick(0, 1)); break;
            case 5: setTilePalette(set, e.undo, pick(0, 40), pick(0, 7), follow); break;
            }
        },
        [&] {
            const std::uint64_t swatches = std::uint64_t(pick(1, 0xFFFF)) << (4 * pick(0, 12));
            const auto c = static_cast<std::uint8_t>(pick(0, 31));
            if (pick(0, 1))
                setSwatchColour(e.ws->tiles.palettes, swatches, GbcColor{c, 3, 9}, e.undo);
            else
                setSwatchComponent(e.ws->tiles.palettes, swatches, pick(0, 2), c, e.undo);
        },
        [&] { pasteSwatches(e.ws->tiles.palettes, pick(0, 63), PaletteClip{0b1011, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, e.undo); },
    };

    // states[n] is what Save writes after n steps; some Undos on the way
    // make the next step drop the entries ahead.
    std::vector<std::vector<std::uint8_t>> states{e.savedBytes()};
    while (e.undo.position() < 300) {
        if (pick(0, 9) == 0) {
            for (int n = pick(1, 4); n > 0 && e.undo.canUndo(); --n) {
                ASSERT_TRUE(e.undo.undo(*e.ws, e));
                states.pop_back();
                ASSERT_EQ(e.savedBytes(), states.back()) << "undo to " << e.undo.position();
            }
            continue;
        }
        const std::size_t before = e.undo.position();
        const std::size_t command = static_cast<std::size_t>(pick(0, static_cast<int>(commands.size()) - 1));
        commands[command]();
        if (e.undo.canUndo() && e.undo.step(e.undo.position() - 1).isEmpty()) {
            ASSERT_TRUE(e.undo.undo(*e.ws, e)); // a step that saved nothing only goes
        }
        if (e.undo.position() == before) {
            // No step: nothing may have changed.
            ASSERT_EQ(e.savedBytes(), states.back()) << "command " << command << " changed without a step";
            continue;
        }
        ASSERT_EQ(e.undo.position(), before + 1) << "command " << command;
        states.push_back(e.savedBytes());
    }
    for (std::size_t n = states.size() - 1; n > 0; --n) {
        ASSERT_TRUE(e.undo.undo(*e.ws, e));
        ASSERT_EQ(e.savedBytes(), states[n - 1]) << "undo to " << n - 1;
    }
    EXPECT_FALSE(e.undo.undo(*e.ws, e));
    for (std::size_t n = 1; n < states.size(); ++n) {
        ASSERT_TRUE(e.undo.redo(*e.ws, e));
        ASSERT_EQ(e.savedBytes(), states[n]) << "redo to " << n;
    }
    EXPECT_FALSE(e.undo.canRedo());
}

TEST(UndoHistory, TheOldestEntriesGoOverDepthOrBudget)
{
    // Each fill of the uniform 64 x 64 map saves 4096 cells.
    const std::size_t entry = sizeof(UndoStep) + 4096 * sizeof(CellRecord);
    struct Case { std::size_t depth, budget, kept; };
    for (const Case c : {Case{3, UndoStore::DEFAULT_BUDGET, 3}, Case{100, entry * 5 / 2, 2}, Case{100, entry / 2, 1}}) {
        SCOPED_TRACE(testing::Message() << c.depth << " entries, " << c.budget << " bytes");
        Editor e(64, 64);
        e.undo.setDepth(c.depth);
        e.undo.setMemoryBudget(c.budget);
        std::vector<MapGrid> states{e.map()};
        for (int tile = 1; tile <= 5; ++tile) {
            e.fill(tile);
            states.push_back(e.map());
        }
        EXPECT_EQ(e.undo.size(), c.kept);
        EXPECT_TRUE(e.undo.memoryUsed() <= c.budget || c.kept == 1);
        for (std::size_t n = 0; n < c.kept; ++n)
            ASSERT_TRUE(e.undo.undo(*e.ws, e));
        EXPECT_FALSE(e.undo.canUndo());
        EXPECT_EQ(e.map().cells, states[5 - c.kept].cells);
    }
}

TEST(UndoHistory, ChangeFlagsFollowTheSavedState)
{
    // E an edit, S a save, U Undo, R Redo, O a palette change outside the history.
    struct Case { const char* actions; ChangeFlags flags; };
    for (const Case c : {Case{"ESU", CHANGED_MAP}, Case{"ESUR", 0}, Case{"EESUUR", CHANGED_MAP}, Case{"EESUURR", 0},
                         Case{"ESUEU", CHANGED_MAP}, Case{"ESOUR", CHANGED_PALETTE}, Case{"SEU", 0}}) {
        SCOPED_TRACE(c.actions);
        Editor e;
        int tile = 0;
        for (const char* a = c.actions; *a; ++a) {
            switch (*a) {
            case 'E': e.fill(++tile); e.ws->project.setChanged(CHANGED_MAP); break;
            case 'S': e.ws->project.clearChanged(); e.undo.markSaved(*e.ws); break;
            case 'U': ASSERT_TRUE(e.undo.undo(*e.ws, e)); break;
            case 'R': ASSERT_TRUE(e.undo.redo(*e.ws, e)); break;
            case 'O': e.ws->tiles.palettes.row(2)[1].red ^= 1; e.ws->project.setChanged(CHANGED_PALETTE); break;
            }
        }
        EXPECT_EQ(e.ws->project.changeFlags, c.flags);
    }
}

TEST(UndoHistory, ALineStepThatCannotBeDoneChangesNothingAndStays)
{
    Editor e(6, 4);
    e.map().cellAt(2, 2)->place(TILE_BG, 5, 0);
    ASSERT_EQ(deleteColumns(*e.ws, e.undo, 1, 2).lines, 2);
    EXPECT_EQ(e.undo.deletedLines(), 0x00010002u);
    ASSERT_TRUE(e.undo.undo(*e.ws, e));
    const MapGrid restored = e.map();
    e.undo.maxRecords = 1; // the cell's two parts do not fit
    EXPECT_EQ(e.undo.redo(*e.ws, e).text(), MSG_NO_MEMORY_UNDO);
    EXPECT_TRUE(e.undo.canRedo());
    EXPECT_EQ(e.map().cells, restored.cells);
    e.undo.maxRecords = 1000;
    EXPECT_TRUE(e.undo.redo(*e.ws, e));
    EXPECT_EQ(e.map().width, 4);
}

TEST(UndoHistory, ACellSavedTwiceInOneStepComesBackToItsFirstState)
{
    Editor e;
    e.undo.beginStep(STEP_CELLS, StepName::Pencil);
    MapEdit m = e.edit(TILE_BG);
    paintCell(m, 0, 0, {TILE_BG, 1, 0});
    paintCell(m, 0, 0, {TILE_BG, 2, 1});
    paintCell(m, 0, 0, {TILE_OBJ, 3, 2});
    const MapCell after = *e.map().cellAt(0, 0);
    ASSERT_TRUE(e.undo.undo(*e.ws, e));
    EXPECT_EQ(*e.map().cellAt(0, 0), MapCell{});
    ASSERT_TRUE(e.undo.redo(*e.ws, e));
    EXPECT_EQ(*e.map().cellAt(0, 0), after);
}

TEST(UndoHistory, AStepThatSavedNothingGivesWay)
{
    Editor e;
    e.fill(4);
    e.undo.beginStep(STEP_CELLS, StepName::Pencil);
    e.undo.beginStep(STEP_CELLS, StepName::BucketFill); // takes the empty one's place
    EXPECT_EQ(e.undo.size(), 2u);
    EXPECT_EQ(e.undo.undoName(), "Bucket Fill");
    ASSERT_TRUE(e.undo.undo(*e.ws, e)); // only goes
    EXPECT_EQ(e.undo.size(), 1u);
    EXPECT_EQ(e.map().cellAt(0, 0)->bgTile, 4);
    ASSERT_TRUE(e.undo.undo(*e.ws, e));
    EXPECT_EQ(e.map().cellAt(0, 0)->bgTile, 0);
    EXPECT_EQ(e.undo.redoName(), "Bucket Fill");
}

TEST(UndoHistory, UndoTellsTheListenerWhatCameBack)
{
    struct Recorder : UndoListener {
        std::vector<std::tuple<int, int, int>> tiles;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> colours;
        void tilesChanged(TileKind kind, int first, int last) override { tiles.emplace_back(kind, first, last); }
        void coloursChanged(std::uint32_t flags, std::uint32_t mask) override { colours.emplace_back(flags, mask); }
    } heard;
    Editor e;
    e.undo.beginStep(STEP_TILES, StepName::ClearTiles);
    ASSERT_TRUE(e.undo.saveTile(e.ws->tiles.obj.tiles[40]));
    ASSERT_TRUE(e.undo.saveTile(e.ws->tiles.obj.tiles[42]));
    e.undo.beginStep(STEP_COLOURS, StepName::PaletteColour);
    EXPECT_TRUE(e.undo.saveCell(e.map(), 0, 0, TILE_BG)); // ignored in a colour step
    EXPECT_TRUE(e.undo.saveTile(e.ws->tiles.bg.tiles[0]));
    ASSERT_TRUE(e.undo.saveColour(9, 2, 1, 2, 3));
    EXPECT_TRUE(e.undo.cellRecords().empty());
    EXPECT_TRUE(e.undo.tileRecords().empty());
    ASSERT_TRUE(e.undo.undo(*e.ws, heard));
    ASSERT_TRUE(e.undo.undo(*e.ws, heard));
    EXPECT_EQ(heard.colours, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0x80, 1u << 9}}));
    EXPECT_EQ(heard.tiles, (std::vector<std::tuple<int, int, int>>{{TILE_OBJ, 40, 42}}));
    EXPECT_EQ(e.ws->tiles.palettes.row(9)[2], (GbcColor{1, 2, 3}));
}

TEST(UndoHistory, TheRecordLimitFailsTheSave)
{
    Editor e;
    e.undo.maxRecords = 2;
    e.undo.beginStep(STEP_CELLS, StepName::Pencil);
    EXPECT_TRUE(e.undo.saveCell(e.map(), 0, 0, TILE_BG));
    EXPECT_TRUE(e.undo.saveCell(e.map(), 1, 0, TILE_BG));
    EXPECT_FALSE(e.undo.saveCell(e.map(), 2, 0, TILE_BG));
    EXPECT_TRUE(e.undo.saveCell(e.map(), 99, 0, TILE_BG)); // off the map: nothing to save
}

} // namespace
} // namespace qm
