#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

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
