#include "core/base/RulerNumbers.h"

#include <algorithm>

namespace qm {

namespace {

// Five rows of three pixels each, and the short forms of four rows.
constexpr std::array<std::array<std::uint8_t, 5>, 10> TALL = {{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};
constexpr std::array<std::array<std::uint8_t, 4>, 10> SHORT = {{
    {7, 5, 5, 7}, {6, 2, 2, 7}, {6, 1, 2, 7}, {7, 3, 1, 7}, {5, 5, 7, 1},
    {7, 6, 1, 6}, {4, 7, 5, 7}, {7, 1, 2, 2}, {7, 7, 5, 7}, {7, 5, 7, 1},
}};

int digitsOf(int number)
{
    int n = 1;
    for (; number >= 10; number /= 10)
        ++n;
    return n;
}

int across(int digits, int scale) { return scale * (digits * (RULER_DIGIT_WIDTH + 1) - 1); }
int overEach(int digits, int scale, int height) { return scale * (digits * (height + 1) - 1); }

} // namespace

std::uint8_t rulerDigitRow(int digit, int row, int digitHeight)
{
    if (digit < 0 || digit > 9 || row < 0 || row >= digitHeight)
        return 0;
    return digitHeight == 4 ? SHORT[static_cast<size_t>(digit)][static_cast<size_t>(row)]
                            : TALL[static_cast<size_t>(digit)][static_cast<size_t>(row)];
}

RulerPlan rulerPlan(int cellSize, int width, int height)
{
    RulerPlan plan;
    plan.digitHeight = cellSize < 5 ? 4 : 5;
    const int columnDigits = digitsOf(std::max(0, width - 1));
    const int rowDigits = digitsOf(std::max(0, height - 1));
    const int widest = std::max(columnDigits, rowDigits);
    // Within a box a pixel is left for the line between boxes, or two on
    // each side for the etched edges of large boxes.
    const int room = cellSize >= RULER_ETCHED_FROM ? cellSize - 4 : cellSize - 1;
    const auto fits = [&](int scale) {
        return across(widest, scale) <= room && scale * plan.digitHeight <= room;
    };
    // Larger digits in larger boxes, never filling them.
    for (int scale = std::max(1, cellSize / 12); scale > 1; --scale)
        if (fits(scale)) {
            plan.scale = scale;
            return plan;
        }
    if (fits(1))
        return plan;
    // Too small for every line: a regular step, room for a number and a gap.
    plan.stacked = across(rowDigits, 1) > cellSize;
    const int columnNeed = across(columnDigits, 1) + 2;
    const int rowNeed = (plan.stacked ? overEach(rowDigits, 1, plan.digitHeight) : plan.digitHeight) + 2;
    const long long need = std::max(columnNeed, rowNeed);
    for (int base = 1; base <= 100000000; base *= 10)
        for (const int m : {2, 5, 10})
            if (static_cast<long long>(base) * m * cellSize >= need) {
                plan.step = base * m;
                return plan;
            }
    plan.step = 1000000000;
    return plan;
}

LabelSize rulerLabelSize(int number, const RulerPlan& plan, bool stacked)
{
    const int digits = digitsOf(std::max(0, number));
    if (stacked)
        return {RULER_DIGIT_WIDTH * plan.scale, overEach(digits, plan.scale, plan.digitHeight)};
    return {across(digits, plan.scale), plan.scale * plan.digitHeight};
}

} // namespace qm
