#include "core/tiles/GbcColor.h"

#include <utility>

namespace qm {

namespace {

constexpr int CURVE[32] = {0,   16,  32,  48,  64,  80,  94,  108, 122, 136, 148, 160, 174, 183, 191, 198,
                           206, 211, 217, 223, 227, 231, 235, 239, 243, 246, 249, 251, 253, 254, 255, 255};

// Rows: from red, green, blue; columns: to red, green, blue.
constexpr int WEIGHT[3][3] = {{16, 4, 4}, {8, 16, 8}, {0, 8, 16}};

} // namespace

DisplayColour trueColourOf(GbcColor c)
{
    return {static_cast<std::uint8_t>((c.red & 31) * 8), static_cast<std::uint8_t>((c.green & 31) * 8),
            static_cast<std::uint8_t>((c.blue & 31) * 8)};
}

DisplayColour gbcColourOf(GbcColor c)
{
    const int in[3] = {CURVE[c.red & 31], CURVE[c.green & 31], CURVE[c.blue & 31]};
    int out[3];
    for (int j = 0; j < 3; ++j) {
        int s0 = (WEIGHT[0][j] * in[0]) >> 5;
        int s1 = (WEIGHT[1][j] * in[1]) >> 5;
        int s2 = (WEIGHT[2][j] * in[2]) >> 5;
        if (s0 > s1)
            std::swap(s0, s1);
        if (s1 > s2)
            std::swap(s1, s2);
        if (s0 > s1)
            std::swap(s0, s1);
        out[j] = (((s0 + 2 * s1 + 4 * s2) * 5) >> 4) + 32;
    }
    return {static_cast<std::uint8_t>(out[0]), static_cast<std::uint8_t>(out[1]), static_cast<std::uint8_t>(out[2])};
}

namespace {

std::uint8_t widen(std::uint8_t c)
{
    return static_cast<std::uint8_t>(((c & 31) * 255 + 15) / 31);
}

std::uint8_t narrow(std::uint8_t c)
{
    return static_cast<std::uint8_t>((c * 31 + 127) / 255);
}

} // namespace

DisplayColour fullRangeOf(GbcColor c)
{
    return {widen(c.red), widen(c.green), widen(c.blue)};
}

GbcColor nearestGbcColor(DisplayColour c)
{
    return {narrow(c.red), narrow(c.green), narrow(c.blue)};
}

std::uint16_t gbcWordOf(GbcColor c)
{
    return static_cast<std::uint16_t>((c.red & 31u) | (c.green & 31u) << 5 | (c.blue & 31u) << 10);
}

GbcColor gbcColorOfWord(std::uint16_t word)
{
    return {static_cast<std::uint8_t>(word & 31), static_cast<std::uint8_t>((word >> 5) & 31),
            static_cast<std::uint8_t>((word >> 10) & 31)};
}

} // namespace qm
