// The "Saved Analyses" window, form "SA": find, open, rename, delete, compare and export the
// analyses saved so far.
#pragma once

#include <cstdint>
#include <string>

void EZ_SA_Display(const std::string& parent);
void EZ_SA_Design();
void EZ_SA_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
