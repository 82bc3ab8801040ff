// The control ids of the download's progress window "ZD".
#pragma once

#include <cstdint>

namespace ZD {

constexpr int32_t HEADING = 105, PROGRESS_BAR = 100, ARRIVED = 110, CANCEL_BUTTON = 115;

}  // namespace ZD
