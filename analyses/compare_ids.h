// The control ids of the "Compare Analyses" window "CA" and the arithmetic of its grid.
#pragma once

#include <cstdint>

namespace CA {

constexpr int32_t PRINT_BUTTON = 100, CLOSE_BUTTON = 105, LEGEND = 110;
constexpr int kMaxColumns = 4;
// Grid row 1 and up: its caption, and the figure of each analysis (column 1 to 4) beside it.
constexpr int32_t ROWCAPTION(int row) { return 1000 + 10 * row; }
constexpr int32_t CELL(int row, int column) { return ROWCAPTION(row) + column; }

}  // namespace CA
