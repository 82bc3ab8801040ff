// The text rules of a Windows profile (INI) file, applied to the whole content of the file:
// "[section]" lines open a section, "key=value" lines hold values, ";" and "#" start comments.
#pragma once

#include <string>
#include <string_view>

// The value of key in the first section of that name, or fallback when the section or the key
// is missing. Names compare without regard to ASCII case, line breaks in them as spaces, as a
// write stores them; the result is cut to 3999 bytes (never inside a UTF-8 character), the size
// of the caller's result area.
std::string PROFILE_READ(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback);

// The content with key set to value in section, the key or the section added where missing.
// An existing line keeps everything before its old value (indentation, key spelling, spacing
// around "="); every other line stays as it was. Line breaks in names or value become spaces,
// and the value loses the blanks (spaces, tabs) at its ends, as reading would drop them.
std::string PROFILE_WRITE(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view value);
