// Small rules of UTF-8 text that the program and the adapters share: trimming spaces, cutting
// without splitting a character, writing a code point.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text without the spaces (only ' ') at its two ends.
std::string TRIMSPACES(std::string_view text);
// True when the text holds nothing but spaces.
bool ISBLANK(std::string_view text);
// The text with the ASCII letters A to Z in lower case, every other byte as it is.
std::string ASCIILOWER(std::string_view text);

// The byte after the character that starts at `at`: a lead byte with up to three continuation
// bytes after it, or any other byte alone.
size_t UTF8NEXT(std::string_view text, size_t at);
// The longest beginning of text of at most maxBytes bytes that ends between two characters.
std::string_view UTF8HEAD(std::string_view text, size_t maxBytes);
// The first maxCharacters characters of text.
std::string_view UTF8FIRST(std::string_view text, size_t maxCharacters);

// Lowercase hexadecimal of bytes.
std::string HEXTEXT(std::string_view bytes);

// Appends a code point in UTF-8; one that is no character (a surrogate, beyond U+10FFFF) is
// written as U+FFFD.
void APPENDUTF8(std::string& out, char32_t code);
