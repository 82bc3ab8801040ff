// The calculation applied to the calculator window, and the re-formatting of its fields.
#pragma once

#include <cstdint>
#include <string>

// Writes the results and returns why a figure of the printed page cannot be computed yet
// (empty when nothing stops it).
std::string CALCULATE();
void DOLLARFORMAT(const std::string& formName, int32_t& id);
void PCTFORMAT(const std::string& formName, int32_t& id);
std::string SHOWCUME(int32_t& id);

// Gives each station's share its "1 response from every" figure as its description, and its tick
// box the share with that figure. The calculation calls it when the responses change; a change of
// the stations calls it after recalculating.
void DESCRIBESHARES();
