// The mark-up in which every message of the program is written: a display
// text followed by an optional code list, and the message box's button list.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A display text and its code list.
struct Marked {
    std::string text;              // before the first "{", stripped of spaces
    std::map<char, double> codes;  // code letter (upper case) -> number (longest leading decimal; none = 0)
    char style = 0;                // the last of the style letters G, C, 3, R, E, or 0
};

// One button of the box as its segment describes it.
struct ButtonSpec {
    std::string caption;
    float width = 8.0f;
    float height = 1.5f;
    int32_t font = 0;
    int32_t face = 750;
    int32_t captionColour = 0;
    char style = 'C';
};

// The pieces of text between separators; a text without separators is one piece.
std::vector<std::string> SEGMENTS(std::string_view text, char separator);

// Splits a marked-up text into its display text and its codes.
Marked PARSEMARKUP(std::string_view marked);

// The code's number converted to the nearest integer, or fallback when the code is absent.
int32_t CODEINT(const Marked& m, char letter, int32_t fallback);

// The code's number, or fallback when the code is absent.
double CODEVALUE(const Marked& m, char letter, double fallback);

// The buttons of a "|"-separated button list, at most ten segments examined.
std::vector<ButtonSpec> PARSEBUTTONS(std::string_view buttons);
