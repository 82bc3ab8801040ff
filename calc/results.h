// The return calculation of the calculator window, as a pure function from
// the texts of its controls to the texts its result controls are given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Current texts of the calculator's controls.
struct CalculatorTexts {
    std::string budget, roi, margin, averageSale, closingRatio;  // controls 145, 150, 155, 160, 165
    std::string salesNeeded;          // current text of 355, read back by the calculation
    std::array<std::string, 8> cume;  // the stations' cume texts, rows 1..8
};

// One result control and its new text; nullopt means it keeps its text.
struct ControlUpdate {
    int32_t id;
    std::optional<std::string> text;
};

// The writes of one calculation in the order they happen, with a keep entry
// for each of the twelve result controls (345, 350, 355, 215, 230 ... 300) it leaves alone.
std::vector<ControlUpdate> CALCULATERESULTS(const CalculatorTexts& in);

// A money field re-written when the user leaves it.
std::string DOLLARTEXT(std::string_view text);

// A percent field re-written when the user leaves it.
std::string PCTTEXT(std::string_view text);

// Tooltip of a station's share: "1 response from every Q listeners.", or empty
// when the responses figure rounds to no whole response.
std::string CUMETIP(std::string_view responsesText, std::string_view cumeText);
