// The settings file's rules on any content: a read never fails; a write changes only its key's
// line or adds it (and its section), reads back as written and changes nothing when repeated;
// a remembered comment comes back as it was stored.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/stored_text.h"
#include "platform/profile_text.h"
#include "tests/fuzz/require.h"

namespace {

constexpr std::string_view kMark = "\xEF\xBB\xBF";

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::string readable(std::string_view text) {
    std::string line(text);
    for (char& ch : line)
        if (ch == '\r' || ch == '\n') ch = ' ';
    size_t first = 0, last = line.size();
    while (first < last && isBlank(line[first])) ++first;
    while (last > first && isBlank(line[last - 1])) --last;
    return line.substr(first, last - first);
}

// The lines as the file's rules see them: split at LF, a CR before it or at the very end dropped.
std::vector<std::string_view> linesOf(std::string_view text) {
    if (text.starts_with(kMark)) text.remove_prefix(kMark.size());
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t lf = text.find('\n', pos);
        size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(pos, end - pos);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    return lines;
}

// Names that a file can hold: a section without "]", a key without "=" that no comment or section
// mark begins.
bool writableNames(std::string_view section, std::string_view key) {
    const std::string name = readable(section), keyName = readable(key);
    return !name.empty() && name.find(']') == std::string::npos && !keyName.empty() &&
           keyName.find('=') == std::string::npos && keyName[0] != ';' && keyName[0] != '#' && keyName[0] != '[';
}

void checkWrite(const std::string& content, const std::string& section, const std::string& key,
                const std::string& value) {
    const std::string written = PROFILE_WRITE(content, section, key, value);
    REQUIRE(written.starts_with(kMark) == content.starts_with(kMark));
    if (!writableNames(section, key)) return;

    const std::string expected = readable(value);
    const std::string read = PROFILE_READ(written, section, key, "\x01");
    REQUIRE(expected.starts_with(read) && (read.size() == expected.size() || read.size() >= 3996));
    REQUIRE(PROFILE_WRITE(written, section, key, value) == written);

    // Every other line stays: one line replaced, or up to three (a blank, the section, the key) added.
    const auto before = linesOf(content), after = linesOf(written);
    size_t same = 0;
    while (same < before.size() && same < after.size() && before[same] == after[same]) ++same;
    size_t tail = 0;
    while (tail < before.size() - same && tail < after.size() - same &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const size_t removed = before.size() - same - tail, added = after.size() - same - tail;
    REQUIRE((removed == 0 && added <= 3) || (removed == 1 && added == 1));
}

void checkComment(const std::string& comment) {
    REQUIRE(FROMSTOREDTEXT(TOSTOREDTEXT(comment)) == comment);
    const std::string stored = STOREDCOMMENT(comment);
    if (TOSTOREDTEXT(comment) != comment) REQUIRE(stored.size() <= 999);
    REQUIRE(comment.starts_with(FROMSTOREDTEXT(stored)));
    REQUIRE(stored.find_first_of("\r\n") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(8000);
    const std::string content = input.ConsumeRemainingBytesAsString();

    REQUIRE(PROFILE_READ(content, section, key, "").size() <= 3999);
    checkWrite(content, section, key, value);
    checkComment(value);
    return 0;
}
