// Both procedures walk the content once, line by line, so that even a huge or damaged file costs
// time in proportion to its size.
#include "platform/profile_text.h"

#include <algorithm>

#include "base/text.h"

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr size_t RESULT_LIMIT = 3999;

// One line: its text runs from begin to end, without the LF and a CR just before it (or at the
// very end of the content); the next line starts at next.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

enum class Kind { Other, Section, Key };

// What a line holds: a section header with its name, a key line with its name and where its
// value starts (after "=" and the blanks behind it), or anything else.
struct Entry {
    Kind kind = Kind::Other;
    std::string_view name;
    size_t afterEquals = 0;
    size_t valueBegin = 0;
    std::string_view value;
};

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::string_view trimmed(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && isBlank(text[first])) ++first;
    size_t last = text.size();
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

char lowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string_view withoutMark(std::string_view content) {
    return content.starts_with(BYTE_ORDER_MARK) ? content.substr(BYTE_ORDER_MARK.size()) : content;
}

Line lineAt(std::string_view text, size_t begin) {
    size_t lf = text.find('\n', begin);
    size_t end = lf == std::string_view::npos ? text.size() : lf;
    size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
    if (end > begin && text[end - 1] == '\r') --end;
    return {begin, end, next};
}

Entry parse(std::string_view line) {
    Entry entry;
    std::string_view text = trimmed(line);
    if (text.empty() || text.front() == ';' || text.front() == '#') return entry;
    if (text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos) return entry;
        entry.kind = Kind::Section;
        entry.name = trimmed(text.substr(1, close - 1));
        return entry;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return entry;
    entry.kind = Kind::Key;
    entry.name = trimmed(line.substr(0, equals));
    entry.afterEquals = equals + 1;
    entry.valueBegin = entry.afterEquals;
    while (entry.valueBegin < line.size() && isBlank(line[entry.valueBegin])) ++entry.valueBegin;
    entry.value = trimmed(line.substr(entry.valueBegin));
    return entry;
}

// Cut to the result area without splitting a character.
std::string limited(std::string_view text) { return std::string(UTF8HEAD(text, RESULT_LIMIT)); }

std::string oneLine(std::string_view text) {
    std::string line(text);
    std::ranges::replace_if(line, [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    return line;
}

// New lines follow the file's own convention, read from its first line.
std::string_view lineEnding(std::string_view text) {
    size_t lf = text.find('\n');
    return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

// What must follow the last line before another line can be added after it.
std::string_view closingOf(std::string_view text, std::string_view ending) {
    if (text.empty() || text.back() == '\n') return "";
    return text.back() == '\r' ? "\n" : ending;
}

bool endsWithBlankLine(std::string_view text) {
    if (text.ends_with('\n')) text.remove_suffix(1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    size_t lf = text.rfind('\n');
    return trimmed(lf == std::string_view::npos ? text : text.substr(lf + 1)).empty();
}

}  // namespace

std::string PROFILE_READ(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback) {
    std::string_view text = withoutMark(content);
    // Names are looked up as a write stores them, line breaks as spaces.
    const std::string name = oneLine(section), keyName = oneLine(key);
    section = trimmed(name);
    key = trimmed(keyName);
    bool inside = false;
    for (size_t pos = 0; pos < text.size();) {
        Line line = lineAt(text, pos);
        pos = line.next;
        Entry entry = parse(text.substr(line.begin, line.end - line.begin));
        if (entry.kind == Kind::Section) {
            // Only the first section of the name counts: leaving it ends the search.
            if (inside) break;
            inside = sameName(entry.name, section);
        } else if (inside && entry.kind == Kind::Key && sameName(entry.name, key)) {
            return limited(entry.value);
        }
    }
    return limited(fallback);
}

std::string PROFILE_WRITE(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view value) {
    const size_t offset = content.size() - withoutMark(content).size();
    std::string_view text = content.substr(offset);
    // Blanks at a value's ends would be taken for the spacing around "=" and dropped on reading:
    // the file holds the value as it will be read back.
    const std::string name = oneLine(section), keyName = oneLine(key);
    const std::string newValue(trimmed(oneLine(value)));
    std::string_view wantedSection = trimmed(name), wantedKey = trimmed(keyName);
    const std::string_view ending = lineEnding(text);

    bool inside = false;
    Line lastFilled{};
    for (size_t pos = 0; pos < text.size();) {
        Line line = lineAt(text, pos);
        pos = line.next;
        std::string_view lineText = text.substr(line.begin, line.end - line.begin);
        Entry entry = parse(lineText);
        if (entry.kind == Kind::Section) {
            if (inside) break;
            inside = sameName(entry.name, wantedSection);
        } else if (inside && entry.kind == Kind::Key && sameName(entry.name, wantedKey)) {
            // An empty value also drops the blanks that followed "=".
            size_t keep = offset + line.begin + (newValue.empty() ? entry.afterEquals : entry.valueBegin);
            std::string result(content.substr(0, keep));
            result += newValue;
            result += content.substr(offset + line.end);
            return result;
        }
        if (inside && !trimmed(lineText).empty()) lastFilled = line;
    }

    const std::string newLine = std::string(wantedKey) + "=" + newValue + std::string(ending);
    std::string result;
    result.reserve(content.size() + newLine.size() + wantedSection.size() + 8);
    if (inside) {
        // The key joins its section right after the section's last non-blank line, before the
        // blank lines that set the next section apart.
        size_t at = offset + lastFilled.next;
        result += content.substr(0, at);
        if (lastFilled.next == text.size()) result += closingOf(text, ending);
        result += newLine;
        result += content.substr(at);
        return result;
    }
    result += content;
    if (!text.empty()) {
        result += closingOf(text, ending);
        if (!endsWithBlankLine(text)) result += ending;
    }
    result += "[";
    result += wantedSection;
    result += "]";
    result += ending;
    result += newLine;
    return result;
}
