// The "Saved Analyses" window, form "SA": find, open, rename, delete, compare and export the
// analyses saved so far.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/analysis.h"

// Opens the window over parent until it closes, knowing what the calculator shows (with the
// scenario name to offer) and whether it has changed since it was last saved, opened or cleared
// (opening another then offers to save it first); the analysis the user chose to open, or nothing.
std::optional<Analysis> CHOOSEANALYSIS(const std::string& parent, const Analysis& showing, bool changed);

void EZ_SA_Display(const std::string& parent);
void EZ_SA_Design();
void EZ_SA_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
