#include "core/base/PngEncoder.h"
#include "core/base/PngReader.h"

#include <gtest/gtest.h>

using namespace qm;
using Bytes = std::vector<std::uint8_t>;

namespace {

void put32(Bytes& b, std::uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(static_cast<std::uint8_t>(v >> s));
}

void chunk(Bytes& png, const char* type, const Bytes& data)
{
    put32(png, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    put32(png, crc32(body.data(), body.size()));
}

// An RGBA picture (colour type 6) with its rows in one stored deflate block.
Bytes rgbaPng(std::uint32_t w, std::uint32_t h, const Bytes& pixels)
{
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    put32(ihdr, w);
    put32(ihdr, h);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    Bytes raw;
    for (std::uint32_t y = 0; y < h; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), pixels.begin() + y * w * 4, pixels.begin() + (y + 1) * w * 4);
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    const auto n = static_cast<std::uint16_t>(raw.size());
    Bytes z = {0x78, 0x01, 0x01, std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(~n), std::uint8_t(~n >> 8)};
    z.insert(z.end(), raw.begin(), raw.end());
    put32(z, b << 16 | a);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    return png;
}

} // namespace

TEST(PngReader, IndexedPicturesKeepTheirIndicesAndTrueColourOnesTheirColours)
{
    const std::uint8_t pixels[] = {0, 1, 2, 3, 3, 2};
    const PngColour table[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
    PngPicture p;
    ASSERT_TRUE(decodePng(encodeIndexedPng(3, 2, pixels, 3, table), p));
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.height, 2);
    EXPECT_EQ(p.indices, (Bytes{0, 1, 2, 3, 3, 2}));
    EXPECT_EQ(Bytes(p.rgba.begin() + 12, p.rgba.begin() + 16), (Bytes{1, 2, 3, 255}));

    const Bytes rgba = {10, 20, 30, 255, 40, 50, 60, 0};
    ASSERT_TRUE(decodePng(rgbaPng(1, 2, rgba), p));
    EXPECT_EQ(p.rgba, rgba);
    EXPECT_TRUE(p.indices.empty());
    EXPECT_EQ(p.bitsPerPixel, 32);
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
    const std::uint32_t crc = crc32(huge.data() + 12, 17);
    for (size_t i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(decodePng(huge, p).text(), "the picture is 4194306 x 4194306 pixels; at most 33554432 pixels can be read");
    EXPECT_EQ(p.width, 2); // the last good picture stays
}
