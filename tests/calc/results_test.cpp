#include "calc/results.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>

#include "calc/listeners.h"

namespace {

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

std::map<int32_t, std::string> RESULTS(const CalculatorTexts& in) {
    std::map<int32_t, std::string> texts;
    for (const ControlUpdate& update : CALCULATERESULTS(in).updates) texts[update.id] = update.text;
    return texts;
}

// Cents as the money mask writes them, for building typed budgets.
std::string MONEYTEXT(int64_t cents) {
    std::string whole = std::to_string(cents / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ",");
    const int64_t rest = cents % 100;
    return "$" + whole + "." + (rest < 10 ? "0" : "") + std::to_string(rest);
}

// cents × (base + thousandths ÷ 1000) ÷ 100, rounded to the cent with ties to even, from the
// definition of rounding rather than the program's code.
int64_t EXPECTEDPRODUCT(int64_t cents, int64_t base, int64_t thousandths) {
    const __int128 num = static_cast<__int128>(cents) * (base * 1000 + thousandths);
    const __int128 den = 100000;
    __int128 low = num / den;
    if (num % den < 0) --low;
    const __int128 twice = 2 * (num - low * den);
    if (twice > den || (twice == den && low % 2 != 0)) ++low;
    return static_cast<int64_t>(low);
}

}  // namespace

TEST(Results, ComputesTheWorkedExample) {
    const std::map<int32_t, std::string> expected = {
        {345, "$1,070.00"}, {350, "$2,140.00"}, {355, "21.40"}, {215, "107.0"}, {230, "01.070"}, {240, ""},
        {250, ""},          {260, ""},          {270, ""},      {280, ""},      {290, ""},       {300, ""}};
    EXPECT_EQ(RESULTS(WORKEDEXAMPLE()), expected);
    EXPECT_EQ(CALCULATERESULTS(WORKEDEXAMPLE()).stop, "");
}

TEST(Results, MoneyProductsAreExactToTheCent) {
    const struct {
        const char *budget, *roi, *net;
    } named[] = {{"$250,000.00", "7.0", "$267,500.00"},
                 {"$1,000,000,000.00", "10.0", "$1,100,000,000.00"},
                 {"$3,333,333.33", "3.3", "$3,443,333.33"},
                 {"$.27", "50", "$.40"}};
    for (const auto& c : named) {
        CalculatorTexts in;
        in.budget = c.budget;
        in.roi = c.roi;
        EXPECT_EQ(RESULTS(in)[345], c.net) << c.budget << " at " << c.roi;
    }

    // Budgets up to $10,000,000,000.00 and percentages with up to three decimals, a fifth of
    // them made to fall exactly halfway between two cents.
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int64_t> budgets(0, 1'000'000'000'000);
    std::uniform_int_distribution<int64_t> percents(-150'000, 500'000);
    for (int n = 0; n < 20000; ++n) {
        int64_t cents = budgets(random);
        int64_t thousandths = percents(random);
        if (n % 5 == 0) {
            // An odd number of dollars at an odd number of half percents lands on half a cent.
            cents = 100 * (2 * (cents / 200) + 1);
            thousandths = 500 * (2 * (thousandths / 1000) + 1);
        }
        const std::string percent = (thousandths < 0 ? "-" : "") + std::to_string(std::abs(thousandths) / 1000) +
                                    "." + std::to_string(1000 + std::abs(thousandths) % 1000).substr(1);
        EXPECT_EQ(NETRETURN(MONEYTEXT(cents), percent), EXPECTEDPRODUCT(cents, 100, thousandths))
            << MONEYTEXT(cents) << " at " << percent;
        EXPECT_EQ(PROFITPERSALE(MONEYTEXT(cents), percent), EXPECTEDPRODUCT(cents, 0, thousandths))
            << MONEYTEXT(cents) << " at " << percent;
    }
}

TEST(Results, FiguresThatCannotBeComputedAreEmptyWithTheReason) {
    const std::string margin = "Profit Margin must be above 0 to compute the gross return.";
    const std::string sale = "Average Sale must give a profit of at least $.01 to compute the number of sales.";
    const std::string closing = "Closing Ratio must be above 0 to compute the responses needed.";
    const struct {
        const char *margin, *averageSale, *closingRatio, *gross, *sales, *responses;
        std::string stop;
    } cases[] = {
        {"0", "$100.00", "20.0", "", "", "", margin},
        {"-5", "$100.00", "20.0", "", "", "", margin},
        {"abc", "$100.00", "20.0", "", "", "", margin},
        {"", "$100.00", "20.0", "", "", "", ""},
        {"50.0", "0", "20.0", "$2,140.00", "", "", sale},
        {"10.0", "$.04", "20.0", "$10,700.00", "", "", sale},  // 0.4 cents of profit a sale
        {"50.0", "", "20.0", "$2,140.00", "", "", ""},
        {"50.0", "$100.00", "0", "$2,140.00", "21.40", "", closing},
        {"50.0", "$100.00", "-20", "$2,140.00", "21.40", "", closing},
        {"50.0", "$100.00", "", "$2,140.00", "21.40", "", ""},
    };
    for (const auto& c : cases) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.margin = c.margin;
        in.averageSale = c.averageSale;
        in.closingRatio = c.closingRatio;
        auto texts = RESULTS(in);
        const std::string what = std::string(c.margin) + " / " + c.averageSale + " / " + c.closingRatio;
        EXPECT_EQ(texts[345], "$1,070.00") << what;
        EXPECT_EQ(texts[350], c.gross) << what;
        EXPECT_EQ(texts[355], c.sales) << what;
        EXPECT_EQ(texts[215], c.responses) << what;
        EXPECT_EQ(texts[230], "") << what;
        EXPECT_EQ(CALCULATERESULTS(in).stop, c.stop) << what;
    }
}

TEST(Results, QuotientsRoundOnTheirExactValue) {
    const struct {
        const char *budget, *roi, *margin, *averageSale, *closingRatio, *cume;
        const char *gross, *sales, *responses, *share;
    } cases[] = {
        // The sales figure enters the responses as displayed: 33.33 at 1% is 3333.0, not 3333.3.
        {"1000", "0", "50", "60", "1", "100000", "$2,000.00", "33.33", "3333.0", "03.333"},
        {"$.01", "0", "40", "$1.00", "100", "8000", "$.03", ".03", ".0", "0.000"},
        {"1000", "0", "30", "$1,000.00", "30", "1", "$3,333.33", "3.33", "11.1", "1110.000"},
        {"100", "0", "100", "$8.00", "7.3", "7", "$100.00", "12.50", "171.2", "2446.184"},
        {"1000", "-150", "50", "100", "20", "10000", "-$1,000.00", "-10.00", "-50.0", "-0.500"},
        {"1000", "0", "50", "100", "100", "1", "$2,000.00", "20.00", "20.0", "2000.000"},
        {"1", "0", "1", "1", "0.001", "1", "$100.00", "100.00", "10000000.0", "10000000"},
    };
    for (const auto& c : cases) {
        CalculatorTexts in;
        in.budget = c.budget;
        in.roi = c.roi;
        in.margin = c.margin;
        in.averageSale = c.averageSale;
        in.closingRatio = c.closingRatio;
        in.cume[0] = c.cume;
        auto texts = RESULTS(in);
        EXPECT_EQ(texts[350], c.gross) << c.budget;
        EXPECT_EQ(texts[355], c.sales) << c.budget;
        EXPECT_EQ(texts[215], c.responses) << c.budget;
        EXPECT_EQ(texts[230], c.share) << c.budget;
    }
}

TEST(Results, ReadsMoneyAndPercentTextsLikeTheUserTypesThem) {
    for (const char* budget : {"1,000", "$1000", " 1000 ", "1000", "$ 1,000.00", "1 000"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.budget = budget;
        EXPECT_EQ(RESULTS(in)[345], "$1,070.00") << budget;
    }
    for (const char* roi : {"7%", "7,5", "7", "&H7"}) {
        CalculatorTexts in = WORKEDEXAMPLE();
        in.roi = roi;
        EXPECT_EQ(RESULTS(in)[345], "$1,070.00") << roi;
    }
    CalculatorTexts in = WORKEDEXAMPLE();
    in.averageSale = "$1,00";
    in.margin = "50%";
    EXPECT_EQ(RESULTS(in)[355], "21.40");
}

TEST(Results, StationsWithoutACumeOfAWholeListenerShowNoShare) {
    CalculatorTexts in = WORKEDEXAMPLE();
    in.cume = {"0", "", "abc", "0.4", "0.5", "0.6", "10000", "-100"};
    auto texts = RESULTS(in);
    for (int32_t id : {230, 240, 250, 260, 270, 300}) EXPECT_EQ(texts[id], "") << id;
    EXPECT_EQ(texts[280], "10700.00");  // cut to eight characters
    EXPECT_EQ(texts[290], "01.070");
}

TEST(Results, HugeInputsSaturate) {
    CalculatorTexts in;
    in.budget = in.roi = in.margin = in.averageSale = "1E5000";
    in.closingRatio = "0.001";
    in.cume.fill("1");
    auto texts = RESULTS(in);
    EXPECT_EQ(texts[345], "$92,233,720,368,547,758.07");
    EXPECT_EQ(texts[230].size(), 8u);

    in.roi = "-1E5000";
    EXPECT_EQ(RESULTS(in)[345], "-$92,233,720,368,547,758.08");
}

TEST(Results, MoneyAndPercentFieldsAreRewrittenOnLeaving) {
    // clang-format off
    const std::pair<const char*, const char*> money[] = {
        {"1000", "$1,000.00"}, {"$1,234.5", "$1,234.50"}, {"", "$.00"}, {"abc", "$.00"},
        {"-1234", "-$1,234.00"}, {" 1 000", "$1,000.00"}, {"12 500", "$12,500.00"}, {"12.345", "$12.35"}, {"0.125", "$.13"},
        {"12.5k", "$12,500.00"}, {"28K", "$28,000.00"}, {"1.2M", "$1,200,000.00"}, {"$1.5m", "$1,500,000.00"},
        {"12.5x", "$12.50"}, {"1e3k", "$1,000.00"}, {"&H10k", "$16.00"}};
    // clang-format on
    for (const auto& [typed, shown] : money) EXPECT_EQ(DOLLARTEXT(typed), shown) << typed;
    const std::pair<const char*, const char*> percent[] = {
        {"7%", "7.0"},     {"7,5", "7.0"},     {"7", "7.0"},    {"7.25", "7.25"}, {"0.05", "0.05"},
        {"7.1234", "7.123"}, {".5", "0.5"},    {"7.10", "7.10"}, {"1e-2", "0.01"}, {"", ".0"},
        {"abc", ".0"},     {"-3.04", "-3.04"}, {"0", ".0"},    {"7.0005", "7.001"}};
    for (const auto& [typed, shown] : percent) EXPECT_EQ(PCTTEXT(typed), shown) << typed;
}

// The calculation reads a percent as its field shows it once left, so what is saved and printed
// agrees with the figures.
TEST(Results, PercentFiguresCountAsTheFieldShowsThem) {
    CalculatorTexts in = WORKEDEXAMPLE();
    in.budget = "10000";
    for (const auto& [roi, net] : {std::pair{"7.25", "$10,725.00"}, {"7.1234", "$10,712.30"}})
        EXPECT_EQ((in.roi = roi, RESULTS(in)[345]), net) << roi;
}

TEST(Results, ReadingThatStopsEarlyIsNamed) {
    const struct {
        const char* typed;
        bool money;
        const char* notice;
    } cases[] = {{"abc", true, "No figure in \"abc\"; it counts as $.00."},
                 {"12 monthly payments of $100", true,
                  "Read \"12 monthly payments\u2026\" as $12.00; the rest was ignored."},
                 {"12.5k", true, ""}, {" $1,000 ", true, ""}, {"1e3", true, ""}, {"", true, ""},
                 {"7 %", false, ""}, {"0.05", false, ""}};
    for (const auto& c : cases) EXPECT_EQ(IGNOREDNOTICE(c.typed, c.money), c.notice) << c.typed;
}

// The listeners figure is the cume over the exact responses (number of sales over the closing
// ratio), to the nearest listener; from half the audience up it is said in words.
TEST(Results, ListenersFigureOfTheTooltipAndThePage) {
    const std::string half = "responses from half or more of WROCK's 10,000 weekly listeners.";
    const struct {
        const char *sales, *ratio, *cume;
        std::string tooltip, printed;
    } cases[] = {
        {"21.40", "20.0", "10000", "1 response from every 93 listeners.", "or 1 out of each 93 listeners."},
        {"4.00", "100.0", "10", "1 response from every 3 listeners.", "or 1 out of each 3 listeners."},
        {"50.00", "1.0", "10000", "The schedule needs " + half, ": " + half},
        {"", "20.0", "10000", "", ""},
        {"-10.00", "20.0", "10000", "", ""},
        {"21.40", "0", "10000", "", ""},
        {"21.40", "20.0", "0", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sales) + " " + c.ratio + " " + c.cume);
        EXPECT_EQ(LISTENERSTEXT(c.sales, c.ratio, c.cume, "WROCK"), c.tooltip);
        const std::string gap = c.printed.empty() || c.printed[0] == ':' ? "" : " ";
        const std::string printed = c.printed.empty()
            ? "\u2014" : "01.070 percent of audience" + gap + c.printed;
        EXPECT_EQ(PRINTEDSHARE("01.070", c.sales, c.ratio, c.cume, "WROCK"), printed);
    }
    EXPECT_EQ(PRINTEDSHARE("", "21.40", "20.0", "10000", "WROCK"), "\u2014");
}
