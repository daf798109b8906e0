#pragma once
// How the map view numbers its rulers: a digit font of its own, 3 pixels
// wide and 5 high (4 high for the rulers of 4-pixel cells), drawn at a whole
// scale, and the rule of which lines carry a number. Every line is numbered
// where its number fits its box; otherwise every step-th line (2, 5, 10, 20,
// 50, ...), the numbers of the row ruler then standing digit over digit when
// they are wider than the ruler.

#include <array>
#include <cstdint>

namespace qm {

inline constexpr int RULER_DIGIT_WIDTH = 3;
// Boxes of this size and larger have etched edges.
inline constexpr int RULER_ETCHED_FROM = 16;

// Row r of a digit's picture (r below the digit height); bit 2 is its left pixel.
std::uint8_t rulerDigitRow(int digit, int row, int digitHeight);

struct RulerPlan {
    int step = 1;         // every step-th line carries its number
    int scale = 1;        // digits drawn scale times their size
    int digitHeight = 5;  // 4 for 4-pixel cells
    bool stacked = false; // row numbers digit over digit
};

// The plan for a map of width x height cells drawn at a cell size; one step
// serves both rulers.
RulerPlan rulerPlan(int cellSize, int width, int height);

// The picture size of a number's label, across or digit over digit.
struct LabelSize {
    int width = 0, height = 0;
};
LabelSize rulerLabelSize(int number, const RulerPlan& plan, bool stacked);

} // namespace qm
