// The About box.
#pragma once

#include <string>

void EZ_AB_Display(const std::string& parent);
