// The small formats stored inside a help file, read from bytes alone.
#include "platform/help_formats.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"

namespace help {
namespace {

// How deep the lists of a contents or index file may nest; the tree is walked recursively.
constexpr size_t kDeepestList = 64;

uint32_t readLe32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

uint64_t readLe64(std::string_view bytes, size_t at) {
    return uint64_t(readLe32(bytes, at)) | uint64_t(readLe32(bytes, at + 4)) << 32;
}

uint16_t readLe16(std::string_view bytes, size_t at) {
    return uint16_t(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The text up to the first NUL byte.
std::string cString(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

// Attribute values may carry character references ("&amp;", "&#8212;"); an unknown one stays as written.
std::string decodeEntities(std::string_view text) {
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos || end - i > 10) {
            out += text[i];
            continue;
        }
        std::string_view name = text.substr(i + 1, end - i - 1);
        bool known = false;
        if (name.size() > 1 && name[0] == '#') {
            bool hex = name[1] == 'x' || name[1] == 'X';
            std::string digits(name.substr(hex ? 2 : 1));
            if (!digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                                       std::string::npos) {
                APPENDUTF8(out, static_cast<char32_t>(std::stoul(digits, nullptr, hex ? 16 : 10)));
                known = true;
            }
        }
        for (const auto& [entity, character] : named) {
            if (lower(name) == entity) {
                out += character;
                known = true;
            }
        }
        if (known) {
            i = end;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Tag {
    std::string name;  // lower case
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case

    std::string attribute(std::string_view wanted) const {
        for (const auto& [name, value] : attributes)
            if (name == wanted) return value;
        return {};
    }
};

// Reads the tag that starts at pos (just after its "<") and moves pos past its ">".
Tag readTag(std::string_view html, size_t& pos) {
    Tag tag;
    auto skipSpace = [&] {
        while (pos < html.size() && std::isspace(static_cast<unsigned char>(html[pos]))) ++pos;
    };
    auto readName = [&] {
        size_t start = pos;
        while (pos < html.size() && !std::isspace(static_cast<unsigned char>(html[pos])) &&
               html[pos] != '>' && html[pos] != '=' && html[pos] != '/')
            ++pos;
        return lower(html.substr(start, pos - start));
    };
    if (pos < html.size() && html[pos] == '/') {
        tag.closing = true;
        ++pos;
    }
    tag.name = readName();
    while (true) {
        skipSpace();
        if (pos >= html.size()) return tag;
        if (html[pos] == '>') {
            ++pos;
            return tag;
        }
        if (html[pos] == '/') {
            ++pos;
            continue;
        }
        std::string name = readName();
        std::string value;
        skipSpace();
        if (pos < html.size() && html[pos] == '=') {
            ++pos;
            skipSpace();
            if (pos < html.size() && (html[pos] == '"' || html[pos] == '\'')) {
                char quote = html[pos++];
                size_t end = std::min(html.find(quote, pos), html.size());
                value = decodeEntities(html.substr(pos, end - pos));
                pos = std::min(end + 1, html.size());
            } else {
                size_t start = pos;
                while (pos < html.size() && !std::isspace(static_cast<unsigned char>(html[pos])) &&
                       html[pos] != '>')
                    ++pos;
                value = decodeEntities(html.substr(start, pos - start));
            }
        }
        if (!name.empty()) tag.attributes.emplace_back(std::move(name), std::move(value));
    }
}

}  // namespace

std::string normalizePath(std::string_view path) {
    std::string result(path);
    size_t archive = result.find("::");
    if (archive != std::string::npos) {
        result.erase(0, archive + 2);
    } else if (size_t colon = result.find(':');
               colon != std::string::npos && colon > 1 && colon < result.find_first_of("/\\")) {
        return result;  // a web address or another scheme, not a file of the help (a drive letter is)
    }
    std::replace(result.begin(), result.end(), '\\', '/');
    if (!result.empty() && result[0] != '/') result = "/" + result;
    return result;
}

std::vector<ContentsEntry> parseSitemap(std::string_view html) {
    std::vector<ContentsEntry> root;
    // The open lists, innermost last. A list only ever grows while it is innermost, so the
    // pointers into the entries of the lists around it stay valid.
    std::vector<std::vector<ContentsEntry>*> open;
    bool inEntry = false;
    ContentsEntry entry;
    bool haveName = false;
    bool haveLocal = false;
    size_t pos = 0;
    while ((pos = html.find('<', pos)) != std::string_view::npos) {
        ++pos;
        if (html.substr(pos, 3) == "!--") {
            size_t end = html.find("-->", pos);
            if (end == std::string_view::npos) break;
            pos = end + 3;
            continue;
        }
        Tag tag = readTag(html, pos);
        std::vector<ContentsEntry>& current = open.empty() ? root : *open.back();
        if (tag.name == "ul" && !tag.closing) {
            // A list right after an entry holds that entry's children; lists nested deeper than
            // any contents need add their entries to the deepest list kept.
            if (open.empty()) {
                open.push_back(&root);
            } else if (open.size() >= kDeepestList) {
                open.push_back(open.back());
            } else {
                open.push_back(current.empty() ? &current : &current.back().children);
            }
        } else if (tag.name == "ul") {
            if (!open.empty()) open.pop_back();
        } else if (tag.name == "object" && !tag.closing) {
            inEntry = lower(tag.attribute("type")) == "text/sitemap";
            entry = {};
            haveName = haveLocal = false;
        } else if (tag.name == "param" && inEntry) {
            std::string name = lower(tag.attribute("name"));
            if (name == "name" && !haveName) {
                entry.name = tag.attribute("value");
                haveName = true;
            } else if (name == "local" && !haveLocal) {
                entry.file = normalizePath(tag.attribute("value"));
                haveLocal = true;
            }
        } else if (tag.name == "object" && inEntry) {
            inEntry = false;
            if (haveName || haveLocal) current.push_back(std::move(entry));
        }
    }
    return root;
}

std::optional<std::vector<ContextEntry>> parseContextMap(std::string_view ivb, std::string_view strings) {
    if (ivb.size() < 4) return std::nullopt;
    uint32_t bytes = readLe32(ivb, 0);
    if (bytes % 8 != 0 || bytes > ivb.size() - 4) return std::nullopt;
    std::vector<ContextEntry> entries;
    for (size_t at = 4; at < 4 + size_t(bytes); at += 8) {
        uint32_t offset = readLe32(ivb, at + 4);
        if (offset >= strings.size()) return std::nullopt;
        size_t end = strings.find('\0', offset);
        if (end == std::string_view::npos) return std::nullopt;
        entries.push_back({readLe32(ivb, at), std::string(strings.substr(offset, end - offset))});
    }
    return entries;
}

SystemInfo parseSystem(std::string_view system) {
    SystemInfo info;
    // A version number, then records of a 16-bit code, a 16-bit length and that many bytes.
    for (size_t pos = 4; pos + 4 <= system.size();) {
        uint16_t code = readLe16(system, pos);
        uint16_t length = readLe16(system, pos + 2);
        pos += 4;
        if (length > system.size() - pos) break;
        std::string text = cString(system.substr(pos, length));
        pos += length;
        if (code == 0) info.contentsFile = text;
        if (code == 1) info.indexFile = text;
        if (code == 2) info.defaultTopic = text;
        if (code == 3) info.title = text;
    }
    return info;
}

std::string resolveTarget(std::string_view target, const std::vector<std::string>& files) {
    std::string path = normalizePath(target);
    size_t hash = path.find('#');
    std::string fragment = hash == std::string::npos ? "" : path.substr(hash);
    std::string wanted = lower(path.substr(0, hash));
    std::string best;
    // Every file path starts with "/", so a match always ends the target at a folder boundary.
    for (const std::string& file : files)
        if (file.size() > best.size() && wanted.ends_with(lower(file))) best = file;
    return best.empty() ? best : best + fragment;
}

std::optional<uint64_t> declaredFileSize(std::string_view head) {
    // The header points at a section that starts with the number 0x1FE and holds the file size at
    // its ninth byte.
    if (head.size() < 0x60 || head.substr(0, 4) != "ITSF") return std::nullopt;
    uint64_t section = readLe64(head, 0x38);
    if (section > head.size() - 16 || readLe32(head, size_t(section)) != 0x1FE) return std::nullopt;
    return readLe64(head, size_t(section) + 8);
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    return lower(text).ends_with(lower(tail));
}

}  // namespace help
