// Fitting a text into the width a printed page has for it, for every printed page.
#pragma once

#include <cstdint>
#include <string>

// The face every printed page is written in.
inline const std::string kPageFace = "Arial";

// A text no wider than width inches, in the page's face: in the largest size from points down to
// smallest, in half points; at the smallest size it is cut, whole characters at a time, and ends
// in "…". The font is left selected.
std::string FITTED(int16_t job, const std::string& text, int32_t style, double points, double smallest,
                   double width);
