#include "platform/command_line.h"

namespace {

void appendQuoted(std::string& line, const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
        line += word;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each is doubled, and the quote escaped.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    // The closing quote follows, so the backslashes before it are doubled too.
    line.append(2 * backslashes, '\\');
    line += '"';
}

}  // namespace

std::string COMMANDLINE(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        appendQuoted(line, word);
    }
    return line;
}
