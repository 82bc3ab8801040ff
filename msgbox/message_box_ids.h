// The control ids of the formatted message box "DGMSGBOX1".
#pragma once

#include <cstdint>

namespace MSGBOX {

constexpr int32_t PICTURE = 4, TEXT1 = 5, TEXT2 = 6, CHECKBOX = 10;
// Button 1 to 10, left to right; its number is the box's answer.
constexpr int32_t BUTTON(int number) { return CHECKBOX + number; }
// The number of a button, 0 for any other control.
constexpr int BUTTONNUMBER(int32_t id) { return id >= BUTTON(1) && id <= BUTTON(10) ? id - CHECKBOX : 0; }

}  // namespace MSGBOX
