// The control and menu ids of the calculator window "RI", and the arithmetic of its station rows.
#pragma once

#include <cstdint>

namespace RI {

// Captions of the inputs, the results and the comments.
constexpr int32_t CUSTOMER_CAPTION = 100, SALESREP_CAPTION = 105, BUDGET_CAPTION = 110, ROI_CAPTION = 115,
                  MARGIN_CAPTION = 120, AVERAGE_SALE_CAPTION = 125, CLOSING_RATIO_CAPTION = 130;
constexpr int32_t NET_RETURN_CAPTION = 195, GROSS_RETURN_CAPTION = 200, SALES_CAPTION = 205,
                  RESPONSES_CAPTION = 210, COMMENTS_CAPTION = 305;

// The seven inputs, in the order they stand.
constexpr int32_t CUSTOMER = 135, SALESREP = 140, BUDGET = 145, ROI = 150, MARGIN = 155, AVERAGE_SALE = 160,
                  CLOSING_RATIO = 165;
constexpr int32_t INPUTS[] = {CUSTOMER, SALESREP, BUDGET, ROI, MARGIN, AVERAGE_SALE, CLOSING_RATIO};

// The hints beside the inputs and the gross return, and the percent signs.
constexpr int32_t BUDGET_HINT = 170, ROI_HINT = 175, MARGIN_HINT = 180, AVERAGE_SALE_HINT = 185,
                  GROSS_RETURN_HINT = 220;
constexpr int32_t CLOSING_RATIO_PERCENT = 190, MARGIN_PERCENT = 335, ROI_PERCENT = 340;

// The four results.
constexpr int32_t NET_RETURN = 345, GROSS_RETURN = 350, SALES = 355, RESPONSES = 215;

constexpr int32_t COMMENTS = 310;
constexpr int32_t PRINT_BUTTON = 315, EXIT_BUTTON = 320, HELP_BUTTON = 325, CLEAR_BUTTON = 330;
constexpr int32_t STATIONS_FRAME = 360, STATUS_BAR = 370;

// Station row 1 to 8: its tick box, captioned with the station, and the label of its share.
constexpr int32_t TICKBOX(int row) { return 225 + 10 * (row - 1); }
constexpr int32_t SHARELABEL(int row) { return TICKBOX(row) + 5; }
// The row of a tick box or share label, 0 for any other control.
constexpr int STATIONROW(int32_t id) {
    const bool rowControl = id >= TICKBOX(1) && id <= SHARELABEL(8) && id % 5 == 0;
    return rowControl ? (id - TICKBOX(1)) / 10 + 1 : 0;
}

// The menu: the bar's items, each drop-down's items and its separators.
constexpr int32_t MENU_TARVEX = 9000, MENU_STATIONS = 9005, MENU_EXIT = 9015, MENU_SAVE = 9020, MENU_OPEN = 9025;
constexpr int32_t MENU_OPTIONS = 9100, MENU_RECALL = 9105, MENU_AUTOUPDATE = 9110;
constexpr int32_t MENU_HELP = 9200, MENU_CONTENTS = 9205, MENU_CHECKUPDATE = 9215, MENU_ABOUT = 9225;
constexpr int32_t MENU_SEPARATORS[] = {9010, 9210, 9220};

}  // namespace RI
