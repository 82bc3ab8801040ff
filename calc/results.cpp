#include "calc/results.h"

#include <utility>

#include "calc/number_format.h"
#include "calc/number_kinds.h"
#include "calc/number_reader.h"

namespace {

constexpr int32_t NET_RETURN = 345;
constexpr int32_t GROSS_RETURN = 350;
constexpr int32_t SALES_NEEDED = 355;
constexpr int32_t RESPONSES_NEEDED = 215;

// Share label of station row 1 to 8.
int32_t SHAREID(size_t row) { return 230 + 10 * static_cast<int32_t>(row - 1); }

// A money text read after dropping dollar signs, commas and spaces.
Money READMONEY(std::string_view text) { return TOMONEY(READNUMBER(REMOVECHARS(text, "$, "))); }

// A percent text read as a fraction.
float READFRACTION(std::string_view text) { return TOSINGLE(READNUMBER(text) / 100); }

}  // namespace

std::vector<ControlUpdate> CALCULATERESULTS(const CalculatorTexts& in) {
    std::vector<ControlUpdate> updates;
    const auto write = [&](int32_t id, std::string text) { updates.push_back({id, std::move(text)}); };
    const auto keep = [&](int32_t id) { updates.push_back({id, std::nullopt}); };
    std::string salesNeeded = in.salesNeeded;

    const Money budget = READMONEY(in.budget);
    const float factor = TOSINGLE(READNUMBER(in.roi) / 100 + 1);
    const Money net = TOMONEY(FROMMONEY(budget) * factor);
    write(NET_RETURN, FORMATNUMBER(FROMMONEY(net), "$#,.00"));

    const float margin = READFRACTION(in.margin);
    if (margin > 0) {
        write(GROSS_RETURN, FORMATNUMBER(FROMMONEY(net) / margin, "$#,.00"));
        const Money averageSale = READMONEY(in.averageSale);
        const Money profit = TOMONEY(FROMMONEY(averageSale) * margin);
        if (profit > 0) {
            salesNeeded = FORMATNUMBER(FROMMONEY(net) / FROMMONEY(profit), "##.00");
            write(SALES_NEEDED, salesNeeded);
        } else {
            keep(SALES_NEEDED);
        }
    } else {
        keep(GROSS_RETURN);
        salesNeeded = "0";
        write(SALES_NEEDED, salesNeeded);
        write(RESPONSES_NEEDED, "0");
    }

    const float closingRatio = READFRACTION(in.closingRatio);
    if (closingRatio > 0) {
        // The sales figure enters rounded to two decimals, as displayed.
        const float sales = TOSINGLE(READNUMBER(salesNeeded));
        const float responses = TOSINGLE(sales / static_cast<long double>(closingRatio));
        write(RESPONSES_NEEDED, FORMATNUMBER(responses, "#.0"));
        for (size_t row = 1; row <= in.cume.size(); ++row) {
            const int32_t cume = TOWHOLE(READNUMBER(in.cume[row - 1]));
            if (cume > 0) {
                const long double share = static_cast<long double>(responses) / cume * 100;
                write(SHAREID(row), FORMATNUMBER(share, "0#.000").substr(0, 8));
            } else {
                keep(SHAREID(row));
            }
        }
    } else {
        write(RESPONSES_NEEDED, "0");
        for (size_t row = 1; row <= in.cume.size(); ++row) write(SHAREID(row), "");
    }
    return updates;
}

std::string DOLLARTEXT(std::string_view text) {
    return FORMATNUMBER(READNUMBER(REMOVECHARS(text, "$,")), "$#,.00");
}

std::string PCTTEXT(std::string_view text) { return FORMATNUMBER(READNUMBER(text), "#.0"); }

std::string CUMETIP(std::string_view responsesText, std::string_view cumeText) {
    const float responses = TOSINGLE(READNUMBER(responsesText));
    if (responses <= 0) return "";
    const int32_t wholeResponses = TOWHOLE(responses);
    if (wholeResponses == 0) return "";
    const int32_t listeners = TOWHOLE(READNUMBER(cumeText)) / wholeResponses;
    return "1 response from every " + FORMATNUMBER(static_cast<long double>(listeners), "") + " listeners.";
}
