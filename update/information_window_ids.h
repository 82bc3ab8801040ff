// The control ids of the release notes window "WN".
#pragma once

#include <cstdint>

namespace WN {

constexpr int32_t NOTES = 100, CLOSE_BUTTON = 105;

}  // namespace WN
