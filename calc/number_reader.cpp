#include "calc/number_reader.h"

#include <algorithm>
#include <cfloat>
#include <charconv>

namespace {

// Exponents beyond this make every mantissa overflow or underflow anyway.
constexpr long EXPONENT_CAP = 1'000'000;

bool ISDIGIT(char c) { return c >= '0' && c <= '9'; }

bool ISBLANK(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Value of one digit character in bases up to 16, or -1.
int DIGITVALUE(char c) {
    if (ISDIGIT(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The leading digits of text read as a whole number in base, up to the largest long double.
long double WHOLEINBASE(std::string_view text, int base) {
    long double value = 0;
    for (char c : text) {
        const int digit = DIGITVALUE(c);
        if (digit < 0 || digit >= base) break;
        value = value * base + digit;
        if (value > LDBL_MAX) return LDBL_MAX;
    }
    return value;
}

// Text after "&": the letter names the base, the digits follow it.
long double READBASED(std::string_view text) {
    if (text.empty()) return 0;
    switch (text[0]) {
        case 'H':
        case 'h': return WHOLEINBASE(text.substr(1), 16);
        case 'O':
        case 'o':
        case 'Q':
        case 'q': return WHOLEINBASE(text.substr(1), 8);
        case 'B':
        case 'b': return WHOLEINBASE(text.substr(1), 2);
        default: return 0;
    }
}

// Power of ten of the first non-zero digit of a mantissa such as "0012.5" or ".003".
long ORDEROFMAGNITUDE(std::string_view mantissa) {
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    return first < point ? static_cast<long>(point - first) - 1
                         : static_cast<long>(point) - static_cast<long>(first);
}

// Correctly rounded value of mantissa × 10^exponent; out of range gives the
// largest finite long double or 0.
long double DECIMALVALUE(std::string_view mantissa, long exponent) {
    const std::string number = std::string(mantissa) + "e" + std::to_string(exponent);
    long double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return ORDEROFMAGNITUDE(mantissa) + exponent > 0 ? LDBL_MAX : 0;
    }
    return value;
}

}  // namespace

long double READNUMBER(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && ISBLANK(text[at])) ++at;
    if (at < text.size() && text[at] == '&') return READBASED(text.substr(at + 1));

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }

    // Digits with at most one point.
    const size_t start = at;
    bool point = false;
    bool digits = false;
    while (at < text.size() && (ISDIGIT(text[at]) || (text[at] == '.' && !point))) {
        point = point || text[at] == '.';
        digits = digits || text[at] != '.';
        ++at;
    }
    if (!digits) return 0;
    const std::string_view mantissa = text.substr(start, at - start);

    // The exponent counts only when a digit follows its letter and sign.
    long exponent = 0;
    if (at < text.size() && std::string_view("EeDd").find(text[at]) != std::string_view::npos) {
        size_t look = at + 1;
        bool exponentNegative = false;
        if (look < text.size() && (text[look] == '+' || text[look] == '-')) {
            exponentNegative = text[look] == '-';
            ++look;
        }
        while (look < text.size() && ISDIGIT(text[look])) {
            exponent = std::min(exponent * 10 + (text[look] - '0'), EXPONENT_CAP);
            ++look;
        }
        if (exponentNegative) exponent = -exponent;
    }

    const long double magnitude = DECIMALVALUE(mantissa, exponent);
    return negative ? -magnitude : magnitude;
}

std::string REMOVECHARS(std::string_view text, std::string_view set) {
    std::string kept;
    for (char c : text) {
        if (set.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}
