#include "core/project/Recovery.h"

#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qm;
using namespace qm::test;
namespace fs = std::filesystem;

namespace {

struct RecoveryTest : ::testing::Test {
    void SetUp() override
    {
        ws.project.projectPath = "/home/u/game/level.qmm";
        ws.project.bgTileSetPath = "/home/u/game/bg.qmb";
        ws.project.exportSettings.mapLocation = "/home/u/game/out";
        ASSERT_TRUE(ws.project.map.create(30, 20));
        ws.project.map.cellAt(29, 19)->place(TILE_OBJ, 300, 5);
        ws.project.map.cellAt(3, 4)->tag = 9;
        ws.tiles.bg.tiles[7].setPixel(1, 1, 3);
        ws.tiles.obj.tiles[500].setComment("boss");
        ws.tiles.palettes.row(12)[3] = GbcColor{1, 2, 3};
    }
    std::vector<RecoveryCopy> find(std::vector<std::string>* damaged = nullptr) { return findRecoveryCopies(root.path().string(), damaged); }

    TempDir root;
    Workspace ws;
};

TEST_F(RecoveryTest, ACopyOpensAsTheChangedProjectWithItsOwnPaths)
{
    auto writer = std::make_unique<RecoveryWriter>(root.path().string());
    ASSERT_TRUE(writer->write(ws, 1700000000));
    ws.project.map.cellAt(0, 0)->place(TILE_BG, 1, 1);
    ASSERT_TRUE(writer->write(ws, 1700000060)); // the second copy replaces the first
    EXPECT_TRUE(find().empty()) << "its editor still runs";
    const std::string folder = writer->folder();
    EXPECT_EQ(entriesIn(folder), 5);
    writer.reset(); // ends without removing, as a crash would
    const std::vector<RecoveryCopy> copies = find();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(copies[0].time == 1700000060 && recoveryQuestion(copies[0]).find("/home/u/game/level.qmm") != std::string::npos);

    Workspace opened;
    NullProgress none;
    ASSERT_TRUE(openRecoveryCopy(copies[0], opened, none));
    EXPECT_EQ(savedBytes(opened), savedBytes(ws));
    EXPECT_EQ(std::tuple(opened.project.projectPath, opened.project.bgTileSetPath, opened.project.exportSettings.mapLocation),
              std::tuple(ws.project.projectPath, ws.project.bgTileSetPath, "/home/u/game/out"));
    EXPECT_EQ(opened.project.changeFlags, CHANGED_MAP | CHANGED_PROJECT | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES);

    // Taken over by the editor that opened it: its writes replace it, a clean save removes it.
    RecoveryWriter next(root.path().string());
    ASSERT_TRUE(next.adopt(copies[0]));
    ASSERT_TRUE(next.write(opened, 1700000100));
    EXPECT_EQ(next.folder(), folder);
    next.remove();
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(RecoveryTest, ADamagedCopyIsRefusedAndKeptAside)
{
    // A file of the copy with bytes cut off its end, or with its middle byte changed (cut 0); none: intact.
    for (const auto& [file, cut] : {std::pair{"manifest", 1}, {"manifest", 0}, {"project-1.qmm", 7}, {"bg-1.qmb", 0},
                                    {static_cast<const char*>(nullptr), 0}}) {
        SCOPED_TRACE(file ? file : "intact");
        std::string folder;
        { // a copy whose writer is gone
            RecoveryWriter writer(root.path().string());
            ASSERT_TRUE(writer.write(ws, 1700000000));
            folder = writer.folder();
        }
        if (file) {
            std::vector<std::uint8_t> bytes = readBytes(folder + "/" + file);
            bytes.resize(bytes.size() - static_cast<std::size_t>(cut));
            bytes[bytes.size() / 2] ^= cut ? 0 : 1;
            writeBytes(folder + "/" + file, bytes);
        }
        std::vector<std::string> damaged;
        const std::vector<RecoveryCopy> copies = find(&damaged);
        Workspace opened;
        const std::vector<std::uint8_t> untouched = savedBytes(opened);
        NullProgress none;
        const Result r = copies.empty() ? Result::failure(damaged.at(0)) : openRecoveryCopy(copies[0], opened, none);
        EXPECT_EQ(r.ok(), file == nullptr);
        if (r.ok()) {
            discardRecoveryCopy(copies[0]);
            EXPECT_FALSE(fs::exists(folder));
            continue;
        }
        EXPECT_NE(r.text().find("is damaged and was not opened"), std::string::npos);
        EXPECT_EQ(savedBytes(opened), untouched);
        EXPECT_FALSE(fs::exists(folder));
        EXPECT_EQ(entriesIn(root.path() / RECOVERY_DAMAGED_FOLDER), 1);
        EXPECT_TRUE(find().empty());
        fs::remove_all(root.path() / RECOVERY_DAMAGED_FOLDER);
    }
}

TEST_F(RecoveryTest, AFolderWhoseFirstWriteNeverEndedIsRemoved)
{
    fs::create_directories(root.path() / "123-4");
    writeBytes(root.file("123-4/project-1.qmm"), {1, 2, 3});
    EXPECT_TRUE(find().empty());
    EXPECT_FALSE(fs::exists(root.path() / "123-4"));
}

} // namespace
