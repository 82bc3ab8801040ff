#include "base/number_decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using Limits = std::numeric_limits<long double>;
static_assert(Limits::radix == 2 && Limits::digits < 126);

// Bits of a long double's significand, and the powers of two of its lowest bit at the smallest
// and largest exponents.
constexpr int kBits = Limits::digits;
constexpr long kLowestPower = Limits::min_exponent - kBits;
constexpr long kHighestPower = Limits::max_exponent - kBits;

// A halfway point between two long doubles has fewer significant digits than this, so the digits
// beyond it only tell that the number lies above the digits kept.
constexpr size_t kKeptDigits = kBits - Limits::min_exponent + 40;

// A whole number of any size, least significant 32 bits first, no leading zero limbs.
using Whole = std::vector<uint32_t>;

void TIMESSMALL(Whole& value, uint32_t factor, uint32_t add) {
    uint64_t carry = add;
    for (uint32_t& limb : value) {
        carry += static_cast<uint64_t>(limb) * factor;
        limb = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0) value.push_back(static_cast<uint32_t>(carry));
}

void TIMESPOWEROFTEN(Whole& value, long power) {
    for (; power >= 9; power -= 9) TIMESSMALL(value, 1'000'000'000, 0);
    for (; power > 0; --power) TIMESSMALL(value, 10, 0);
}

Whole SHIFTEDLEFT(const Whole& value, long bits) {
    Whole shifted(static_cast<size_t>(bits / 32), 0);
    const int offset = static_cast<int>(bits % 32);
    uint32_t carry = 0;
    for (uint32_t limb : value) {
        shifted.push_back(offset == 0 ? limb : limb << offset | carry);
        carry = offset == 0 ? 0 : limb >> (32 - offset);
    }
    if (carry != 0) shifted.push_back(carry);
    return shifted;
}

void HALVE(Whole& value) {
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = value[i] >> 1 | (i + 1 < value.size() ? value[i + 1] << 31 : 0);
    if (!value.empty() && value.back() == 0) value.pop_back();
}

long BITLENGTH(const Whole& value) {
    if (value.empty()) return 0;
    return static_cast<long>(value.size() * 32) - __builtin_clz(value.back());
}

int COMPARE(const Whole& a, const Whole& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

// a − b, where b is not larger than a.
void SUBTRACT(Whole& a, const Whole& b) {
    int64_t borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int64_t difference = static_cast<int64_t>(a[i]) - borrow - (i < b.size() ? b[i] : 0);
        borrow = difference < 0;
        a[i] = static_cast<uint32_t>(difference + (borrow << 32));
    }
    while (!a.empty() && a.back() == 0) a.pop_back();
}

// numerator ÷ (denominator × 2^power) for the power that leaves a quotient below 2^(kBits + 1):
// the quotient, and the remainder left in numerator.
unsigned __int128 QUOTIENT(Whole& numerator, const Whole& denominator, long power) {
    if (power < 0) numerator = SHIFTEDLEFT(numerator, -power);
    unsigned __int128 quotient = 0;
    Whole part = SHIFTEDLEFT(denominator, kBits + std::max(power, 0L));
    for (int bit = kBits; bit >= 0; --bit, HALVE(part)) {
        if (COMPARE(numerator, part) < 0) continue;
        SUBTRACT(numerator, part);
        quotient |= static_cast<unsigned __int128>(1) << bit;
    }
    return quotient;
}

// Whether a remainder left over divisor (denominator × 2^power) rounds the quotient up: above
// half, or at half with an odd quotient.
bool ROUNDSUP(const Whole& remainder, const Whole& denominator, long power, unsigned __int128 quotient) {
    const Whole twice = SHIFTEDLEFT(remainder, 1);
    const int side = COMPARE(twice, power > 0 ? SHIFTEDLEFT(denominator, power) : denominator);
    return side > 0 || (side == 0 && (quotient & 1) != 0);
}

}  // namespace

long double DECIMALVALUE(std::string_view mantissa, long exponent) {
    // Beyond this every value is 0 or the largest anyway; the sums below cannot overflow.
    exponent = std::clamp(exponent, -1'000'000'000L, 1'000'000'000L);
    // The significant digits, and the power of ten of the last one.
    std::string digits;
    const size_t point = mantissa.find('.');
    for (size_t at = 0; at < mantissa.size(); ++at) {
        if (at == point) continue;
        if (point < at) --exponent;
        if (mantissa[at] != '0' || !digits.empty()) digits += mantissa[at];
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (digits.empty()) return 0;
    if (digits.size() > kKeptDigits) {
        exponent += static_cast<long>(digits.size() - kKeptDigits) - 1;
        digits.resize(kKeptDigits);
        digits += '1';
    }
    const long order = static_cast<long>(digits.size()) - 1 + exponent;
    if (order > Limits::max_exponent10) return Limits::max();
    if (order < Limits::min_exponent10 - Limits::digits10 - 3) return 0;

    Whole numerator, denominator{1};
    // Nine digits at a time: 10^9 fits 32 bits.
    for (size_t at = 0; at < digits.size(); at += 9) {
        uint32_t factor = 1, group = 0;
        for (size_t i = at; i < std::min(at + 9, digits.size()); ++i) {
            factor *= 10;
            group = group * 10 + static_cast<uint32_t>(digits[i] - '0');
        }
        TIMESSMALL(numerator, factor, group);
    }
    TIMESPOWEROFTEN(exponent >= 0 ? numerator : denominator, std::labs(exponent));
    // The value lies in [2^(kBits - 1), 2^(kBits + 1)) × 2^power.
    long power = BITLENGTH(numerator) - BITLENGTH(denominator) - kBits;
    Whole remainder = numerator;
    unsigned __int128 quotient = QUOTIENT(remainder, denominator, power);
    if (quotient >> kBits != 0) {
        remainder = numerator;
        quotient = QUOTIENT(remainder, denominator, ++power);
    }
    quotient += ROUNDSUP(remainder, denominator, power, quotient);
    if (quotient >> kBits != 0) {
        quotient >>= 1;
        ++power;
    }
    if (power > kHighestPower) return Limits::max();
    if (power >= kLowestPower) return std::ldexp(static_cast<long double>(quotient), static_cast<int>(power));
    // Below the smallest normal long double only a value held exactly is kept.
    remainder = numerator;
    quotient = QUOTIENT(remainder, denominator, kLowestPower);
    if (!remainder.empty()) return 0;
    return std::ldexp(static_cast<long double>(quotient), static_cast<int>(kLowestPower));
}
