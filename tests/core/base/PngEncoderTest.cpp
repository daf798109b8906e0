#include "core/base/PngEncoder.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PngEncoderTest, OnePixelGoldenBytes)
{
    const std::uint8_t pixel = 1;
    const PngColour palette[2] = {{0, 0, 0}, {200, 100, 50}};
    const std::vector<std::uint8_t> png = encodeIndexedPng(1, 1, &pixel, 1, palette);
    // Written independently with Python's zlib.crc32 and zlib.adler32; the
    // deflate stream is one fixed-code block: literals 0 and 1, end of block.
    const std::vector<std::uint8_t> expected = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A,                         // signature
        0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, // IHDR 1 x 1
        0x00, 0x00, 0x00, 0x01, 0x08, 0x03, 0x00, 0x00, 0x00, 0x28, 0xCB, 0x34, // 8-bit palette
        0xBB, 0x00, 0x00, 0x00, 0x06, 0x50, 0x4C, 0x54, 0x45, 0x00, 0x00, 0x00, // PLTE
        0xC8, 0x64, 0x32, 0xF3, 0x9D, 0x81, 0x14, 0x00, 0x00, 0x00, 0x0A, 0x49, //
        0x44, 0x41, 0x54, 0x78, 0x01, 0x63, 0x60, 0x04, 0x00, 0x00, 0x03, 0x00, // IDAT
        0x02, 0x70, 0x2F, 0x78, 0x83, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, // IEND
        0x44, 0xAE, 0x42, 0x60, 0x82};
    EXPECT_EQ(png, expected);
}

TEST(PngEncoderTest, RefusesWhatPngCannotHold)
{
    const std::uint8_t pixel = 0;
    const PngColour one[1] = {};
    EXPECT_TRUE(encodeIndexedPng(0, 1, &pixel, 1, one).empty());
    EXPECT_TRUE(encodeIndexedPng(1, 1, &pixel, 1, {}).empty());
    std::vector<PngColour> tooMany(257);
    EXPECT_TRUE(encodeIndexedPng(1, 1, &pixel, 1, tooMany).empty());
}

TEST(PngEncoderTest, Crc32KnownValue)
{
    const std::string s = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), 0xCBF43926u);
}

} // namespace
} // namespace qm
