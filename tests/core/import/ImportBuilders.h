#pragma once
// Byte builders for the import tests: Windows bitmaps and GBTD object files.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::test {

inline void put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct BmpFields {
    int width = 0;
    int height = 0; // rows; stored negative when topDown
    int bits = 8;
    bool topDown = false;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> table; // 0xRRGGBB entries written as the colour table
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;  // written after a 40-byte header when not empty
    std::vector<std::uint8_t> pixels;  // the pixel data exactly as stored
    std::optional<std::uint32_t> pixelOffset; // default: right after the table
    std::uint32_t gap = 0;                      // bytes of junk between table and pixels
};

inline std::vector<std::uint8_t> buildBmp(const BmpFields& s)
{
    std::vector<std::uint8_t> info;
    put32(info, 40);
    put32(info, static_cast<std::uint32_t>(s.width));
    put32(info, static_cast<std::uint32_t>(s.topDown ? -s.height : s.height));
    put16(info, 1);
    put16(info, static_cast<std::uint32_t>(s.bits));
    put32(info, s.compression);
    put32(info, static_cast<std::uint32_t>(s.pixels.size()));
    put32(info, 2835);
    put32(info, 2835);
    put32(info, s.coloursUsed);
    put32(info, 0);
    for (std::uint32_t m : s.masks)
        put32(info, m);
    for (std::uint32_t c : s.table) {
        info.push_back(static_cast<std::uint8_t>(c));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        info.push_back(0);
    }
    info.insert(info.end(), s.gap, 0xEE);
    const std::uint32_t offset = s.pixelOffset.value_or(static_cast<std::uint32_t>(14 + info.size()));
    std::vector<std::uint8_t> file = {'B', 'M'};
    put32(file, static_cast<std::uint32_t>(14 + info.size() + s.pixels.size()));
    put32(file, 0);
    put32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

// Packs an index picture (row 0 at the top) into stored rows of 1, 4 or 8
// bits with the row padding, bottom row first unless topDown.
inline std::vector<std::uint8_t> packIndexed(const std::vector<std::uint8_t>& indices, int width, int height, int bits,
                                             bool topDown)
{
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> out(stride * static_cast<size_t>(height), 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int y = topDown ? fileRow : height - 1 - fileRow;
        std::uint8_t* row = out.data() + stride * static_cast<size_t>(fileRow);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = indices[static_cast<size_t>(y * width + x)];
            if (bits == 8)
                row[x] = v;
            else if (bits == 4)
                row[x / 2] |= static_cast<std::uint8_t>((x & 1) ? v : v << 4);
            else
                row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
        }
    }
    return out;
}

// An 8-bit picture with the given colour table and index picture.
inline std::vector<std::uint8_t> indexedBmp(const std::vector<std::uint8_t>& indices, int width, int height,
                                            const std::vector<std::uint32_t>& table, int bits = 8)
{
    BmpFields s;
    s.width = width;
    s.height = height;
    s.bits = bits;
    s.table = table;
    s.coloursUsed = static_cast<std::uint32_t>(table.size());
    s.pixels = packIndexed(indices, width, height, bits, false);
    return buildBmp(s);
}

// GBTD object files.
struct GbrBuilder {
    std::vector<std::uint8_t> bytes;

    GbrBuilder()
    {
        const std::string head = "GBO0";
        bytes.assign(head.begin(), head.end());
    }

    GbrBuilder& object(std::uint16_t type, const std::vector<std::uint8_t>& body, std::uint16_t id = 1)
    {
        put16(bytes, type);
        put16(bytes, id);
        put32(bytes, static_cast<std::uint32_t>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    GbrBuilder& producer()
    {
        std::vector<std::uint8_t> body(120, 0);
        const std::string name = "Gameboy Tile Designer";
        std::copy(name.begin(), name.end(), body.begin());
        return object(1, body);
    }
    // Pixel data: one byte a pixel, tile after tile, each row by row.
    GbrBuilder& tileData(int width, int height, int count, const std::vector<std::uint8_t>& pixels)
    {
        std::vector<std::uint8_t> body(30, 0);
        put16(body, static_cast<std::uint32_t>(width));
        put16(body, static_cast<std::uint32_t>(height));
        put16(body, static_cast<std::uint32_t>(count));
        put32(body, 0x03020100);
        body.insert(body.end(), pixels.begin(), pixels.end());
        return object(2, body, 2);
    }
    // Palettes of four colours given as 0xRRGGBB.
    GbrBuilder& palettes(const std::vector<std::vector<std::uint32_t>>& pals)
    {
        std::vector<std::uint8_t> body;
        put16(body, 3);
        put16(body, static_cast<std::uint32_t>(pals.size()));
        for (const auto& p : pals)
            for (std::uint32_t c : p) {
                body.push_back(static_cast<std::uint8_t>(c >> 16));
                body.push_back(static_cast<std::uint8_t>(c >> 8));
                body.push_back(static_cast<std::uint8_t>(c));
                body.push_back(0);
            }
        return object(13, body, 3);
    }
    GbrBuilder& tilePalettes(const std::vector<std::uint32_t>& values)
    {
        std::vector<std::uint8_t> body;
        put16(body, 2);
        put16(body, static_cast<std::uint32_t>(values.size()));
        for (std::uint32_t v : values)
            put32(body, v);
        return object(14, body, 4);
    }
};

} // namespace qm::test
