// The question for a scenario's name, form "SN": a prompt, the name to edit, "&OK" and "&Cancel".
#pragma once

#include <cstdint>
#include <string>

// Asks over parent; returns the name typed (trimmed, at most 80 characters), empty when cancelled.
std::string ASKSCENARIO(const std::string& parent, const std::string& title, const std::string& prompt,
                        const std::string& name);

void EZ_SN_Design();
void EZ_SN_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
