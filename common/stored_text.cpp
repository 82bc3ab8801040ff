#include "common/stored_text.h"

#include "base/text.h"

std::string TOSTOREDTEXT(const std::string& text) {
    bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    // A tab at either end would be lost as a blank around the value: quoting keeps it.
    bool tabbed = !text.empty() && (text.front() == '\t' || text.back() == '\t');
    if (text.find_first_of("\r\n") == std::string::npos && !quoted && !tabbed) return text;
    std::string stored = "\"";
    for (char ch : text) {
        switch (ch) {
        case '\n': stored += "\\n"; break;
        case '\r': stored += "\\r"; break;
        case '\\': stored += "\\\\"; break;
        case '"': stored += "\\\""; break;
        default: stored += ch; break;
        }
    }
    return stored + "\"";
}

std::string FROMSTOREDTEXT(const std::string& stored) {
    if (stored.size() < 2 || stored.front() != '"' || stored.back() != '"') return stored;
    std::string text;
    for (size_t i = 1; i + 1 < stored.size(); ++i) {
        char ch = stored[i];
        if (ch == '\\' && i + 2 < stored.size()) {
            char next = stored[++i];
            text += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            text += ch;
        }
    }
    return text;
}

// The cut is found in one pass over the characters that fit, whatever the comment's length.
std::string STOREDCOMMENT(const std::string& comment) {
    constexpr size_t kRoom = 999;
    std::string stored = TOSTOREDTEXT(comment);
    if (stored.size() <= kRoom || stored.front() != '"') return stored;
    size_t used = 2;  // the two quotes
    size_t end = 0;
    while (end < comment.size()) {
        const size_t next = UTF8NEXT(comment, end);
        size_t escaped = 0;
        for (size_t i = end; i < next; ++i) {
            const char c = comment[i];
            escaped += c == '\n' || c == '\r' || c == '\\' || c == '"' ? 2 : 1;
        }
        if (used + escaped > kRoom) break;
        used += escaped;
        end = next;
    }
    return TOSTOREDTEXT(comment.substr(0, end));
}
