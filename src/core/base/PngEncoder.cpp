#include "core/base/PngEncoder.h"

#include <array>
#include <cstring>

namespace qm {

namespace {

const std::array<std::uint32_t, 256>& crcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putU32be(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void chunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& data)
{
    putU32be(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putU32be(out, crc32(out.data() + start, out.size() - start));
}

// Writes bits least significant first, as deflate wants.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void bits(std::uint32_t value, int count)
    {
        acc_ |= static_cast<std::uint64_t>(value) << n_;
        n_ += count;
        while (n_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
            acc_ >>= 8;
            n_ -= 8;
        }
    }
    // A Huffman code goes most significant bit first.
    void code(std::uint32_t value, int count)
    {
        std::uint32_t r = 0;
        for (int i = 0; i < count; ++i)
            r |= ((value >> i) & 1u) << (count - 1 - i);
        bits(r, count);
    }
    void flush()
    {
        if (n_ > 0)
            out_.push_back(static_cast<std::uint8_t>(acc_));
        acc_ = 0;
        n_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int n_ = 0;
};

void fixedLiteral(BitWriter& w, int v)
{
    if (v < 144)
        w.code(0x30 + v, 8);
    else if (v < 256)
        w.code(0x190 + (v - 144), 9);
    else if (v < 280)
        w.code(v - 256, 7);
    else
        w.code(0xC0 + (v - 280), 8);
}

constexpr int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// A repeat of the previous byte, 3..258 times.
void fixedRun(BitWriter& w, int length)
{
    int code = 28;
    while (LENGTH_BASE[code] > length)
        --code;
    fixedLiteral(w, 257 + code);
    if (LENGTH_EXTRA[code])
        w.bits(static_cast<std::uint32_t>(length - LENGTH_BASE[code]), LENGTH_EXTRA[code]);
    w.code(0, 5); // distance 1
}

std::vector<std::uint8_t> zlibCompress(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> out{0x78, 0x01};
    BitWriter w(out);
    w.bits(1, 1); // the last block
    w.bits(1, 2); // fixed codes
    std::size_t i = 0;
    while (i < raw.size()) {
        const std::uint8_t b = raw[i];
        fixedLiteral(w, b);
        ++i;
        std::size_t run = 0;
        while (i + run < raw.size() && raw[i + run] == b && run < 258)
            ++run;
        if (run >= 3) {
            fixedRun(w, static_cast<int>(run));
            i += run;
        }
    }
    fixedLiteral(w, 256);
    w.flush();
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    putU32be(out, (b << 16) | a);
    return out;
}

} // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc)
{
    const auto& t = crcTable();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::vector<std::uint8_t> encodeIndexedPng(int width, int height, const std::uint8_t* pixels, std::size_t stride,
                                           std::span<const PngColour> palette)
{
    if (width <= 0 || height <= 0 || palette.empty() || palette.size() > 256)
        return {};
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putU32be(header, static_cast<std::uint32_t>(width));
    putU32be(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8 bits, palette, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    std::vector<std::uint8_t> plte;
    for (const PngColour& c : palette)
        plte.insert(plte.end(), {c.red, c.green, c.blue});
    chunk(out, "PLTE", plte);
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
        raw.insert(raw.end(), row, row + width);
    }
    chunk(out, "IDAT", zlibCompress(raw));
    chunk(out, "IEND", {});
    return out;
}

} // namespace qm
