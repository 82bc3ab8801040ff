// The control ids of the "Saved Analyses" window "SA".
#pragma once

#include <cstdint>

namespace SA {

constexpr int32_t SEARCH_CAPTION = 100, SEARCH = 105, LIST = 110, COUNT = 115;
constexpr int32_t OPEN_BUTTON = 120, RENAME_BUTTON = 125, DELETE_BUTTON = 130, COMPARE_BUTTON = 135,
                  EXPORT_BUTTON = 140, CLOSE_BUTTON = 145;

}  // namespace SA
