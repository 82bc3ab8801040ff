// The number reader on any typed or stored text: always a finite number, and a money amount
// written by the calculator's mask reads back as that amount to the cent; decimals round as the
// C library's correctly rounded reader rounds them here.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

#include "base/number_decimal.h"
#include "base/number_format.h"
#include "base/number_reader.h"
#include "calc/results.h"
#include "tests/fuzz/require.h"

namespace {

// The digits of text with its first point, times a power of ten its first byte picks: mostly
// small ones, up to 10^±5461.
void checkRounding(const std::string& text) {
    std::string mantissa;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c == '.' && mantissa.find('.') == std::string::npos)) mantissa += c;
    if (text.empty() || mantissa.find_first_of("0123456789") == std::string::npos) return;
    const long pick = static_cast<signed char>(text[0]);
    const long exponent = pick * std::labs(pick) / 3;
    const std::string number = mantissa + "e" + std::to_string(exponent);
    long double library = 0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), library);
    const long double own = DECIMALVALUE(mantissa, exponent);
    if (read.ec == std::errc())
        REQUIRE(own == library);
    else
        REQUIRE(own == 0 || own == LDBL_MAX);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const long double number = READNUMBER(text);
    REQUIRE(std::isfinite(number));

    const std::string plain = REMOVECHARS(text, "$,");
    REQUIRE(plain.find_first_of("$,") == std::string::npos && plain.size() <= text.size());

    const std::string money = FORMATNUMBER(number, "$#,.00");
    if (std::fabs(number) < 1e12L) {
        const long double back = READNUMBER(REMOVECHARS(money, "$,"));
        REQUIRE(std::fabs(back - number) <= 0.0051L);
    }
    // A figure held exactly is the figure the reader reads.
    const ExactNumber exact = READEXACT(text);
    if (exact.exact) {
        long double power = 1;
        for (int n = 0; n < exact.scale; ++n) power *= 10;
        const long double held = static_cast<long double>(exact.digits) / power;
        REQUIRE(std::fabs(held - number) <= std::fabs(number) * 1e-15L);
        FORMATQUOTIENT(exact.digits, 7, "$#,.00");
    }
    // The number is all in what the reader reads; a percent field re-read shows what it showed.
    REQUIRE(READLENGTH(text) <= text.size() && READNUMBER(text.substr(0, READLENGTH(text))) == number);
    REQUIRE(std::isfinite(READNUMBER(EXPANDSHORTHAND(text))));
    REQUIRE(std::fabs(number) >= 1e12L || PCTTEXT(PCTTEXT(text)) == PCTTEXT(text));
    IGNOREDNOTICE(text, true), IGNOREDNOTICE(text, false);
    checkRounding(text);
    return 0;
}
