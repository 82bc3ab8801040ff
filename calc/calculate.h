// The calculation applied to the calculator window, and the re-formatting of its fields.
#pragma once

#include <cstdint>
#include <string>

void CALCULATE();
void DOLLARFORMAT(const std::string& formName, int32_t& id);
void PCTFORMAT(const std::string& formName, int32_t& id);
std::string SHOWCUME(int32_t& id);
