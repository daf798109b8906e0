#include "core/base/PngWriter.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PngWriterTest, RefusesWhatPngCannotHold)
{
    const std::uint8_t pixel = 0;
    const PngColour one[1] = {};
    EXPECT_TRUE(encodeIndexedPng(0, 1, &pixel, 1, one).empty());
    EXPECT_TRUE(encodeIndexedPng(1, 1, &pixel, 1, {}).empty());
    EXPECT_TRUE(encodeIndexedPng(1, 1, &pixel, 1, std::vector<PngColour>(257)).empty());
}

TEST(PngWriterTest, RowsGoToTheSinkAsTheyComeAndASinkFailureStops)
{
    // A picture of noise does not compress: most of it must have reached the
    // sink before the last row is written.
    const int side = 1024;
    std::vector<std::uint8_t> row(side);
    std::size_t received = 0;
    int calls = 0;
    IndexedPngWriter writer([&](std::span<const std::uint8_t> bytes) {
        received += bytes.size();
        return ++calls < 6;
    });
    const std::vector<PngColour> palette(256);
    ASSERT_TRUE(writer.begin(side, side, palette));
    std::uint32_t seed = 1;
    int y = 0;
    bool ok = true;
    for (; ok && y < side; ++y) {
        for (auto& p : row)
            p = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
        ok = writer.writeRow(row.data());
    }
    EXPECT_TRUE(!ok && writer.sinkFailed() && y < side);
    EXPECT_GE(received, std::size_t(5) * 65536);
    EXPECT_FALSE(writer.finish());
}

} // namespace
} // namespace qm
