#include "core/base/PngWriter.h"
#include "core/base/PngReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qm;
using Bytes = std::vector<std::uint8_t>;

using test::rgbaPng;

TEST(PngReader, IndexedPicturesKeepTheirIndicesAndTrueColourOnesTheirColours)
{
    const std::uint8_t pixels[] = {0, 1, 2, 3, 3, 2};
    const PngColour table[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
    PngPicture p;
    ASSERT_TRUE(decodePng(encodeIndexedPng(3, 2, pixels, 3, table), p));
    EXPECT_EQ(std::tuple(p.width, p.height, p.indices), std::tuple(3, 2, Bytes{0, 1, 2, 3, 3, 2}));
    EXPECT_EQ(Bytes(p.rgba.begin() + 12, p.rgba.begin() + 16), (Bytes{1, 2, 3, 255}));

    const Bytes rgba = {10, 20, 30, 255, 40, 50, 60, 0};
    ASSERT_TRUE(decodePng(rgbaPng(1, 2, rgba), p));
    EXPECT_EQ(std::tuple(p.rgba, p.indices.size(), p.bitsPerPixel), std::tuple(rgba, 0u, 32));
    EXPECT_EQ(readPngSize(rgbaPng(1, 2, rgba))->height, 2);
}

TEST(PngReader, RefusesDamagedAndOversizedFilesWithAMessage)
{
    const Bytes good = rgbaPng(2, 2, Bytes(16, 7));
    PngPicture p;
    ASSERT_TRUE(decodePng(good, p));
    // The pixels are whole before the last checksum and the end chunk.
    for (size_t n = 0; n + 16 < good.size(); n += 3)
        EXPECT_FALSE(decodePng(std::span(good).first(n), p)) << n;
    Bytes badCrc = good;
    badCrc[30] ^= 1; // in the IHDR checksum
    EXPECT_EQ(decodePng(badCrc, p).text().rfind("the PNG picture is damaged: ", 0), 0u);
    EXPECT_EQ(decodePng(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0}, p).text(), "the picture is not a PNG file");

    // Four million pixels square: refused from the header, before any pixel.
    Bytes huge = good;
    for (size_t i : {17, 21})
        huge[i] = 0x40;
    const std::uint32_t crc = test::crc32(huge.data() + 12, 17);
    for (size_t i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(decodePng(huge, p).text(), "the picture is 4194306 x 4194306 pixels; at most 33554432 pixels can be read");
    EXPECT_EQ(p.width, 2); // the last good picture stays
}
