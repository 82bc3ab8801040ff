// Icons loaded by name and handed to the program as numbers.
#pragma once

#include <QIcon>
#include <cstdint>

namespace gui {

QIcon iconFor(int32_t handle);

}  // namespace gui
