#include "calc/results.h"

#include <algorithm>
#include <optional>

#include "base/number_format.h"
#include "base/number_kinds.h"
#include "base/number_reader.h"
#include "base/text.h"
#include "calc/calculator_ids.h"

namespace {

// cents × (hundred + percent) ÷ 100 when hundred is 100, cents × percent ÷ 100 when it is 0: the
// exact product of the typed figures rounded once to the cent. A percent beyond 128 bits (no
// figure a client has) is multiplied in extended precision instead.
Money PERCENTOF(Money cents, std::string_view percentText, int hundred) {
    const ExactNumber percent = READEXACT(percentText);
    if (percent.exact) {
        __int128 scaledHundred = hundred;
        for (int n = 0; n < percent.scale; ++n) scaledHundred *= 10;
        __int128 factor = 0;
        if (!__builtin_add_overflow(percent.digits, scaledHundred, &factor)) {
            if (const auto product = ROUNDEDPRODUCT(cents, factor, percent.scale + 2)) return *product;
        }
    }
    return TOMONEY(FROMMONEY(cents) * (hundred + READNUMBER(percentText)) / 100);
}

// A money text without its dollar signs, commas and spaces, its "k" or "M" written out.
std::string MONEYTEXT(std::string_view text) { return EXPANDSHORTHAND(REMOVECHARS(text, "$, ")); }

// A money text read after dropping dollar signs, commas and spaces, rounded to the cent.
Money READMONEY(std::string_view text) {
    const std::string cleaned = MONEYTEXT(text);
    const ExactNumber amount = READEXACT(cleaned);
    if (amount.exact) {
        if (const auto cents = ROUNDEDPRODUCT(amount.digits, 100, amount.scale)) return *cents;
    }
    return TOMONEY(READNUMBER(cleaned));
}

// A figure that is a quotient of the typed figures: exact as num ÷ den (den above 0) when 128
// bits hold it, and always in extended precision for comparing and as the fallback.
struct Quotient {
    bool exact = false;
    __int128 num = 0, den = 1;
    long double value = 0;
};

// (a × 10^power) ÷ (b × c), exact when it fits, with its extended-precision value.
Quotient QUOTIENT(__int128 a, int power, __int128 b, __int128 c, long double value) {
    Quotient q;
    q.value = value;
    q.num = a;
    q.exact = TIMESPOWEROFTEN(q.num, power) && !__builtin_mul_overflow(b, c, &q.den);
    return q;
}

std::string FORMATFIGURE(const Quotient& q, std::string_view mask) {
    if (q.exact) {
        if (auto text = FORMATQUOTIENT(q.num, q.den, mask)) return *text;
    }
    return FORMATNUMBER(q.value, mask);
}

// The figures the inputs give; nullopt for one that cannot be computed.
struct Figures {
    Money net = 0;
    std::optional<Quotient> gross;
    std::optional<Money> profit;  // per sale, known when the margin is above 0
    std::optional<Quotient> sales;
    Money salesShown = 0;  // the number of sales as displayed, in hundredths
    std::optional<Quotient> responses;
    ExactNumber closingRatio;
};

Figures COMPUTE(const CalculatorTexts& in) {
    Figures f;
    f.net = NETRETURN(in.budget, in.roi);
    const long double margin = READNUMBER(in.margin);
    if (margin > 0) {
        // Net ÷ (margin ÷ 100) in dollars is the net in cents ÷ the margin.
        const ExactNumber m = READEXACT(in.margin);
        f.gross = QUOTIENT(f.net, m.scale, m.exact ? m.digits : 0, 1, static_cast<long double>(f.net) / margin);
        f.gross->exact = f.gross->exact && m.exact;
        f.profit = PROFITPERSALE(in.averageSale, in.margin);
    }
    if (f.profit && *f.profit > 0) {
        f.sales = QUOTIENT(f.net, 0, *f.profit, 1, static_cast<long double>(f.net) / *f.profit);
        f.salesShown = TOMONEY(READNUMBER(FORMATFIGURE(*f.sales, "##.00")));
    }
    const long double closingRatio = READNUMBER(in.closingRatio);
    if (f.sales && closingRatio > 0) {
        // The sales figure enters as displayed: S ÷ (CR ÷ 100) is its hundredths ÷ CR.
        f.closingRatio = READEXACT(in.closingRatio);
        const ExactNumber& c = f.closingRatio;
        f.responses = QUOTIENT(f.salesShown, c.scale, c.exact ? c.digits : 0, 1,
                               static_cast<long double>(f.salesShown) / closingRatio);
        f.responses->exact = f.responses->exact && c.exact;
    }
    return f;
}

// A station's share of its weekly audience: responses ÷ cume × 100.
Quotient SHARE(const Figures& f, int32_t cume) {
    Quotient share = QUOTIENT(f.salesShown, f.closingRatio.scale + 2, f.closingRatio.digits, cume,
                              f.responses->value / cume * 100);
    share.exact = share.exact && f.responses->exact;
    return share;
}

// Only an input the user has filled in is named as the one that stops a figure.
std::string STOPOF(const CalculatorTexts& in, const Figures& f) {
    if (!ISBLANK(in.margin) && !f.gross) return "Profit Margin must be above 0 to compute the gross return.";
    if (!ISBLANK(in.averageSale) && f.profit && !f.sales)
        return "Average Sale must give a profit of at least $.01 to compute the number of sales.";
    if (!ISBLANK(in.closingRatio) && f.sales && !f.responses)
        return "Closing Ratio must be above 0 to compute the responses needed.";
    return "";
}

}  // namespace

Calculation CALCULATERESULTS(const CalculatorTexts& typed) {
    // The percent figures count as the field shows them once it is left.
    CalculatorTexts in = typed;
    for (std::string* percent : {&in.roi, &in.margin, &in.closingRatio}) *percent = PCTTEXT(*percent);
    const Figures f = COMPUTE(in);
    Calculation result;
    std::vector<ControlUpdate>& updates = result.updates;
    updates.reserve(12);
    updates.push_back({RI::NET_RETURN, FORMATFIGURE(QUOTIENT(f.net, 0, 100, 1, FROMMONEY(f.net)), "$#,.00")});
    updates.push_back({RI::GROSS_RETURN, f.gross ? FORMATFIGURE(*f.gross, "$#,.00") : ""});
    updates.push_back({RI::SALES, f.sales ? FORMATFIGURE(*f.sales, "##.00") : ""});
    updates.push_back({RI::RESPONSES, f.responses ? FORMATFIGURE(*f.responses, "#.0") : ""});
    for (size_t row = 1; row <= in.cume.size(); ++row) {
        const int32_t cume = TOWHOLE(READNUMBER(in.cume[row - 1]));
        std::string share;
        if (f.responses && cume > 0) share = FORMATFIGURE(SHARE(f, cume), "0#.000").substr(0, 8);
        updates.push_back({RI::SHARELABEL(static_cast<int>(row)), share});
    }
    result.stop = STOPOF(typed, f);
    return result;
}

int64_t NETRETURN(std::string_view budget, std::string_view roi) { return PERCENTOF(READMONEY(budget), roi, 100); }

int64_t PROFITPERSALE(std::string_view averageSale, std::string_view margin) {
    return PERCENTOF(READMONEY(averageSale), margin, 0);
}

long double MONEYNUMBER(std::string_view text) { return READNUMBER(MONEYTEXT(text)); }

std::string DOLLARTEXT(std::string_view text) { return FORMATNUMBER(MONEYNUMBER(text), "$#,.00"); }

std::string PCTTEXT(std::string_view text) {
    const std::string decimals(std::clamp(TYPEDDECIMALS(text), 1, 3), '0');
    const std::string shown = FORMATNUMBER(READNUMBER(text), "0." + decimals);
    // Zero keeps the form an empty field has always had, ".0"; a fraction shows its "0".
    return shown.find_first_of("123456789") == std::string::npos ? FORMATNUMBER(0, "#." + decimals) : shown;
}

namespace {

// The typed text as the status bar quotes it: at most 20 characters.
std::string QUOTED(std::string_view typed) {
    constexpr size_t kQuoted = 20;
    const std::string_view head = UTF8FIRST(typed, kQuoted);
    if (head.size() == typed.size()) return "\"" + std::string(typed) + "\"";
    return "\"" + TRIMSPACES(head) + "\u2026\"";
}

}  // namespace

std::string IGNOREDNOTICE(std::string_view typed, bool money) {
    if (ISBLANK(typed)) return "";
    std::string read = money ? MONEYTEXT(typed) : std::string(typed);
    while (!read.empty() && (read.back() == ' ' || (!money && read.back() == '%'))) read.pop_back();
    const size_t length = READLENGTH(read);
    if (length == read.size()) return "";
    const std::string shown = money ? DOLLARTEXT(typed) : PCTTEXT(typed) + "%";
    if (read.find_first_of("0123456789") == std::string::npos)
        return "No figure in " + QUOTED(typed) + "; it counts as " + shown + ".";
    return "Read " + QUOTED(typed) + " as " + shown + "; the rest was ignored.";
}

Audience AUDIENCEPERRESPONSE(std::string_view sales, std::string_view closingRatio, std::string_view cume) {
    Audience audience;
    const Money hundredths = TOMONEY(READNUMBER(sales));
    const std::string ratio = PCTTEXT(closingRatio);
    const long double percent = READNUMBER(ratio);
    const int32_t listeners = TOWHOLE(READNUMBER(cume));
    if (hundredths <= 0 || !(percent > 0) || listeners <= 0) return audience;
    // Listeners ÷ responses, where the responses are the hundredths of a sale ÷ the percent.
    const ExactNumber c = READEXACT(ratio);
    Quotient every;
    every.value = listeners / (static_cast<long double>(hundredths) / percent);
    every.den = hundredths;
    every.exact = c.exact &&
                  !__builtin_mul_overflow(static_cast<__int128>(listeners), c.digits, &every.num) &&
                  TIMESPOWEROFTEN(every.den, c.scale);
    audience.known = true;
    audience.beyondAudience = every.exact ? every.num < every.den : every.value < 1;
    audience.halfOrMore = every.exact ? every.num <= 2 * every.den : every.value <= 2;
    audience.every = FORMATFIGURE(every, "#,");
    audience.listeners = FORMATNUMBER(static_cast<long double>(listeners), "#,");
    return audience;
}
