// The control ids of the station editor "SE" and the arithmetic of its eight rows.
#pragma once

#include <cstdint>

namespace SE {

constexpr int32_t LEFT_STATION_CAPTION = 100, LEFT_CUME_CAPTION = 105, RIGHT_STATION_CAPTION = 110,
                  RIGHT_CUME_CAPTION = 115;
constexpr int32_t OK_BUTTON = 200, CANCEL_BUTTON = 205, HELP_BUTTON = 210;
// The panels that draw the boxes' frames: the row separators, then the columns.
constexpr int32_t PANELS[] = {220, 225, 230, 235, 240, 245, 250, 255};

// Row 1 to 8: the box of its station's name and the box of its cume beside it.
constexpr int32_t STATIONBOX(int row) { return 120 + 10 * (row - 1); }
constexpr int32_t CUMEBOX(int row) { return STATIONBOX(row) + 5; }
// The row of a station or cume box, 0 for any other control.
constexpr int BOXROW(int32_t id) {
    const bool rowBox = id >= STATIONBOX(1) && id <= CUMEBOX(8) && id % 5 == 0;
    return rowBox ? (id - STATIONBOX(1)) / 10 + 1 : 0;
}

}  // namespace SE
