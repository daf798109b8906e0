#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "core/base/RulerNumbers.h"
#include "core/base/ScrollTable.h"
#include "core/base/ZoomTable.h"
#include "support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace qm;
using namespace qm::test;
namespace fs = std::filesystem;

namespace {

size_t filesIn(const TempDir& dir)
{
    return size_t(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()));
}

} // namespace

TEST(ByteReader, NeverReadsPastTheEndAndKeepsItsPlaceOnFailure)
{
    const Bytes data = {1, 2, 3};
    ByteReader r(data);
    std::uint32_t v32 = 0xDEADBEEF;
    EXPECT_FALSE(r.u32(v32));
    EXPECT_EQ(std::tuple(v32, r.position()), std::tuple(0xDEADBEEFu, 0u));
    std::uint16_t v16 = 0;
    ASSERT_TRUE(r.u16(v16));
    EXPECT_EQ(v16, 0x0201);
    EXPECT_FALSE(r.u16(v16));
    std::uint8_t v8 = 0;
    ASSERT_TRUE(r.u8(v8));
    EXPECT_EQ(v8, 3);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.skip(1));
}

TEST(FileIO, AnAtomicWriteReplacesTheFileOnlyWhenCompleteEvenAReadOnlyOne)
{
    TempDir dir;
    const std::string path = dir.file("a.bin");
    writeBytes(path, {9, 9, 9});
    simulateWriteFailureAfter(500);
    EXPECT_FALSE(writeFileAtomically(path, Bytes(1000, 7)));
    EXPECT_EQ(readBytes(path), (Bytes{9, 9, 9}));
    EXPECT_EQ(filesIn(dir), 1u); // no temporary file is left behind
    std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    EXPECT_TRUE(writeFileAtomically(path, Bytes(1000, 7)));
    EXPECT_EQ(readBytes(path), Bytes(1000, 7));

    for (const bool unnamed : {true, false}) { // an AtomicFile changes the target only on commit
        useUnnamedTemporaries(unnamed);
        writeBytes(path, {9});
        for (const bool commit : {true, false}) {
            AtomicFile file;
            ASSERT_TRUE(file.open(path));
            for (std::uint8_t row = 0; row < 3; ++row)
                ASSERT_TRUE(file.write(Bytes{row, commit ? row : std::uint8_t(7)}));
            EXPECT_EQ(readBytes(path).size(), commit ? 1u : 6u);
            EXPECT_TRUE(!commit || file.commit()); // else abandoned
        }
        EXPECT_EQ(readBytes(path), (Bytes{0, 0, 1, 1, 2, 2})) << unnamed;
        EXPECT_EQ(filesIn(dir), 1u);
    }
    useUnnamedTemporaries(true);
}

TEST(FileIO, ReadersRefuseAnythingButARegularFileOfTheirSizeWithoutWaiting)
{
    TempDir dir;
    writeBytes(dir.file("two"), {1, 2});
    Bytes out;
    EXPECT_EQ(readWholeFile(dir.file("two"), out, 1), ReadStatus::TooLarge);
    // A FIFO with a writer: a reader that opened it would get bytes instead of the refusal.
    FifoPeer fifo(dir.file("fifo"), FifoPeer::Role::Writer, {1, 2, 3});
    for (const std::string& path : {dir.file("fifo"), dir.path().string(), std::string("/dev/zero")}) {
        std::uint64_t size = 0;
        const ReadResult whole = readWholeFile(path, out);
        EXPECT_EQ(whole, ReadStatus::NotRegular) << path;
        EXPECT_EQ(readFileStart(path, out, 2), ReadStatus::NotRegular) << path;
        EXPECT_EQ(readableFileSize(path, size), ReadStatus::NotRegular) << path;
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(readFailureText(whole, path, "Unable to open file " + path), path + " is not a regular file");
    }
    const ReadResult missing = readWholeFile(dir.file("none"), out);
    EXPECT_EQ(missing, ReadStatus::CannotOpen);
    EXPECT_EQ(readFailureText(missing, dir.file("none"), "Unable to open file x"),
              "Unable to open file x: No such file or directory");
}

// Our temporaries in dir.
static int temporariesIn(const fs::path& dir)
{
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().find(".qmtmp-") != std::string::npos;
    return n;
}

TEST(AtomicFile, AKilledWriteLeavesNoTemporaryOnceTheNextWriteRan)
{
    const std::vector<std::uint8_t> bytes(4096, 7);
    const struct { bool unnamed; WriteStage stage; int leftByKill; /* named temporaries the kill leaves */ } cases[] = {
        {true, WriteStage::Data, 0}, // nothing has a name until the end
        {true, WriteStage::Rename, 1},
        {false, WriteStage::Data, 1},
        {false, WriteStage::Rename, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.unnamed) + " " + std::to_string(static_cast<int>(c.stage)));
        TempDir dir;
        useUnnamedTemporaries(c.unnamed);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Stops in the middle of the write and waits to be killed.
            simulateShortWrites(1000);
            setWriteStageHook([&](WriteStage stage, std::size_t) {
                if (stage != c.stage)
                    return;
                const char byte = 1;
                if (::write(ready[1], &byte, 1) == 1)
                    ::pause();
            });
            (void)writeFileAtomically(dir.file("MAPBG.bin"), bytes);
            ::_exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(temporariesIn(dir.path()), c.leftByKill);

        // A running program's temporary and files that only look alike stay.
        const std::string alive = ".MAPBG.bin.qmtmp-" + std::to_string(::getppid()) + "-abcdef";
        for (const std::string& name : {alive, std::string(".MAPBG.bin.qmtmp-12x-abcdef"), std::string("notes.txt")})
            test::writeBytes(dir.file(name), {1});
        EXPECT_TRUE(writeFileAtomically(dir.file("MAPBG.bin"), bytes));
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.insert(entry.path().filename().string());
        EXPECT_EQ(names, (std::set<std::string>{"MAPBG.bin", alive, ".MAPBG.bin.qmtmp-12x-abcdef", "notes.txt"}));
    }
    useUnnamedTemporaries(true);
}

// Lines, pages, Home and End through the keys and bars are pinned by the ui's CQuiltmarkViewTest;
// these are the ends it does not reach.
TEST(ScrollTable, PagesAndTheThumbStopAtTheEndsAndGoToFillsTheView)
{
    using R = ScrollRequest;
    EXPECT_EQ(scrollTarget(R::LineBack, 0, 50, 20), std::nullopt);
    EXPECT_EQ(scrollTarget(R::PageBack, 10, 50, 20), 0);
    EXPECT_EQ(scrollTarget(R::PageForward, 25, 50, 20), 40); // near the end: height - visible + 10
    EXPECT_EQ(scrollTarget(R::PageForward, 0, 8, 30), 0);
    EXPECT_EQ(scrollTarget(R::End, 0, 3, 20), 0);
    EXPECT_EQ(scrollTarget(R::Thumb, 0, 50, 20, 17), 17);
    // The ruler's cell counts: 49 cells and the ruler fill 400 pixels exactly.
    EXPECT_FALSE(scrollBarNeeded(49, 8, 400));
    EXPECT_TRUE(scrollBarNeeded(50, 8, 400));
    EXPECT_EQ(scrollMaximum(50), 55);
    EXPECT_EQ(goToTarget(10, 100, 30), 10);
    EXPECT_EQ(goToTarget(70, 100, 30), 95); // the rest would not fill the view
}

TEST(ScrollTable, BothBarsAreDecidedTogether)
{
    // 400 x 300 pixels without bars, bars 15 pixels thick, 8-pixel cells.
    struct Case { int width, height; bool horizontal, vertical; };
    for (const Case c : {Case{40, 30, false, false}, Case{49, 30, false, false}, Case{40, 40, false, true},
                         Case{48, 40, true, true}, // fits until the vertical bar takes its 15 pixels
                         Case{60, 36, true, true}, Case{60, 30, true, false}}) {
        const ScrollBarsShown shown = scrollBarsNeeded(c.width, c.height, 8, 400, 300, 15, 15);
        EXPECT_EQ(std::pair(shown.horizontal, shown.vertical), std::pair(c.horizontal, c.vertical)) << c.width << "x" << c.height;
    }
}

TEST(ZoomTable, LevelsAndCellSizes)
{
    std::vector<int> sizes;
    for (int level = -1; level <= ZOOM_LEVELS; ++level)
        sizes.push_back(cellSizeOfZoom(level));
    EXPECT_EQ(sizes, (std::vector<int>{0, 4, 6, 8, 10, 12, 14, 16, 24, 32, 40, 48, 0}));
    EXPECT_EQ(std::pair(zoomOfCellSize(24), zoomOfCellSize(9)), std::pair(7, -1));
    EXPECT_STREQ(ZOOM_LABELS[10], "700%");
    // Zoom to fit: the largest level whose cells and ruler fit; 25% at least.
    // 20 x 18 cells of 24 pixels and the ruler: 504 x 456.
    EXPECT_EQ((std::vector{zoomToFit(20, 18, 800, 600), zoomToFit(20, 18, 504, 456), zoomToFit(20, 18, 503, 456),
                           zoomToFit(3, 3, 4000, 4000), zoomToFit(1000, 1000, 800, 600)}), (std::vector{7, 7, 6, 10, 0}));
}

TEST(RulerNumbers, EveryLineWhereItsNumberFitsARegularStepBelow)
{
    struct Case { int cellSize, width, height, step, scale; bool stacked; };
    for (const Case c : {
             Case{8, 20, 18, 1, 1, false},    // 100%: "19" is 7 pixels in a box of 8
             Case{8, 150, 18, 2, 1, false},   // "149" needs two columns
             Case{8, 20, 150, 5, 1, true},    // and is wider than the row ruler
             Case{12, 150, 150, 1, 1, false}, // 150%: "149" fits
             Case{24, 20, 18, 1, 2, false},   // 300%: digits twice their size
             Case{48, 100, 18, 1, 4, false},  // 700%: "99" four times
             Case{48, 1001, 18, 1, 2, false}, // "1000" only twice
             Case{6, 20, 18, 5, 1, true},     // 50%
             Case{4, 20, 18, 5, 1, true},     // 25%, short digits
             Case{4, 2000, 18, 5, 1, true},   // "1999" across 20 pixels
             Case{4, 20, 2000, 10, 1, true},  // "1999" digit over digit needs 21
         }) {
        const RulerPlan plan = rulerPlan(c.cellSize, c.width, c.height);
        EXPECT_EQ(std::tuple(plan.step, plan.scale, plan.stacked), std::tuple(c.step, c.scale, c.stacked))
            << c.cellSize << " " << c.width << "x" << c.height;
        EXPECT_EQ(plan.digitHeight, c.cellSize < 5 ? 4 : 5);
    }
    // Labels: across, and digit over digit.
    const RulerPlan big = rulerPlan(24, 20, 18);
    EXPECT_EQ(rulerLabelSize(10, big, false).width, 14);
    EXPECT_EQ(rulerLabelSize(10, big, false).height, 10);
    EXPECT_EQ(rulerLabelSize(123, rulerPlan(4, 20, 18), true).height, 14);
    // "1" is a stroke with a foot; the short "8" is not the short "0".
    EXPECT_EQ(rulerDigitRow(1, 4, 5), 7);
    EXPECT_NE(rulerDigitRow(8, 1, 4), rulerDigitRow(0, 1, 4));
    EXPECT_EQ(rulerDigitRow(3, 5, 5), 0);
}
