#include "base/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/number_kinds.h"

namespace {

// The digits of a magnitude without leading zeros (none at all for zero) and
// the count of them that stand before the decimal point (may be negative or exceed the digits).
struct Decimal {
    std::string digits;
    int pointAt = 0;
};

bool ISPLACEHOLDER(char c) { return c == '#' || c == '0'; }

// Splits the shortest scientific text "d.ddde+XX" of a magnitude into a Decimal.
Decimal SCIENTIFICTODECIMAL(std::string_view text) {
    const size_t e = text.find('e');
    Decimal decimal;
    for (char c : text.substr(0, e)) {
        if (c != '.') decimal.digits += c;
    }
    if (decimal.digits == "0") {
        decimal.digits.clear();
        return decimal;
    }
    decimal.pointAt = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    return decimal;
}

// Rounds to the given count of decimals, a 5 in the first dropped place rounding up.
void ROUNDDECIMAL(Decimal& decimal, int decimals) {
    const int keep = decimal.pointAt + decimals;
    if (keep >= static_cast<int>(decimal.digits.size())) return;
    if (keep < 0) {
        decimal.digits.clear();
        return;
    }
    const bool up = decimal.digits[keep] >= '5';
    decimal.digits.resize(keep);
    if (!up) return;
    int at = keep - 1;
    while (at >= 0 && decimal.digits[at] == '9') decimal.digits[at--] = '0';
    if (at >= 0) {
        ++decimal.digits[at];
    } else {
        decimal.digits.insert(decimal.digits.begin(), '1');
        ++decimal.pointAt;
    }
}

// The digit at place index counted from the first digit; zero outside the digits.
char DIGITAT(const Decimal& decimal, int index) {
    return index >= 0 && index < static_cast<int>(decimal.digits.size()) ? decimal.digits[index] : '0';
}

std::string INTEGERDIGITS(const Decimal& decimal) {
    std::string digits;
    for (int index = 0; index < decimal.pointAt; ++index) digits += DIGITAT(decimal, index);
    return digits;
}

std::string FRACTIONDIGITS(const Decimal& decimal, int decimals) {
    std::string digits;
    for (int index = 0; index < decimals; ++index) digits += DIGITAT(decimal, decimal.pointAt + index);
    return digits;
}

std::string PLAINFORM(const Decimal& decimal) {
    const std::string whole = INTEGERDIGITS(decimal);
    const int decimals = std::max(0, static_cast<int>(decimal.digits.size()) - decimal.pointAt);
    std::string text = whole.empty() ? "0" : whole;
    if (decimals > 0) text += "." + FRACTIONDIGITS(decimal, decimals);
    return text;
}

// The part of the mask before the point, its positions filled from the right
// by the integer digits; the leftmost position takes every digit left over.
std::string FILLINTEGERPART(std::string_view mask, const std::string& digits) {
    const bool grouping = mask.find(',') != std::string_view::npos;
    auto positions = std::count_if(mask.begin(), mask.end(), ISPLACEHOLDER);
    size_t remaining = digits.size();
    size_t placed = 0;
    std::string reversed;
    const auto putDigit = [&](char digit) {
        if (grouping && placed > 0 && placed % 3 == 0) reversed += ',';
        reversed += digit;
        ++placed;
    };
    if (positions == 0) {
        while (remaining > 0) putDigit(digits[--remaining]);
    }
    for (auto c = mask.rbegin(); c != mask.rend(); ++c) {
        if (*c == ',') continue;
        if (!ISPLACEHOLDER(*c)) {
            reversed += *c;
            continue;
        }
        --positions;
        const size_t take = positions == 0 ? remaining : std::min<size_t>(1, remaining);
        if (take == 0 && *c == '0') putDigit('0');
        for (size_t n = 0; n < take; ++n) putDigit(digits[--remaining]);
    }
    return {reversed.rbegin(), reversed.rend()};
}

// The part of the mask after the point, its positions taking the decimals in turn.
std::string FILLFRACTIONPART(std::string_view mask, const std::string& digits) {
    std::string text;
    size_t next = 0;
    for (char c : mask) text += ISPLACEHOLDER(c) ? digits[next++] : c;
    return text;
}

// The mask's part after its first point, if it has one.
std::string_view AFTERPOINT(std::string_view mask) {
    const size_t point = mask.find('.');
    return point == std::string_view::npos ? std::string_view() : mask.substr(point + 1);
}

int DECIMALSOF(std::string_view mask) {
    const std::string_view after = AFTERPOINT(mask);
    return static_cast<int>(std::count_if(after.begin(), after.end(), ISPLACEHOLDER));
}

// A decimal already rounded to the mask's decimals, written by the mask.
std::string MASKEDFORM(const Decimal& decimal, std::string_view mask) {
    const size_t point = mask.find('.');
    std::string text = FILLINTEGERPART(mask.substr(0, point), INTEGERDIGITS(decimal));
    if (point != std::string_view::npos) {
        text += "." + FILLFRACTIONPART(AFTERPOINT(mask), FRACTIONDIGITS(decimal, DECIMALSOF(mask)));
    }
    return text;
}

// Formats the shortest scientific text of a magnitude; the sign stands before
// everything, and only when some digit shown is not zero.
std::string FORMATSCIENTIFIC(bool negative, std::string_view scientific, std::string_view mask) {
    Decimal decimal = SCIENTIFICTODECIMAL(scientific);
    if (!mask.empty()) ROUNDDECIMAL(decimal, DECIMALSOF(mask));
    const std::string text = mask.empty() ? PLAINFORM(decimal) : MASKEDFORM(decimal, mask);
    return negative && !decimal.digits.empty() ? "-" + text : text;
}

// The digits of a whole magnitude, none for zero.
std::string WHOLEDIGITS(unsigned __int128 magnitude) {
    std::string reversed;
    for (; magnitude > 0; magnitude /= 10) reversed += static_cast<char>('0' + static_cast<int>(magnitude % 10));
    return {reversed.rbegin(), reversed.rend()};
}

}  // namespace

std::string FORMATNUMBER(long double value, std::string_view mask) {
    if (!std::isfinite(value)) value = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    return FORMATSCIENTIFIC(std::signbit(value), std::string_view(buffer, result.ptr - buffer), mask);
}

std::optional<std::string> FORMATQUOTIENT(__int128 num, __int128 den, std::string_view mask) {
    const int decimals = DECIMALSOF(mask);
    __int128 scaled = num;
    if (!TIMESPOWEROFTEN(scaled, decimals)) return std::nullopt;
    __int128 units = scaled / den;
    const __int128 rest = scaled % den < 0 ? -(scaled % den) : scaled % den;
    // A 5 in the first dropped place, or more, rounds away from zero.
    if (rest >= den - rest) units += num < 0 ? -1 : 1;
    Decimal decimal;
    decimal.digits = WHOLEDIGITS(units < 0 ? -static_cast<unsigned __int128>(units) : units);
    decimal.pointAt = static_cast<int>(decimal.digits.size()) - decimals;
    const std::string text = MASKEDFORM(decimal, mask);
    return units < 0 ? "-" + text : text;
}
