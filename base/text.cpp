#include "base/text.h"

namespace {

bool continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string TRIMSPACES(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool ISBLANK(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

std::string ASCIILOWER(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

size_t UTF8NEXT(std::string_view text, size_t at) {
    size_t next = at + 1;
    if (static_cast<unsigned char>(text[at]) < 0xC0) return next;
    while (next < text.size() && next - at < 4 && continuation(text[next])) ++next;
    return next;
}

std::string_view UTF8HEAD(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    for (int step = 0; step < 3 && end > 0 && continuation(text[end]); ++step) --end;
    return text.substr(0, end);
}

std::string_view UTF8FIRST(std::string_view text, size_t maxCharacters) {
    size_t end = 0;
    for (size_t characters = 0; end < text.size() && characters < maxCharacters; ++characters)
        end = UTF8NEXT(text, end);
    return text.substr(0, end);
}

void APPENDUTF8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    // How many continuation bytes, six bits of the code each, follow the lead byte.
    const int more = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    constexpr unsigned kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[more] | (code >> (6 * more)));
    for (int n = more - 1; n >= 0; --n) out += static_cast<char>(0x80 | ((code >> (6 * n)) & 0x3F));
}

std::string HEXTEXT(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}
