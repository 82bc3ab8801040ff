// The settings file and the menu check marks that show the options stored there.
#pragma once

#include <cstdint>
#include <string>

void SETMENUITEM(const std::string& formName, int32_t menuNumber, int32_t itemId, const std::string& text,
                 const std::string& props);
