#include "base/date_rules.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

#include "base/number_kinds.h"
#include "base/number_reader.h"

namespace {

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        size_t end = text.find(separator);
        fields.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return fields;
        text.remove_prefix(end + 1);
    }
}

std::string padded(long long value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", digits, value);
    return text;
}

}  // namespace

int32_t JULIANDATE(int32_t month, int32_t day, int32_t year) {
    // Wide enough that no product of the formula overflows; C++ division truncates toward zero.
    const int64_t m = month, d = day, y = year;
    const int64_t a = (m - 14) / 12;
    const int64_t number =
        d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - 12 * a) / 12 - 3 * ((y + 4900 + a) / 100) / 4;
    return static_cast<int32_t>(std::clamp<int64_t>(number, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::optional<int32_t> DAYNUMBER(std::string_view dateText, std::string_view order) {
    std::string text(dateText);
    std::replace(text.begin(), text.end(), '/', '-');
    std::vector<std::string_view> fields = splitAt(text, '-');
    long double value[3] = {0, 0, 0};
    for (size_t i = 0; i < 3 && i < fields.size(); ++i) value[i] = READNUMBER(fields[i]);
    if (value[0] == 0 || value[1] == 0 || value[2] == 0) return std::nullopt;
    if (order == "MDY") return JULIANDATE(TOWHOLE(value[0]), TOWHOLE(value[1]), TOWHOLE(value[2]));
    if (order == "YMD") return JULIANDATE(TOWHOLE(value[1]), TOWHOLE(value[2]), TOWHOLE(value[0]));
    return std::nullopt;
}

std::string FORMATDATE(std::string& dateText, int32_t useSlashes) {
    std::ranges::replace(dateText, useSlashes != 0 ? '-' : '/', useSlashes != 0 ? '/' : '-');
    return dateText;
}

std::string BUILDDATETEXT(std::string_view shortDate, int32_t year, int32_t month, int32_t day) {
    std::vector<std::string_view> fields = splitAt(shortDate, '/');
    if (fields.size() == 3) {
        const int32_t first = TOWHOLE(READNUMBER(fields[0]));
        const int32_t second = TOWHOLE(READNUMBER(fields[1]));
        const int32_t third = TOWHOLE(READNUMBER(fields[2]));
        if (first > 0 && second > 0 && third > 0)
            return padded(first, 2) + "/" + padded(second, 2) + "/" + padded(third, 4);
    }
    return padded(month, 2) + "/" + padded(day, 2) + "/" + padded(year, 4);
}

std::string TODAYTEXT(int32_t year, int32_t month, int32_t day) {
    return padded(month, 2) + "-" + padded(day, 2) + "-" + padded(year, 4);
}
