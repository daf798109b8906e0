#pragma once
// Byte builders for the import tests: Windows bitmaps and GBTD object files.

#include "support/TestSupport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::test {

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
    ByteBuilder info;
    info.u32(40).u32(static_cast<std::uint32_t>(s.width));
    info.u32(static_cast<std::uint32_t>(s.topDown ? -s.height : s.height)).u16(1).u16(s.bits).u32(s.compression);
    info.u32(static_cast<std::uint32_t>(s.pixels.size())).u32(2835).u32(2835).u32(s.coloursUsed).u32(0);
    for (std::uint32_t m : s.masks)
        info.u32(m);
    for (std::uint32_t c : s.table)
        info.u32(c & 0xFFFFFF); // blue, green, red, 0
    info.b.insert(info.b.end(), s.gap, 0xEE);
    const auto offset = s.pixelOffset.value_or(static_cast<std::uint32_t>(14 + info.b.size()));
    ByteBuilder file;
    file.text("BM").u32(static_cast<std::uint32_t>(14 + info.b.size() + s.pixels.size())).u32(0).u32(offset);
    file.b.insert(file.b.end(), info.b.begin(), info.b.end());
    file.b.insert(file.b.end(), s.pixels.begin(), s.pixels.end());
    return file.b;
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
            const int v = indices[static_cast<size_t>(y * width + x)];
            const int bit = x * bits % 8; // from the top of the byte
            row[x * bits / 8] |= static_cast<std::uint8_t>(v << (8 - bits - bit));
        }
    }
    return out;
}

// An indexed picture with the given colour table and index picture.
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

// GBTD object files: "GBO0", then objects of type, id, length and body.
struct GbrBuilder {
    std::vector<std::uint8_t> bytes = ByteBuilder().text("GBO0").b;

    GbrBuilder& object(int type, const std::vector<std::uint8_t>& body, int id = 1)
    {
        ByteBuilder head;
        head.u16(type).u16(id).u32(static_cast<std::uint32_t>(body.size()));
        bytes.insert(bytes.end(), head.b.begin(), head.b.end());
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
        ByteBuilder body;
        body.b.assign(30, 0); // the name
        body.u16(width).u16(height).u16(count).u32(0x03020100);
        body.b.insert(body.b.end(), pixels.begin(), pixels.end());
        return object(2, body.b, 2);
    }
    // Palettes of four colours given as 0xRRGGBB, stored red first.
    GbrBuilder& palettes(const std::vector<std::vector<std::uint32_t>>& pals)
    {
        ByteBuilder body;
        body.u16(3).u16(static_cast<int>(pals.size()));
        for (const auto& p : pals)
            for (std::uint32_t c : p)
                body.u8(int(c >> 16)).u8(int(c >> 8) & 0xFF).u8(int(c) & 0xFF).u8(0);
        return object(13, body.b, 3);
    }
    GbrBuilder& tilePalettes(const std::vector<std::uint32_t>& values)
    {
        ByteBuilder body;
        body.u16(2).u16(static_cast<int>(values.size()));
        for (std::uint32_t v : values)
            body.u32(v);
        return object(14, body.b, 4);
    }
};

} // namespace qm::test
