#include "update/version_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <vector>

#include "base/number_reader.h"
#include "base/text.h"
#include "update/http_rules.h"

namespace {

std::vector<std::string_view> splitAt(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return parts;
        text.remove_prefix(end + separator.size());
    }
}

bool isLabelCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

}  // namespace

VersionFile READVERSIONFILE(std::string_view text) {
    VersionFile file;
    std::vector<std::string_view> lines = splitAt(text, "\r\n");
    std::vector<std::string_view> first = splitAt(lines.front(), " ");
    if (first.size() > 0) file.host = first[0];
    if (first.size() > 1) file.path = first[1];
    if (first.size() > 2) file.fileName = first[2];
    file.version = lines.back();
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.starts_with("sha256 ")) {
            std::string_view digest = line.substr(7);
            if (digest.size() == 64 && digest.find_first_not_of("0123456789abcdefABCDEF") == digest.npos)
                file.sha256 = ASCIILOWER(digest);
        } else if (line.starts_with("size ")) {
            std::optional<int64_t> size = CONTENTLENGTH(line.substr(5));
            if (size && *size <= kMaxBody) file.size = size;
        } else if (line.starts_with("signature ")) {
            file.signature = std::string(line.substr(10));
            ++file.signatureLines;
        }
    }
    return file;
}

std::string SIGNEDTEXT(std::string_view text) {
    std::string signedText;
    std::vector<std::string_view> lines = splitAt(text, "\r\n");
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (!last && i > 0 && lines[i].starts_with("signature ")) continue;
        signedText += lines[i];
        if (!last) signedText += "\r\n";
    }
    return signedText;
}

int64_t VERSIONNUMBER(std::string_view version) {
    std::string digits(version);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const long double number = std::nearbyint(READNUMBER(digits));
    if (!(std::fabs(number) < std::ldexp(1.0L, 63))) return 0;
    return static_cast<int64_t>(number);
}

std::optional<std::array<uint32_t, 4>> VERSIONPARTS(std::string_view version) {
    std::array<uint32_t, 4> parts{};
    size_t part = 0;
    size_t digits = 0;
    for (char c : version) {
        if (c == '.' && digits > 0 && part < 3) {
            ++part;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 9) {
            parts[part] = parts[part] * 10 + static_cast<uint32_t>(c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != 3 || digits == 0) return std::nullopt;
    return parts;
}

bool NEWERVERSION(std::string_view candidate, std::string_view running) {
    const auto newer = VERSIONPARTS(candidate);
    const auto current = VERSIONPARTS(running);
    return newer && (!current || *newer > *current);
}

int32_t MAJORNUMBER(std::string_view version) {
    const auto parts = VERSIONPARTS(version);
    return parts ? static_cast<int32_t>((*parts)[0]) : 0;
}

std::string SHOWNVERSION(std::string_view version) {
    std::string clean;
    for (char c : version)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f && c != '{' && c != '}' && c != '|')
            clean += c;
    // Forty characters, none cut in two.
    return std::string(UTF8FIRST(clean, 40));
}

bool PLAINFILENAME(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.front() == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
}

bool DOWNLOADHOST(std::string_view host) {
    std::string name;
    uint16_t port = 0;
    if (!SAFEREQUESTTEXT(host) || !SPLITHOST(host, name, port)) return false;
    if (host.front() == '[')
        return std::all_of(name.begin(), name.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
        });
    if (name.size() > 253) return false;
    for (std::string_view label : splitAt(name, "."))
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-' ||
            !std::all_of(label.begin(), label.end(), isLabelCharacter))
            return false;
    return true;
}

bool DOWNLOADPATH(std::string_view path) {
    return !path.empty() && path.front() == '/' && SAFEREQUESTTEXT(path);
}
