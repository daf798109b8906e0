#include "core/import/BitmapReader.h"
#include "core/import/BitmapImport.h"
#include "core/import/BitmapPreview.h"
#include "ImportBuilders.h"

#include <gtest/gtest.h>

#include <random>

using namespace qm;
using namespace qm::test;

namespace {

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF, GREY = 0x808080;

std::vector<std::uint32_t> rowOf(const BitmapImage& img, int y)
{
    std::vector<std::uint32_t> row;
    for (int x = 0; x < img.width; ++x)
        row.push_back(img.at(x, y));
    return row;
}

} // namespace

TEST(BitmapReader, IndexedPicturesOfEveryDepthAndRowOrder)
{
    // A 10 x 3 picture (rows need padding at every depth), stored bottom-up and top-down.
    const int w = 10, h = 3;
    std::vector<std::uint8_t> indices(w * h);
    for (int i = 0; i < w * h; ++i)
        indices[i] = static_cast<std::uint8_t>((i * 7 + i / w) % 2);
    const std::vector<std::uint32_t> table = {RED, BLUE};
    for (int bits : {1, 4, 8})
        for (bool topDown : {false, true}) {
            BmpFields s;
            s.width = w;
            s.height = h;
            s.bits = bits;
            s.topDown = topDown;
            s.table = table;
            s.coloursUsed = bits == 1 ? 0 : 2; // 1-bit: the table size comes from the bit count
            s.pixels = packIndexed(indices, w, h, bits, topDown);
            BitmapImage img;
            ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok) << bits << topDown;
            ASSERT_EQ(img.width, w);
            ASSERT_EQ(img.height, h);
            for (int i = 0; i < w * h; ++i)
                EXPECT_EQ(img.pixels[i], table[indices[i]]) << "bits " << bits << " top-down " << topDown << " at " << i;
        }
}

TEST(BitmapReader, Rle8RunsAbsoluteRunsDeltaAndLineEnds)
{
    BmpFields s;
    s.width = 4;
    s.height = 2;
    s.bits = 8;
    s.compression = 1;
    s.table = {WHITE, RED, GREEN};
    s.coloursUsed = 3;
    s.pixels = {0x03, 0x01,                         // bottom row: three pixels of 1
                0x00, 0x00,                         // end of line
                0x00, 0x03, 0x02, 0x00, 0x01, 0x00, // absolute 2, 0, 1, padded to an even count
                0x00, 0x01};                        // end of picture
    BitmapImage img;
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{GREEN, WHITE, RED, WHITE}));
    EXPECT_EQ(rowOf(img, 1), (std::vector<std::uint32_t>{RED, RED, RED, WHITE}));

    // A delta moves right and up; the pixels it skips keep index 0.
    s.width = 3;
    s.height = 3;
    s.pixels = {0x00, 0x02, 0x01, 0x01, 0x01, 0x02, 0x00, 0x01};
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{WHITE, WHITE, WHITE}));
    EXPECT_EQ(rowOf(img, 1), (std::vector<std::uint32_t>{WHITE, GREEN, WHITE}));
    EXPECT_EQ(rowOf(img, 2), (std::vector<std::uint32_t>{WHITE, WHITE, WHITE}));
}

TEST(BitmapReader, Rle4RunsAlternateNibblesAndAbsoluteRunsArePadded)
{
    BmpFields s;
    s.width = 11;
    s.height = 1;
    s.bits = 4;
    s.compression = 2;
    s.table = {WHITE, RED, GREEN, BLUE};
    s.coloursUsed = 4;
    s.pixels = {0x03, 0x12,                   // 1 2 1
                0x00, 0x03, 0x31, 0x20,       // absolute 3 1 2 (two bytes, no padding)
                0x00, 0x05, 0x12, 0x30, 0x20, 0x00, // absolute 1 2 3 0 2, three bytes + padding
                0x00, 0x01};
    BitmapImage img;
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREEN, RED, BLUE, RED, GREEN, RED, GREEN, BLUE, WHITE,
                                                         GREEN}));
}

TEST(BitmapReader, DeepPicturesWithOrWithoutAColourTable)
{
    // 24 bits with a declared table of two entries: the pixels are direct colours.
    BmpFields s;
    s.width = 2;
    s.height = 1;
    s.bits = 24;
    s.table = {0, 0};
    s.coloursUsed = 2;
    s.pixels = {0x00, 0x00, 0xFF, 0x80, 0x80, 0x80, 0, 0}; // red, grey, row padding
    BitmapImage img;
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREY}));

    s.coloursUsed = 0;
    s.table.clear();
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREY}));
    // An indexed picture may not declare more than 256 table entries.
    BmpFields many;
    many.width = 1;
    many.height = 1;
    many.coloursUsed = 257;
    many.pixels = {0, 0, 0, 0};
    EXPECT_EQ(decodeBitmap(buildBmp(many), img), BitmapReadStatus::TooManyColours);
}

TEST(BitmapReader, BitFieldMasksAndDefaultSixteenBitLayout)
{
    BmpFields s;
    s.width = 3;
    s.height = 1;
    s.bits = 16;
    s.compression = 3;
    s.coloursUsed = 1;
    s.masks = {0xF800, 0x07E0, 0x001F}; // 5-6-5
    s.pixels = {0x00, 0xF8, 0xE0, 0x07, 0xFF, 0xFF, 0, 0};
    BitmapImage img;
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREEN, WHITE}));

    // Without masks 16 bits are 5-5-5.
    s.compression = 0;
    s.masks.clear();
    s.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0};
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREEN, BLUE}));

    // 32 bits with masks in an unusual order.
    s.bits = 32;
    s.compression = 3;
    s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red in the low byte
    s.pixels = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0};
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{RED, GREEN, BLUE}));
}

TEST(BitmapReader, PixelOffsetOfTheFileHeaderIsBelievedOnlyWhenPlausible)
{
    BmpFields s;
    s.width = 2;
    s.height = 1;
    s.table = {RED, BLUE};
    s.coloursUsed = 2;
    s.gap = 6;
    s.pixels = {1, 0, 0, 0};
    s.pixelOffset = 14 + 40 + 8 + 6;
    BitmapImage img;
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{BLUE, RED}));

    s.gap = 0;
    s.pixelOffset = 0; // points into the headers: the pixels follow the table
    ASSERT_EQ(decodeBitmap(buildBmp(s), img), BitmapReadStatus::Ok);
    EXPECT_EQ(rowOf(img, 0), (std::vector<std::uint32_t>{BLUE, RED}));
}

TEST(BitmapReader, RefusesWhatIsNotAWholeBitmap)
{
    BitmapImage img;
    const std::vector<std::uint8_t> good = indexedBmp({0, 1, 1, 0}, 2, 2, {RED, BLUE});
    ASSERT_EQ(decodeBitmap(good, img), BitmapReadStatus::Ok);

    std::vector<std::uint8_t> bad = good;
    bad[1] = 'X';
    EXPECT_EQ(decodeBitmap(bad, img), BitmapReadStatus::NotBitmap);
    EXPECT_EQ(decodeBitmap(std::span(good).first(40), img), BitmapReadStatus::NotBitmap);
    // The last row is there but the first is cut short.
    EXPECT_EQ(decodeBitmap(std::span(good).first(good.size() - 6), img), BitmapReadStatus::Damaged);

    const auto withHeader = [&](size_t offset, std::uint32_t value, int width = 4) {
        std::vector<std::uint8_t> b = good;
        for (int i = 0; i < width; ++i)
            b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return b;
    };
    EXPECT_EQ(decodeBitmap(withHeader(18, 0), img), BitmapReadStatus::Damaged);           // width 0
    EXPECT_EQ(decodeBitmap(withHeader(22, 0), img), BitmapReadStatus::Damaged);           // height 0
    EXPECT_EQ(decodeBitmap(withHeader(18, 0x7FFFFFFF), img), BitmapReadStatus::Damaged);  // absurd width
    EXPECT_EQ(decodeBitmap(withHeader(22, 0x80000000), img), BitmapReadStatus::Damaged);  // absurd top-down height
    EXPECT_EQ(decodeBitmap(withHeader(28, 2, 2), img), BitmapReadStatus::Damaged);        // 2 bits a pixel
    EXPECT_EQ(decodeBitmap(withHeader(30, 2), img), BitmapReadStatus::Damaged);           // RLE4 on 8 bits
    EXPECT_EQ(decodeBitmap(withHeader(30, 4), img), BitmapReadStatus::Damaged);           // JPEG inside
    EXPECT_EQ(decodeBitmap(withHeader(14, 12), img), BitmapReadStatus::Damaged);          // core header
    EXPECT_EQ(decodeBitmap(withHeader(46, 200), img), BitmapReadStatus::Damaged);         // table past the end
}

TEST(BitmapReader, EveryPrefixAndCorruptedHeaderIsHandled)
{
    std::vector<std::vector<std::uint8_t>> files;
    std::vector<std::uint8_t> idx(24 * 9);
    for (size_t i = 0; i < idx.size(); ++i)
        idx[i] = static_cast<std::uint8_t>(i % 3);
    files.push_back(indexedBmp(idx, 24, 9, {RED, GREEN, BLUE}, 8));
    files.push_back(indexedBmp(idx, 24, 9, {RED, GREEN, BLUE}, 4));
    BmpFields rle;
    rle.width = 5;
    rle.height = 3;
    rle.compression = 1;
    rle.table = {RED, GREEN, BLUE};
    rle.coloursUsed = 3;
    rle.pixels = {0x05, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x01, 0x00, 0x00, 0x02, 0x01, 0x01, 0x02, 0x02, 0x00, 0x01};
    files.push_back(buildBmp(rle));
    BmpFields deep;
    deep.width = 3;
    deep.height = 2;
    deep.bits = 16;
    deep.compression = 3;
    deep.coloursUsed = 1;
    deep.masks = {0xF800, 0x07E0, 0x001F};
    deep.pixels = std::vector<std::uint8_t>(16, 0x5A);
    files.push_back(buildBmp(deep));

    std::mt19937 rng(7);
    for (const auto& file : files) {
        for (size_t n = 0; n <= file.size(); ++n) {
            BitmapImage img;
            const BitmapReadStatus st = decodeBitmap(std::span(file).first(n), img);
            if (st == BitmapReadStatus::Ok) {
                EXPECT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height));
            }
        }
        for (int round = 0; round < 200; ++round) {
            std::vector<std::uint8_t> b = file;
            const int changes = 1 + round % 4;
            for (int c = 0; c < changes; ++c)
                b[rng() % std::min<size_t>(b.size(), 70)] = static_cast<std::uint8_t>(rng());
            BitmapImage img;
            if (decodeBitmap(b, img) == BitmapReadStatus::Ok) {
                EXPECT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height));
            }
        }
    }
}

TEST(BitmapPreview, LinesOfThePreviewPanel)
{
    BmpFields s;
    s.width = 3;
    s.height = 5;
    s.topDown = true;
    s.bits = 4;
    s.table = {RED};
    s.coloursUsed = 1;
    s.pixels = std::vector<std::uint8_t>(20, 0);
    const std::optional<BitmapPreviewInfo> info = readBitmapPreviewInfo(buildBmp(s));
    ASSERT_TRUE(info);
    EXPECT_EQ(bitmapPreviewLines(*info, 2047),
              (std::array<std::string, 4>{"Width: 3 pixels", "Height: 5 pixels", "Colors: 16", "Size: 1 Kb"}));
    const std::pair<int, const char*> colourLines[] = {
        {1, "Colors: 2 (monocromatic)"}, {8, "Colors: 256"}, {16, "Colors: 65,536"}, {24, "Colors: 16 millions"},
        {32, ""}};
    for (const auto& [bits, line] : colourLines)
        EXPECT_EQ(bitmapPreviewLines(BitmapPreviewInfo{1, 1, bits}, 0)[2], line);
    EXPECT_FALSE(readBitmapPreviewInfo(std::vector<std::uint8_t>{'B', 'M', 0, 0}));
}
