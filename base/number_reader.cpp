#include "base/number_reader.h"

#include <algorithm>
#include <cfloat>

#include "base/number_decimal.h"
#include "base/number_kinds.h"

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

// The base that the letter after "&" names, 0 for none.
int BASEOF(char letter) {
    const char lower = static_cast<char>(letter | 0x20);  // 'H' and 'h' alike
    return lower == 'h' ? 16 : lower == 'o' || lower == 'q' ? 8 : lower == 'b' ? 2 : 0;
}

// Text after "&": the letter names the base, the digits follow it.
long double READBASED(std::string_view text) {
    const int base = text.empty() ? 0 : BASEOF(text[0]);
    return base == 0 ? 0 : WHOLEINBASE(text.substr(1), base);
}

// A decimal number as the reader finds it: sign, digits with at most one point, and the
// exponent that counts only when a digit follows its letter and sign.
struct DecimalText {
    bool negative = false;
    std::string_view mantissa;  // empty when the text has no digits there
    long exponent = 0;
    bool exponentWritten = false;  // an exponent letter with digits after it was read
    size_t end = 0;                // the first character not read
};

size_t SKIPBLANKS(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && ISBLANK(text[at])) ++at;
    return at;
}

DecimalText SCANDECIMAL(std::string_view text, size_t at) {
    DecimalText scanned;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        scanned.negative = text[at] == '-';
        ++at;
    }
    const size_t start = at;
    bool point = false;
    bool digits = false;
    while (at < text.size() && (ISDIGIT(text[at]) || (text[at] == '.' && !point))) {
        point = point || text[at] == '.';
        digits = digits || text[at] != '.';
        ++at;
    }
    if (!digits) return scanned;
    scanned.mantissa = text.substr(start, at - start);
    scanned.end = at;

    if (at < text.size() && std::string_view("EeDd").find(text[at]) != std::string_view::npos) {
        size_t look = at + 1;
        bool exponentNegative = false;
        if (look < text.size() && (text[look] == '+' || text[look] == '-')) {
            exponentNegative = text[look] == '-';
            ++look;
        }
        const size_t firstDigit = look;
        while (look < text.size() && ISDIGIT(text[look])) {
            scanned.exponent = std::min(scanned.exponent * 10 + (text[look] - '0'), EXPONENT_CAP);
            ++look;
        }
        if (exponentNegative) scanned.exponent = -scanned.exponent;
        if (look > firstDigit) {
            scanned.exponentWritten = true;
            scanned.end = look;
        }
    }
    return scanned;
}

// The exact digits and scale of a scanned decimal. Zeros are held back until a later digit
// needs them, so that trailing zeros never overflow the digits.
ExactNumber EXACTVALUE(const DecimalText& scanned) {
    __int128 digits = 0;
    long heldZeros = 0;
    long decimals = 0;
    bool afterPoint = false;
    for (char c : scanned.mantissa) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (afterPoint) ++decimals;
        if (c == '0') {
            ++heldZeros;
            continue;
        }
        if (!TIMESPOWEROFTEN(digits, heldZeros + 1) || __builtin_add_overflow(digits, c - '0', &digits)) return {};
        heldZeros = 0;
    }
    if (digits == 0) return {true, 0, 0};
    const long power = heldZeros + scanned.exponent - decimals;
    if (power >= 0) {
        if (!TIMESPOWEROFTEN(digits, power)) return {};
        return {true, scanned.negative ? -digits : digits, 0};
    }
    if (-power > kExactDecimals) return {};
    return {true, scanned.negative ? -digits : digits, static_cast<int>(-power)};
}

// A figure held exactly whose digits and power of ten are both exact in long double (64 bits of
// digits, at most 27 decimals) is rounded correctly by one division, much faster than the general
// reader.
bool QUICKVALUE(const DecimalText& scanned, long double& value) {
    const ExactNumber exact = EXACTVALUE(scanned);
    const __int128 magnitude = exact.digits < 0 ? -exact.digits : exact.digits;
    if (!exact.exact || magnitude >= (static_cast<__int128>(1) << 64) || exact.scale > 27) return false;
    long double power = 1;
    for (int n = 0; n < exact.scale; ++n) power *= 10;
    value = static_cast<long double>(magnitude) / power;
    return true;
}

}  // namespace

long double READNUMBER(std::string_view text) {
    const size_t at = SKIPBLANKS(text);
    if (at < text.size() && text[at] == '&') return READBASED(text.substr(at + 1));
    const DecimalText scanned = SCANDECIMAL(text, at);
    if (scanned.mantissa.empty()) return 0;
    long double magnitude = 0;
    if (!QUICKVALUE(scanned, magnitude)) magnitude = DECIMALVALUE(scanned.mantissa, scanned.exponent);
    return scanned.negative ? -magnitude : magnitude;
}

ExactNumber READEXACT(std::string_view text) {
    const size_t at = SKIPBLANKS(text);
    if (at < text.size() && text[at] == '&') {
        // Whole numbers in another base are exact in the reader up to 64 bits.
        const long double whole = READBASED(text.substr(at + 1));
        if (whole >= 0x1p63L) return {};
        return {true, static_cast<__int128>(whole), 0};
    }
    const DecimalText scanned = SCANDECIMAL(text, at);
    if (scanned.mantissa.empty()) return {true, 0, 0};
    return EXACTVALUE(scanned);
}

std::string REMOVECHARS(std::string_view text, std::string_view set) {
    std::string kept(text);
    std::erase_if(kept, [&](char c) { return set.find(c) != std::string_view::npos; });
    return kept;
}

size_t READLENGTH(std::string_view text) {
    const size_t at = SKIPBLANKS(text);
    if (at < text.size() && text[at] == '&') {
        const int base = at + 1 < text.size() ? BASEOF(text[at + 1]) : 0;
        if (base == 0) return at;
        size_t end = at + 2;
        while (end < text.size() && DIGITVALUE(text[end]) >= 0 && DIGITVALUE(text[end]) < base) ++end;
        return end;
    }
    const DecimalText scanned = SCANDECIMAL(text, at);
    return scanned.mantissa.empty() ? at : scanned.end;
}

int TYPEDDECIMALS(std::string_view text) {
    const DecimalText scanned = SCANDECIMAL(text, SKIPBLANKS(text));
    const size_t point = scanned.mantissa.find('.');
    const long written =
        point == std::string_view::npos ? 0 : static_cast<long>(scanned.mantissa.size() - point - 1);
    return static_cast<int>(std::clamp(written - scanned.exponent, 0L, 1000L));
}

std::string EXPANDSHORTHAND(std::string_view text) {
    const size_t at = SKIPBLANKS(text);
    if (at < text.size() && text[at] == '&') return std::string(text);
    const DecimalText scanned = SCANDECIMAL(text, at);
    if (scanned.mantissa.empty() || scanned.exponentWritten || scanned.end >= text.size())
        return std::string(text);
    // Only a letter that ends the figure: "12 months" is no twelve million.
    for (size_t after = scanned.end + 1; after < text.size(); ++after)
        if (!ISBLANK(text[after])) return std::string(text);
    const char unit = text[scanned.end];
    const char* power = unit == 'k' || unit == 'K' ? "E3" : unit == 'm' || unit == 'M' ? "E6" : nullptr;
    if (!power) return std::string(text);
    return std::string(text.substr(0, scanned.end)) + power + std::string(text.substr(scanned.end + 1));
}
