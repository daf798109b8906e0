#include "core/import/BitmapReader.h"
#include "core/import/BitmapImport.h"
#include "core/import/BitmapPreview.h"
#include "ImportBuilders.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

namespace {

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF, GREY = 0x808080;

BmpFields fields(int w, int h, int bits, std::uint32_t compression, std::vector<std::uint32_t> table,
                 std::vector<std::uint8_t> pixels, std::vector<std::uint32_t> masks = {})
{
    BmpFields s;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.compression = compression;
    s.coloursUsed = static_cast<std::uint32_t>(table.size());
    s.table = std::move(table);
    s.pixels = std::move(pixels);
    s.masks = std::move(masks);
    return s;
}

// Golden files of every stored form and the picture each holds, rows from the top.
struct Golden {
    const char* what;
    BmpFields file;
    std::vector<std::uint32_t> picture;
};

std::vector<Golden> goldenFiles()
{
    std::vector<Golden> g = {
        {"RLE8 runs, line end, absolute run padded to even",
         fields(4, 2, 8, 1, {WHITE, RED, GREEN},
                {0x03, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x01, 0x00, 0x00, 0x01}),
         {GREEN, WHITE, RED, WHITE, RED, RED, RED, WHITE}},
        {"RLE8 delta: skipped pixels keep index 0", fields(3, 3, 8, 1, {WHITE, RED, GREEN},
                                                            {0x00, 0x02, 0x01, 0x01, 0x01, 0x02, 0x00, 0x01}),
         {WHITE, WHITE, WHITE, WHITE, GREEN, WHITE, WHITE, WHITE, WHITE}},
        {"RLE4 alternating nibbles, absolute runs padded",
         fields(11, 1, 4, 2, {WHITE, RED, GREEN, BLUE},
                {0x03, 0x12, 0x00, 0x03, 0x31, 0x20, 0x00, 0x05, 0x12, 0x30, 0x20, 0x00, 0x00, 0x01}),
         {RED, GREEN, RED, BLUE, RED, GREEN, RED, GREEN, BLUE, WHITE, GREEN}},
        {"24 bits with a table that is not used", fields(2, 1, 24, 0, {0, 0}, {0x00, 0x00, 0xFF, 0x80, 0x80, 0x80, 0, 0}),
         {RED, GREY}},
        {"24 bits", fields(2, 1, 24, 0, {}, {0x00, 0x00, 0xFF, 0x80, 0x80, 0x80, 0, 0}), {RED, GREY}},
        {"16 bits 5-6-5 masks",
         fields(3, 1, 16, 3, {0}, {0x00, 0xF8, 0xE0, 0x07, 0xFF, 0xFF, 0, 0}, {0xF800, 0x07E0, 0x001F}),
         {RED, GREEN, WHITE}},
        {"16 bits without masks: 5-5-5", fields(3, 1, 16, 0, {0}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}),
         {RED, GREEN, BLUE}},
        {"32 bits, red in the low byte",
         fields(3, 1, 32, 3, {0}, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}, {0xFF, 0xFF00, 0xFF0000}),
         {RED, GREEN, BLUE}},
    };
    // The pixel offset of the file header is believed when it lies past the table...
    BmpFields gap = fields(2, 1, 8, 0, {RED, BLUE}, {1, 0, 0, 0});
    gap.gap = 6;
    gap.pixelOffset = 14 + 40 + 8 + 6;
    g.push_back({"pixel offset past a gap", gap, {BLUE, RED}});
    // ...and not when it points into the headers.
    BmpFields into = fields(2, 1, 8, 0, {RED, BLUE}, {1, 0, 0, 0});
    into.pixelOffset = 0;
    g.push_back({"pixel offset into the headers", into, {BLUE, RED}});
    // A 10 x 3 picture (rows padded at every depth), bottom-up and top-down;
    // a 1-bit table takes its size from the bit count.
    std::vector<std::uint8_t> indices(30);
    std::vector<std::uint32_t> picture;
    for (int i = 0; i < 30; ++i) {
        indices[static_cast<size_t>(i)] = static_cast<std::uint8_t>((i * 7 + i / 10) % 2);
        picture.push_back(indices[static_cast<size_t>(i)] ? BLUE : RED);
    }
    for (int bits : {1, 4, 8})
        for (bool topDown : {false, true}) {
            BmpFields s = fields(10, 3, bits, 0, {RED, BLUE}, packIndexed(indices, 10, 3, bits, topDown));
            s.topDown = topDown;
            s.coloursUsed = bits == 1 ? 0 : 2;
            g.push_back({topDown ? "indexed top-down" : "indexed bottom-up", s, picture});
        }
    return g;
}

} // namespace

TEST(BitmapReader, GoldenFilesOfEveryDepthAndCompression)
{
    for (const Golden& g : goldenFiles()) {
        SCOPED_TRACE(std::string(g.what) + ", " + std::to_string(g.file.bits) + " bits");
        const std::vector<std::uint8_t> file = buildBmp(g.file);
        BitmapImage img;
        ASSERT_EQ(decodeBitmap(file, img), BitmapReadStatus::Ok);
        EXPECT_EQ(img.width, g.file.width);
        EXPECT_EQ(img.height, g.file.height);
        EXPECT_EQ(img.pixels, g.picture);
        // No prefix gives a picture of the wrong size.
        for (size_t n = 0; n < file.size(); ++n) {
            if (decodeBitmap(std::span(file).first(n), img) == BitmapReadStatus::Ok) {
                EXPECT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height)) << n;
            }
        }
    }
}

TEST(BitmapReader, RefusesWhatIsNotAWholeBitmap)
{
    BitmapImage img;
    const std::vector<std::uint8_t> good = indexedBmp({0, 1, 1, 0}, 2, 2, {RED, BLUE});
    ASSERT_EQ(decodeBitmap(good, img), BitmapReadStatus::Ok);

    const auto withHeader = [&](size_t offset, std::uint32_t value, int width = 4) {
        std::vector<std::uint8_t> b = good;
        for (int i = 0; i < width; ++i)
            b.at(offset + static_cast<size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
        return b;
    };
    const std::vector<std::uint8_t> lastRowOnly(good.begin(), good.end() - 6);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        BitmapReadStatus status;
    } cases[] = {
        {"signature", withHeader(1, 'X', 1), BitmapReadStatus::NotBitmap},
        {"header cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 40), BitmapReadStatus::NotBitmap},
        {"first row cut short", lastRowOnly, BitmapReadStatus::Damaged},
        {"width 0", withHeader(18, 0), BitmapReadStatus::Damaged},
        {"height 0", withHeader(22, 0), BitmapReadStatus::Damaged},
        {"absurd width", withHeader(18, 0x7FFFFFFF), BitmapReadStatus::Damaged},
        {"absurd top-down height", withHeader(22, 0x80000000), BitmapReadStatus::Damaged},
        {"2 bits a pixel", withHeader(28, 2, 2), BitmapReadStatus::Damaged},
        {"RLE4 on 8 bits", withHeader(30, 2), BitmapReadStatus::Damaged},
        {"JPEG inside", withHeader(30, 4), BitmapReadStatus::Damaged},
        {"core header", withHeader(14, 12), BitmapReadStatus::Damaged},
        {"table past the end", withHeader(46, 200), BitmapReadStatus::Damaged},
        {"257 table entries", withHeader(46, 257), BitmapReadStatus::TooManyColours},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeBitmap(c.bytes, img), c.status) << c.what;
}

TEST(BitmapPreview, LinesOfThePreviewPanel)
{
    BmpFields s = fields(3, 5, 4, 0, {RED}, std::vector<std::uint8_t>(20, 0));
    s.topDown = true;
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
