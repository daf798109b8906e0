#include "core/import/BitmapReader.h"

#include "core/base/ByteReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <new>

namespace qm {

namespace {

constexpr std::uint32_t COMPRESSION_RGB = 0;
constexpr std::uint32_t COMPRESSION_RLE8 = 1;
constexpr std::uint32_t COMPRESSION_RLE4 = 2;
constexpr std::uint32_t COMPRESSION_BITFIELDS = 3;

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr size_t INFO_HEADER_SIZE = 40;
// Information headers run from 40 bytes (Windows 3) to 124 (version 5);
// allow some room for writers that add their own fields.
constexpr std::uint32_t MAX_INFO_HEADER_SIZE = 1024;

struct Header {
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

// One colour component described by a bit mask, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::bit_width(m >> shift);
        }
    }
    std::uint32_t of(std::uint32_t v) const
    {
        if (!bits)
            return 0;
        const std::uint32_t c = (v & mask) >> shift;
        if (bits >= 8)
            return (c >> (bits - 8)) & 0xFF;
        const std::uint32_t max = (1u << bits) - 1;
        return (c * 255 + max / 2) / max;
    }
};

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

// Maps a row as stored in the file to the row as seen on screen.
int screenRow(int fileRow, int height, bool topDown) { return topDown ? fileRow : height - 1 - fileRow; }

// Run-length compressed indices (RLE8 or RLE4) into colours. Pixels the data
// skips keep the colour they were given (that of index 0). Data that ends without its end-of-picture
// code ends the picture there, as other readers do.
template <typename ColourOf>
void decodeRle(std::span<const std::uint8_t> data, bool rle4, int width, int height, bool topDown,
               const ColourOf& colourOf, std::vector<std::uint32_t>& pixels)
{
    size_t pos = 0;
    std::int64_t x = 0;
    std::int64_t row = 0;
    auto put = [&](unsigned index) {
        if (x >= 0 && x < width && row < height)
            pixels[static_cast<size_t>(screenRow(static_cast<int>(row), height, topDown)) * width +
                   static_cast<size_t>(x)] = colourOf(index);
        ++x;
    };
    while (pos + 2 <= data.size() && row < height) {
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(rle4 ? ((i & 1) ? (value & 0x0Fu) : (value >> 4u)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // move right and up
            if (pos + 2 > data.size())
                break;
            x += data[pos];
            row += data[pos + 1];
            pos += 2;
        } else { // absolute run of 'value' pixels, padded to an even byte count
            const size_t n = value;
            const size_t byteCount = rle4 ? (n + 1) / 2 : n;
            if (pos + byteCount > data.size())
                break;
            for (size_t i = 0; i < n; ++i) {
                const std::uint8_t b = data[pos + (rle4 ? i / 2 : i)];
                put(rle4 ? ((i & 1) ? (b & 0x0Fu) : (b >> 4u)) : b);
            }
            pos += byteCount + (byteCount & 1);
        }
    }
}

} // namespace

BitmapReadStatus decodeBitmap(std::span<const std::uint8_t> bytes, BitmapImage& out)
{
    ByteReader r(bytes);
    Header h;
    if (!r.match("BM") || !r.skip(8) || !r.u32(h.pixelOffset) || !r.u32(h.infoSize) || !r.i32(h.width) ||
        !r.i32(h.height) || !r.skip(2) || !r.u16(h.bitCount) || !r.u32(h.compression) || !r.skip(12) ||
        !r.u32(h.coloursUsed) || !r.skip(4))
        return BitmapReadStatus::NotBitmap;

    const int bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return BitmapReadStatus::Damaged;
    // Only indexed pictures have a colour table to count; deeper ones hold
    // their colours in the pixels, whatever colour count they declare.
    const std::uint64_t colourCount = h.coloursUsed ? h.coloursUsed : std::uint64_t(1) << std::min(bits, 8);
    if (bits <= 8 && colourCount > 256)
        return BitmapReadStatus::TooManyColours;
    if (h.infoSize < INFO_HEADER_SIZE || h.infoSize > MAX_INFO_HEADER_SIZE)
        return BitmapReadStatus::Damaged;
    switch (h.compression) {
    case COMPRESSION_RGB:
        break;
    case COMPRESSION_RLE8:
        if (bits != 8)
            return BitmapReadStatus::Damaged;
        break;
    case COMPRESSION_RLE4:
        if (bits != 4)
            return BitmapReadStatus::Damaged;
        break;
    case COMPRESSION_BITFIELDS:
        if (bits != 16 && bits != 32)
            return BitmapReadStatus::Damaged;
        break;
    default:
        return BitmapReadStatus::Damaged;
    }
    const bool topDown = h.height < 0;
    const std::int64_t width = h.width;
    const std::int64_t height = topDown ? -std::int64_t(h.height) : std::int64_t(h.height);
    if (width <= 0 || height <= 0 || width > MAX_BITMAP_PIXELS || height > MAX_BITMAP_PIXELS ||
        width * height > MAX_BITMAP_PIXELS)
        return BitmapReadStatus::Damaged;

    // Bit-field masks: inside the information header from version 2 on, after
    // a 40-byte header otherwise.
    size_t tablePos = FILE_HEADER_SIZE + h.infoSize;
    Channel red(0x00FF0000), green(0x0000FF00), blue(0x000000FF);
    if (bits == 16) {
        red = Channel(0x7C00);
        green = Channel(0x03E0);
        blue = Channel(0x001F);
    }
    if (h.compression == COMPRESSION_BITFIELDS) {
        std::uint32_t masks[3];
        if (!r.seek(FILE_HEADER_SIZE + INFO_HEADER_SIZE) || !r.u32(masks[0]) || !r.u32(masks[1]) || !r.u32(masks[2]))
            return BitmapReadStatus::Damaged;
        red = Channel(masks[0]);
        green = Channel(masks[1]);
        blue = Channel(masks[2]);
        if (h.infoSize == INFO_HEADER_SIZE)
            tablePos += 12;
    }

    // The colour table: blue, green, red, reserved. Only the indexed pictures use it.
    std::array<std::uint32_t, 256> table{};
    size_t tableEntries = 0;
    if (bits <= 8) {
        tableEntries = static_cast<size_t>(colourCount);
        if (!r.seek(tablePos))
            return BitmapReadStatus::Damaged;
        for (size_t i = 0; i < tableEntries; ++i) {
            std::uint8_t bgra[4];
            if (!r.bytes(bgra, 4))
                return BitmapReadStatus::Damaged;
            table[i] = rgb(bgra[2], bgra[1], bgra[0]);
        }
    }
    size_t pixelPos = tablePos;
    if (bits <= 8)
        pixelPos += tableEntries * 4;
    else if (h.compression != COMPRESSION_BITFIELDS)
        pixelPos += size_t(h.coloursUsed) * 4;
    // The file header names where the pixels start; writers that leave a gap
    // rely on it. A value that points into the headers or past the file is
    // not believed.
    if (h.pixelOffset >= FILE_HEADER_SIZE + h.infoSize && h.pixelOffset <= bytes.size())
        pixelPos = h.pixelOffset;
    if (pixelPos > bytes.size())
        return BitmapReadStatus::Damaged;
    const std::span<const std::uint8_t> data = bytes.subspan(pixelPos);

    const int w = static_cast<int>(width);
    const int ht = static_cast<int>(height);
    const size_t pixelCount = static_cast<size_t>(width * height);
    const auto colourOfIndex = [&](unsigned index) { return index < tableEntries ? table[index] : 0u; };

    BitmapImage image;
    try {
        if (h.compression == COMPRESSION_RLE8 || h.compression == COMPRESSION_RLE4) {
            image.pixels.assign(pixelCount, colourOfIndex(0));
            decodeRle(data, h.compression == COMPRESSION_RLE4, w, ht, topDown, colourOfIndex, image.pixels);
        } else {
            const std::uint64_t rowBits = std::uint64_t(width) * std::uint64_t(bits);
            const std::uint64_t stride = (rowBits + 31) / 32 * 4;
            // The last row may come without its padding.
            const std::uint64_t needed = stride * std::uint64_t(height - 1) + (rowBits + 7) / 8;
            if (needed > data.size())
                return BitmapReadStatus::Damaged;
            image.pixels.resize(pixelCount);
            for (int fileRow = 0; fileRow < ht; ++fileRow) {
                const std::uint8_t* src = data.data() + stride * std::uint64_t(fileRow);
                std::uint32_t* dst = image.pixels.data() + size_t(screenRow(fileRow, ht, topDown)) * size_t(w);
                switch (bits) {
                case 1:
                    for (int x = 0; x < w; ++x)
                        dst[x] = colourOfIndex((src[x >> 3] >> (7 - (x & 7))) & 1);
                    break;
                case 4:
                    for (int x = 0; x < w; ++x)
                        dst[x] = colourOfIndex((x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
                    break;
                case 8:
                    for (int x = 0; x < w; ++x)
                        dst[x] = colourOfIndex(src[x]);
                    break;
                case 16:
                    for (int x = 0; x < w; ++x) {
                        const std::uint32_t v = src[2 * x] | (std::uint32_t(src[2 * x + 1]) << 8);
                        dst[x] = rgb(red.of(v), green.of(v), blue.of(v));
                    }
                    break;
                case 24:
                    for (int x = 0; x < w; ++x)
                        dst[x] = rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                    break;
                case 32:
                    for (int x = 0; x < w; ++x) {
                        const std::uint8_t* p = src + 4 * x;
                        const std::uint32_t v = p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                                (std::uint32_t(p[3]) << 24);
                        dst[x] = rgb(red.of(v), green.of(v), blue.of(v));
                    }
                    break;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return BitmapReadStatus::Damaged;
    }
    image.width = w;
    image.height = ht;
    out = std::move(image);
    return BitmapReadStatus::Ok;
}

} // namespace qm
