// The return calculation of the calculator window, as a pure function from
// the texts of its controls to the texts its result controls are given.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Current texts of the calculator's controls.
struct CalculatorTexts {
    std::string budget, roi, margin, averageSale, closingRatio;  // controls 145, 150, 155, 160, 165
    std::array<std::string, 8> cume;                             // the stations' cume texts, rows 1..8
};

// One result control and its new text.
struct ControlUpdate {
    int32_t id;
    std::string text;
};

// What one calculation gives: the texts of the twelve result controls (345, 350, 355, 215,
// 230 ... 300) in that order, a figure that cannot be computed empty; and why a figure of the
// printed page cannot be computed from the inputs typed so far, as the status bar says it (empty
// when nothing stops it).
struct Calculation {
    std::vector<ControlUpdate> updates;
    std::string stop;
};

Calculation CALCULATERESULTS(const CalculatorTexts& in);

// The money products, exact to the cent: the net return budget × (1 + ROI ÷ 100) and the profit per
// sale average sale × margin ÷ 100, each the exact product of the typed figures rounded once to
// the cent with ties to even.
int64_t NETRETURN(std::string_view budget, std::string_view roi);
int64_t PROFITPERSALE(std::string_view averageSale, std::string_view margin);

// A money text read as the calculation reads it: "$", "," and spaces dropped, "k" and "M" taken.
long double MONEYNUMBER(std::string_view text);

// A money field re-written when the user leaves it.
std::string DOLLARTEXT(std::string_view text);

// A percent field re-written when the user leaves it: with the decimals typed, at least one and
// at most three.
std::string PCTTEXT(std::string_view text);

// What the status bar says when the reader stops before the end of a typed money or percent
// figure (a percent's closing "%" aside); empty when the whole figure is read.
std::string IGNOREDNOTICE(std::string_view typed, bool money);

// A station's weekly listeners for each response the schedule needs, the responses exact from the
// number of sales shown and the closing ratio.
struct Audience {
    bool known = false;           // false when there are no responses or the cume is not above 0
    bool halfOrMore = false;      // responses from half the listeners or more
    bool beyondAudience = false;  // more responses than listeners
    std::string every;            // listeners per response, to the nearest listener, grouped in thousands
    std::string listeners;        // the weekly listeners, grouped in thousands
};
Audience AUDIENCEPERRESPONSE(std::string_view sales, std::string_view closingRatio, std::string_view cume);
