// The one-page analysis printed for the client.
#pragma once

#include <cstdint>
#include <string>

void PRINTROUTINE();

// A text no wider than width inches, in "Arial": in the largest size from points down to smallest,
// in half points; at the smallest size it is cut, whole characters at a time, and ends in "…".
// The font is left selected.
std::string FITTED(int16_t job, const std::string& text, int32_t style, double points, double smallest,
                   double width);
