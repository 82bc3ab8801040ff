// The control ids of the installer's window "IN".
#pragma once

#include <cstdint>

namespace IN {

constexpr int32_t MESSAGE = 100, FOLDER = 105, PROGRESS_BAR = 110, STATUS = 115, INSTALL_BUTTON = 120,
                  CANCEL_BUTTON = 125;

}  // namespace IN
