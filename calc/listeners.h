// The "1 out of each N listeners" figure of the printed analysis.
#pragma once

#include <cstdint>
#include <string_view>

// A station's cume and the responses needed, each read as a number and rounded to a whole
// number; the cume divided by the responses, truncated toward zero. 0 when the responses
// round to no whole response.
int64_t LISTENERSPERRESPONSE(std::string_view cumeText, std::string_view responsesText);
