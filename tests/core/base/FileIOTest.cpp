#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

TEST(ByteReader, NeverReadsPastTheEndAndKeepsItsPlaceOnFailure)
{
    const std::vector<std::uint8_t> data = {1, 2, 3};
    ByteReader r(data);
    std::uint32_t v32 = 0xDEADBEEF;
    EXPECT_FALSE(r.u32(v32));
    EXPECT_EQ(v32, 0xDEADBEEFu);
    EXPECT_EQ(r.position(), 0u);
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

TEST(FileIO, AtomicWriteReplacesTheFileOnlyWhenComplete)
{
    TempDir dir;
    const std::string path = dir.file("a.bin");
    writeBytes(path, {9, 9, 9});
    const std::vector<std::uint8_t> fresh(1000, 7);

    simulateWriteFailureAfter(500);
    EXPECT_FALSE(writeFileAtomically(path, fresh));
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{9, 9, 9}));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);

    EXPECT_TRUE(writeFileAtomically(path, fresh));
    EXPECT_EQ(readBytes(path), fresh);
}

TEST(FileIO, ReplacesAReadOnlyFileAndRefusesOversizedReads)
{
    TempDir dir;
    const std::string path = dir.file("ro.bin");
    writeBytes(path, {1});
    std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    EXPECT_TRUE(writeFileAtomically(path, std::vector<std::uint8_t>{2, 3}));
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{2, 3}));

    std::vector<std::uint8_t> out;
    EXPECT_EQ(readWholeFile(path, out, 1), ReadStatus::TooLarge);
    EXPECT_EQ(readWholeFile(dir.file("missing"), out), ReadStatus::CannotOpen);
    EXPECT_EQ(readWholeFile(dir.path().string(), out), ReadStatus::CannotOpen);
}
