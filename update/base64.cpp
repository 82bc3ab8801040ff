#include "update/base64.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(char c) {
    size_t at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

// Three bytes make four characters, the most significant six bits first; a last group of one or
// two bytes makes two or three, and "=" fills the text to a multiple of four.
std::string GET_BASE64(std::string_view text) {
    std::string out;
    out.reserve((text.size() + 2) / 3 * 4);
    for (size_t i = 0; i < text.size(); i += 3) {
        const size_t count = std::min<size_t>(3, text.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? static_cast<unsigned char>(text[i + k]) : 0u);
        for (size_t k = 0; k <= count; ++k) out += kAlphabet[(group >> (18 - 6 * k)) & 0x3F];
    }
    while (out.size() % 4 != 0) out += '=';
    return out;
}

std::optional<std::string> FROM_BASE64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
    std::string out;
    uint32_t group = 0;
    int bits = 0;
    for (size_t i = 0; i < text.size() - padding; ++i) {
        int value = valueOf(text[i]);
        if (value < 0) return std::nullopt;
        group = group << 6 | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    // The bits left over must be the zero filling of the last group.
    if ((group & ((1u << bits) - 1)) != 0) return std::nullopt;
    return out;
}
