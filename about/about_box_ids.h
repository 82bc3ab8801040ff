// The control ids of the About box "AB" and its two pages.
#pragma once

#include <cstdint>

namespace AB {

// The information page (layer 1).
constexpr int32_t PRODUCT = 100, VERSION = 105, COPYRIGHT = 110, WEB_SITE = 115, THANKS = 120;
// The history page (layer 2).
constexpr int32_t HISTORY = 125;
// Shared by both pages (layer 0).
constexpr int32_t CLOSE_BUTTON = 130, HISTORY_BUTTON = 135, FRAME = 140;
constexpr int32_t INFO_PAGE = 1, HISTORY_PAGE = 2;

}  // namespace AB
