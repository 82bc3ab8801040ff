#include "msgbox/markup.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/text.h"

namespace {

// Only the first ten segments of a button list are looked at.
constexpr std::size_t MAX_BUTTON_SEGMENTS = 10;

char UPPER(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool ISSTYLE(char letter) { return std::string_view("GC3RE").find(letter) != std::string_view::npos; }

// The longest decimal number at the start of text, after any spaces; nothing readable gives 0.
double LEADINGNUMBER(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits or a point may start the number; this also keeps "inf" and "nan" out.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.')) {
        return 0;
    }
    double value = 0;
    const auto read =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (read.ec != std::errc{}) return 0;
    return negative ? -value : value;
}

// No screen holds a button larger than this many character units, nor one smaller than none.
constexpr double LARGEST_BUTTON = 1000;

// A button takes from a segment's codes only the letters buttons understand.
void APPLYBUTTONCODES(const Marked& m, ButtonSpec& button) {
    button.width = static_cast<float>(std::clamp(CODEVALUE(m, 'W', button.width), 0.0, LARGEST_BUTTON));
    button.height = static_cast<float>(std::clamp(CODEVALUE(m, 'H', button.height), 0.0, LARGEST_BUTTON));
    button.font = CODEINT(m, 'F', button.font);
    button.face = CODEINT(m, 'B', button.face);
    button.captionColour = CODEINT(m, 'T', button.captionColour);
    if (m.style != 0) button.style = m.style;
}

}  // namespace

std::vector<std::string> SEGMENTS(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

Marked PARSEMARKUP(std::string_view marked) {
    Marked result;
    const std::size_t brace = marked.find('{');
    result.text = TRIMSPACES(marked.substr(0, brace));
    if (brace == std::string_view::npos) return result;

    // The code list runs from the first "{" to the end; a closing "}" just ends the last number.
    for (const std::string& piece : SEGMENTS(TRIMSPACES(marked.substr(brace + 1)), ',')) {
        const std::string code = TRIMSPACES(piece);
        if (code.empty()) continue;
        const char letter = UPPER(code.front());
        result.codes[letter] = LEADINGNUMBER(std::string_view(code).substr(1));
        if (ISSTYLE(letter)) result.style = letter;
    }
    return result;
}

int32_t CODEINT(const Marked& m, char letter, int32_t fallback) {
    const double nearest = std::nearbyint(CODEVALUE(m, letter, fallback));
    return static_cast<int32_t>(std::clamp(nearest, static_cast<double>(std::numeric_limits<int32_t>::min()),
                                           static_cast<double>(std::numeric_limits<int32_t>::max())));
}

double CODEVALUE(const Marked& m, char letter, double fallback) {
    const auto code = m.codes.find(UPPER(letter));
    return code == m.codes.end() ? fallback : code->second;
}

std::vector<ButtonSpec> PARSEBUTTONS(std::string_view buttons) {
    std::vector<ButtonSpec> result;
    ButtonSpec defaults;
    const std::vector<std::string> segments = SEGMENTS(buttons, '|');
    const std::size_t examined = std::min(segments.size(), MAX_BUTTON_SEGMENTS);
    for (std::size_t n = 0; n < examined; ++n) {
        const std::string segment = TRIMSPACES(segments[n]);
        if (segment.starts_with("*{")) {
            APPLYBUTTONCODES(PARSEMARKUP(segment), defaults);
            continue;
        }
        if (segment.empty()) continue;
        // Without "{" the mark-up's display text is the whole stripped segment and there are no codes.
        const Marked marked = PARSEMARKUP(segment);
        ButtonSpec button = defaults;
        button.caption = marked.text;
        APPLYBUTTONCODES(marked, button);
        result.push_back(button);
    }
    return result;
}
