// The "Update Information" window, form "WN": what is new in the installed version, from
// "Release Notes.rtf" beside the program.
#pragma once

#include <cstdint>
#include <string>

void EZ_WN_Display(const std::string& parent);
void EZ_WN_Design();
void EZ_WN_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
