// Every design request and every event, handed to the form that owns it by form name.
#pragma once

#include <cstdint>
#include <string>

void EZ_DESIGN(const std::string& formName);
void EZ_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
int32_t PREPROCESS_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value,
                          int32_t& cancel);
void OTHERFORMS_DESIGN(const std::string& formName);
void OTHERFORMS_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value,
                       int32_t& cancel);
