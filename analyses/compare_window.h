// The "Compare Analyses" window, form "CA": two to four analyses side by side, one column each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/store.h"

// Opens the window over parent; returns when it is closed.
void COMPAREANALYSES(const std::string& parent, const std::vector<Analysis>& analyses);

void EZ_CA_Design();
void EZ_CA_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
