#include "calc/results.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<int32_t, std::optional<std::string>>>;

Entries ENTRIES(const std::vector<ControlUpdate>& updates) {
    Entries entries;
    for (const ControlUpdate& update : updates) entries.emplace_back(update.id, update.text);
    return entries;
}

// The calculator window's result texts, updated as a caller applies a run.
using Window = std::map<int32_t, std::string>;

void APPLY(Window& window, const std::vector<ControlUpdate>& updates) {
    for (const ControlUpdate& update : updates) {
        if (update.text) window[update.id] = *update.text;
    }
}

// The last entry a run gives each control: its new text, or nullopt when kept.
std::map<int32_t, std::optional<std::string>> FINAL(const std::vector<ControlUpdate>& updates) {
    std::map<int32_t, std::optional<std::string>> last;
    for (const ControlUpdate& update : updates) last[update.id] = update.text;
    return last;
}

CalculatorTexts WORKEDEXAMPLE() {
    CalculatorTexts in;
    in.budget = "$1,000.00";
    in.roi = "7.0";
    in.margin = "50.0";
    in.averageSale = "$100.00";
    in.closingRatio = "20.0";
    in.cume[0] = "10000";
    return in;
}

const std::set<int32_t> RESULT_IDS = {345, 350, 355, 215, 230, 240, 250, 260, 270, 280, 290, 300};

}  // namespace

TEST(Results, ComputesTheWorkedExample) {
    const Entries expected = {{345, "$1,070.00"},  {350, "$2,140.00"},  {355, "21.40"},
                              {215, "107.0"},      {230, "01.070"},     {240, std::nullopt},
                              {250, std::nullopt}, {260, std::nullopt}, {270, std::nullopt},
                              {280, std::nullopt}, {290, std::nullopt}, {300, std::nullopt}};
    EXPECT_EQ(ENTRIES(CALCULATERESULTS(WORKEDEXAMPLE())), expected);
    EXPECT_EQ(CUMETIP("107.0", "10000"), "1 response from every 93 listeners.");
}

TEST(Results, ReportsEveryResultControlWhateverTheBranch) {
    CalculatorTexts noMargin = WORKEDEXAMPLE();
    noMargin.margin = "";
    CalculatorTexts noAverage = WORKEDEXAMPLE();
    noAverage.averageSale = "";
    CalculatorTexts noClosing = WORKEDEXAMPLE();
    noClosing.closingRatio = "0";
    for (const CalculatorTexts& in : {WORKEDEXAMPLE(), noMargin, noAverage, noClosing, CalculatorTexts{}}) {
        std::set<int32_t> ids;
        for (const ControlUpdate& update : CALCULATERESULTS(in)) ids.insert(update.id);
        EXPECT_EQ(ids, RESULT_IDS);
    }
}

TEST(Results, AllInputsEmpty) {
    const Entries expected = {{345, "$.00"}, {350, std::nullopt}, {355, "0"}, {215, "0"}, {215, "0"},
                              {230, ""},     {240, ""},           {250, ""},  {260, ""},  {270, ""},
                              {280, ""},     {290, ""},           {300, ""}};
    EXPECT_EQ(ENTRIES(CALCULATERESULTS(CalculatorTexts{})), expected);
}

TEST(Results, MarginNotAboveZeroWritesZeroSalesAndResponsesAndKeepsGross) {
    for (const char* margin : {"", "0", "-5", "abc", "0.0000000000000000000000000000000000000000000001"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.margin = margin;
        in.closingRatio = "";
        const Entries expected = {{345, "$1,070.00"}, {350, std::nullopt}, {355, "0"}, {215, "0"}, {215, "0"},
                                  {230, ""},          {240, ""},           {250, ""},  {260, ""},  {270, ""},
                                  {280, ""},          {290, ""},           {300, ""}};
        EXPECT_EQ(ENTRIES(CALCULATERESULTS(in)), expected) << margin;
    }
    // With a closing ratio the responses follow from the "0" just written to 355.
    CalculatorTexts in = WORKEDEXAMPLE();
    in.margin = "0";
    in.salesNeeded = "21.40";
    const auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(350), std::nullopt);
    EXPECT_EQ(result.at(355), "0");
    EXPECT_EQ(result.at(215), ".0");
    EXPECT_EQ(result.at(230), "0.000");
}

TEST(Results, AverageSaleMissingKeepsTheSalesTextOfAnEarlierRun) {
    Window window;
    CalculatorTexts in = WORKEDEXAMPLE();
    APPLY(window, CALCULATERESULTS(in));
    ASSERT_EQ(window[355], "21.40");

    in.averageSale = "";
    in.closingRatio = "10";
    in.salesNeeded = window[355];
    const auto updates = CALCULATERESULTS(in);
    const auto result = FINAL(updates);
    EXPECT_EQ(result.at(350), "$2,140.00");
    EXPECT_EQ(result.at(355), std::nullopt);
    EXPECT_EQ(result.at(215), "214.0");
    APPLY(window, updates);
    EXPECT_EQ(window[355], "21.40");
    EXPECT_EQ(window[230], "02.140");

    // A profit per sale of zero or below keeps 355 the same way.
    in.averageSale = "-100";
    EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(355), std::nullopt);

    // With nothing there before, the responses come from 0.
    in.salesNeeded = "";
    const auto fresh = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(fresh.at(215), ".0");
    EXPECT_EQ(fresh.at(230), "0.000");
}

TEST(Results, ResponsesUseTheSalesTextWrittenInTheSameRun) {
    CalculatorTexts in = WORKEDEXAMPLE();
    in.salesNeeded = "99999";
    EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(215), "107.0");
    // The sales figure enters rounded to two decimals: 1000 / 30 shows 33.33,
    // and at a closing ratio of 1 percent that gives 3333.0 responses, not 3333.3.
    in.budget = "1000";
    in.roi = "0";
    in.averageSale = "60";
    in.closingRatio = "1";
    const auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(355), "33.33");
    EXPECT_EQ(result.at(215), "3333.0");
}

TEST(Results, NetReturnRoundsToTheEvenCent) {
    CalculatorTexts in;
    in.budget = "0.25";
    in.roi = "-50";
    in.margin = "50";
    auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "$.12");
    // The gross return is computed from the rounded net return.
    EXPECT_EQ(result.at(350), "$.24");
    in.roi = "50";
    result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "$.38");
    EXPECT_EQ(result.at(350), "$.76");
}

TEST(Results, ReadsMoneyAndPercentTextsLikeTheUserTypesThem) {
    for (const char* budget : {"1,000", "$1000", " 1000 ", "1000", "$ 1,000.00", "1 000"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.budget = budget;
        EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(345), "$1,070.00") << budget;
    }
    for (const char* roi : {"7%", "7,5", "7"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.roi = roi;
        EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(345), "$1,070.00") << roi;
    }
    CalculatorTexts in = WORKEDEXAMPLE();
    in.averageSale = "$1,00";
    in.margin = "50%";
    EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(355), "21.40");
}

TEST(Results, ReturnOfZeroAndBelowMinusOneHundredPercent) {
    CalculatorTexts in = WORKEDEXAMPLE();
    in.roi = "0";
    EXPECT_EQ(FINAL(CALCULATERESULTS(in)).at(345), "$1,000.00");
    in.roi = "-150";
    const auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "-$500.00");
    EXPECT_EQ(result.at(350), "-$1,000.00");
    EXPECT_EQ(result.at(355), "-10.00");
    EXPECT_EQ(result.at(215), "-50.0");
}

TEST(Results, ClosingRatioNotAboveZeroEmptiesEveryShare) {
    for (const char* closing : {"0", "-20", "", "x"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.closingRatio = closing;
        in.cume = {"10000", "20000", "0", "", "5", "6", "7", "8"};
        const auto result = FINAL(CALCULATERESULTS(in));
        EXPECT_EQ(result.at(215), "0") << closing;
        for (int32_t id = 230; id <= 300; id += 10) EXPECT_EQ(result.at(id), "") << closing << " " << id;
    }
}

TEST(Results, StationWithoutAPositiveWholeCumeKeepsItsShare) {
    CalculatorTexts in = WORKEDEXAMPLE();
    in.cume = {"0", "", "abc", "0.4", "0.5", "0.6", "10000", "-100"};
    const auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(230), std::nullopt);
    EXPECT_EQ(result.at(240), std::nullopt);
    EXPECT_EQ(result.at(250), std::nullopt);
    EXPECT_EQ(result.at(260), std::nullopt);
    EXPECT_EQ(result.at(270), std::nullopt);
    EXPECT_EQ(result.at(280), "10700.00");
    EXPECT_EQ(result.at(290), "01.070");
    EXPECT_EQ(result.at(300), std::nullopt);
}

TEST(Results, ShareIsCutToEightCharacters) {
    CalculatorTexts in;
    in.margin = "50";
    in.salesNeeded = "123.45678";
    in.closingRatio = "100";
    in.cume = {"1", "100", "1000000", "", "", "", "", ""};
    const auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(215), "123.5");
    EXPECT_EQ(result.at(230), "12345.67");
    EXPECT_EQ(result.at(240), "123.457");
    EXPECT_EQ(result.at(250), "0.012");
}

TEST(Results, HugeInputsSaturate) {
    CalculatorTexts in;
    in.budget = in.roi = in.margin = in.averageSale = in.salesNeeded = "1E5000";
    in.closingRatio = "1E-40";
    in.cume.fill("1E5000");
    auto result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "$92,233,720,368,547,758.07");
    EXPECT_EQ(result.at(215), "340282350000000000000000000000000000000.0");
    EXPECT_EQ(result.at(230)->size(), 8u);

    in.budget = "-1E5000";
    in.roi = "-1E5000";
    result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "$92,233,720,368,547,758.07");
    in.roi = "7";
    result = FINAL(CALCULATERESULTS(in));
    EXPECT_EQ(result.at(345), "-$92,233,720,368,547,758.08");
}

TEST(Results, MoneyAndPercentFieldsAreRewrittenOnLeaving) {
    EXPECT_EQ(DOLLARTEXT("1000"), "$1,000.00");
    EXPECT_EQ(DOLLARTEXT("$1,234.5"), "$1,234.50");
    EXPECT_EQ(DOLLARTEXT("$1,000.00"), "$1,000.00");
    EXPECT_EQ(DOLLARTEXT(""), "$.00");
    EXPECT_EQ(DOLLARTEXT("abc"), "$.00");
    EXPECT_EQ(DOLLARTEXT("-1234"), "-$1,234.00");
    // Spaces stay, so reading stops at one.
    EXPECT_EQ(DOLLARTEXT(" 1 000"), "$1.00");
    // No rounding to whole cents before formatting.
    EXPECT_EQ(DOLLARTEXT("12.345"), "$12.35");
    EXPECT_EQ(DOLLARTEXT("0.125"), "$.13");

    EXPECT_EQ(PCTTEXT("7%"), "7.0");
    EXPECT_EQ(PCTTEXT("7,5"), "7.0");
    EXPECT_EQ(PCTTEXT("50"), "50.0");
    EXPECT_EQ(PCTTEXT("12.25"), "12.3");
    EXPECT_EQ(PCTTEXT(""), ".0");
    EXPECT_EQ(PCTTEXT("-3.04"), "-3.0");
}

TEST(Results, CumeTooltip) {
    EXPECT_EQ(CUMETIP("107.0", "10000"), "1 response from every 93 listeners.");
    EXPECT_EQ(CUMETIP("0", "10000"), "");
    EXPECT_EQ(CUMETIP(".0", "10000"), "");
    EXPECT_EQ(CUMETIP("", "10000"), "");
    EXPECT_EQ(CUMETIP("-5", "10000"), "");
    EXPECT_EQ(CUMETIP("0.4", "10000"), "");
    EXPECT_EQ(CUMETIP("0.5", "10000"), "");
    EXPECT_EQ(CUMETIP("107.0", "0"), "1 response from every 0 listeners.");
    EXPECT_EQ(CUMETIP("107.0", ""), "1 response from every 0 listeners.");
    // Both figures are rounded to whole numbers, ties to even, before dividing.
    EXPECT_EQ(CUMETIP("1.5", "100"), "1 response from every 50 listeners.");
    EXPECT_EQ(CUMETIP("2.5", "100"), "1 response from every 50 listeners.");
    EXPECT_EQ(CUMETIP("3.5", "100"), "1 response from every 25 listeners.");
    EXPECT_EQ(CUMETIP("3", "100.5"), "1 response from every 33 listeners.");
    EXPECT_EQ(CUMETIP("107.0", "-10000"), "1 response from every -93 listeners.");
    EXPECT_EQ(CUMETIP("1", "1E5000"), "1 response from every 2147483647 listeners.");
}
