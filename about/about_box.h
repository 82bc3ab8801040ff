// The About box, form "AB": the information page and the program history, one at a time.
#pragma once

#include <cstdint>
#include <string>

// The page shown: 1 the information page, 2 the history page.
extern int32_t AboutPage;

void EZ_AB_Display(const std::string& parent);
void EZ_AB_Design();
void EZ_AB_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
