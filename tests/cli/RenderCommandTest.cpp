#include "cli/CliRun.h"
#include "core/base/FileIO.h"
#include "core/project/ProjectFile.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace qm::cli {
namespace {

int run(const std::vector<std::string>& args) { return test::runCliCommand(args).status; }

std::string sample(const std::string& name) { return test::samplesDir() + "/" + name + "/" + name + ".qmm"; }

// A written picture decoded through Qt: its palette and the index of every pixel.
QImage decoded(const std::string& path)
{
    QImage image(QString::fromStdString(path), "PNG");
    EXPECT_EQ(image.format(), QImage::Format_Indexed8) << path;
    return image;
}

void expectSamePicture(const QImage& got, const QImage& expected)
{
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(got.colorTable(), expected.colorTable());
    for (int y = 0; y < got.height(); ++y)
        ASSERT_EQ(0, std::memcmp(got.constScanLine(y), expected.constScanLine(y), static_cast<std::size_t>(got.width())))
            << "row " << y;
}

TEST(RenderCommandTest, SampleMatchesReferenceImages)
{
    test::TempDir dir;
    ASSERT_EQ(run({"render", sample("v5_6"), dir.file("map.png")}), 0);
    expectSamePicture(decoded(dir.file("map.png")), decoded(test::dataDir() + "/render/v5_6.png"));
    ASSERT_EQ(run({"render", sample("v5_6"), dir.file("tags.png"), "--tags", "--transparent-obj"}), 0);
    expectSamePicture(decoded(dir.file("tags.png")), decoded(test::dataDir() + "/render/v5_6_tags.png"));
}

// A map of many blocks and compressed pieces: the picture holds the renderer's
// indices and the 65 colours of the view.
TEST(RenderCommandTest, LargeRandomMapDecodesToTheRenderedIndices)
{
    test::TempDir dir;
    Workspace ws;
    ws.project.projectPath = dir.file("big.qmm");
    ASSERT_TRUE(ws.project.map.create(300, 200));
    ws.project.bgTileSetPath = dir.file("big.qmb");
    ws.project.objTileSetPath = dir.file("big.qmo");
    std::mt19937 rng(5);
    for (TileSet* set : {&ws.tiles.bg, &ws.tiles.obj, &ws.tiles.tag})
        for (CTile& t : set->tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() & 3);
    for (MapCell& c : ws.project.map.cells)
        c.set(static_cast<std::uint8_t>(rng()), static_cast<std::uint16_t>(rng() % 512), static_cast<std::uint8_t>(rng()),
              static_cast<std::uint16_t>(rng() % 512), static_cast<std::uint8_t>(rng()));
    NullProgress quiet;
    ASSERT_TRUE(writeProject(ws, quiet).ok());
    ASSERT_TRUE(saveTileSetFile(ws.project.bgTileSetPath, TILE_BG, ws.tiles, quiet).ok());
    ASSERT_TRUE(saveTileSetFile(ws.project.objTileSetPath, TILE_OBJ, ws.tiles, quiet).ok());
    FixedPrompter no(Answer::No);
    Workspace read;
    ASSERT_TRUE(readProject(dir.file("big.qmm"), read, no, quiet).ok());
    MapRenderer renderer(read.project.map, read.tiles);
    for (const bool tags : {false, true}) {
        ASSERT_EQ(run({"render", dir.file("big.qmm"), dir.file("big.png"), tags ? "--tags" : "--allow-missing-tiles"}), 0);
        renderer.reset();
        QImage expected(300 * 8, 200 * 8, QImage::Format_Indexed8);
        renderer.drawRows(tags ? MapImage::Tags : MapImage::Map, 0, 200, expected.bits(),
                          static_cast<std::size_t>(expected.bytesPerLine()));
        for (const DisplayColour& c : buildColourTable(read.tiles))
            expected.setColor(expected.colorCount(), qRgb(c.red, c.green, c.blue));
        expectSamePicture(decoded(dir.file("big.png")), expected);
    }
}

// Every sample renders, with every switch changing the picture, and exports
// all its pages; an old version is neither converted nor backed up.
TEST(RenderCommandTest, EverySampleRendersWithEverySwitchAndExports)
{
    test::TempDir dir;
    for (const char* v : {"v1_0", "v2_0", "v4_0", "v5_2", "v5_5", "v5_6"}) {
        const long files = test::entriesIn(test::samplesDir() + "/" + v);
        const auto project = test::readBytes(sample(v));
        ASSERT_EQ(run({"render", sample(v), dir.file("a.png")}), 0) << v;
        ASSERT_EQ(run({"render", sample(v), dir.file("b.png"), "--hide-obj", "--dmg", "--true-color"}), 0) << v;
        EXPECT_NE(test::readBytes(dir.file("a.png")), test::readBytes(dir.file("b.png"))) << v;
        const test::CliRun exported = test::runCliCommand({"export", sample(v), "--out", dir.file(v), "--create-dirs"});
        EXPECT_EQ(std::tuple(exported.status, exported.err), std::tuple(0, "")) << v;
        EXPECT_GT(test::entriesIn(dir.file(v)), 0) << v;
        EXPECT_EQ(std::tuple(test::entriesIn(test::samplesDir() + "/" + v), test::readBytes(sample(v))),
                  std::tuple(files, project)) << v;
    }
}

// The picture goes to the file as it is compressed: a write that fails on
// the way leaves the old file as it was and the command fails.
TEST(RenderCommandTest, AFailedWriteLeavesTheOldFile)
{
    test::TempDir dir;
    test::writeBytes(dir.file("map.png"), {'o', 'l', 'd'});
    for (const WriteStage stage : {WriteStage::Data, WriteStage::Sync}) {
        simulateWriteFailure({0, stage, 100});
        const test::CliRun r = test::runCliCommand({"render", sample("v5_6"), dir.file("map.png")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("quiltmark-cli render: cannot write"), std::string::npos) << r.err;
        EXPECT_EQ(test::readBytes(dir.file("map.png")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    }
    clearSimulatedWriteFailure();
}

} // namespace
} // namespace qm::cli
