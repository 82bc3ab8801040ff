// The control ids of the question for a scenario's name, form "SN".
#pragma once

#include <cstdint>

namespace SN {

constexpr int32_t PROMPT = 100, NAME = 105, OK_BUTTON = 110, CANCEL_BUTTON = 115;

}  // namespace SN
