// The search of the saved analyses: the pieces the store's search index holds and the query
// that asks it. Pure rules, no database.
#include "analyses/search.h"

#include <set>
#include <string_view>

#include "base/text.h"

namespace {

// Words of three characters or more are found by their three-character pieces.
constexpr size_t kThree = 3;

// Where each character of the text starts, and where the text ends.
std::vector<size_t> starts(std::string_view text) {
    std::vector<size_t> at;
    for (size_t next = 0; next < text.size(); next = UTF8NEXT(text, next)) at.push_back(next);
    at.push_back(text.size());
    return at;
}

// The pieces of `length` characters of the text, in the order they stand.
std::vector<std::string> pieces(std::string_view text, size_t length) {
    const std::vector<size_t> at = starts(text);
    std::vector<std::string> out;
    for (size_t n = 0; n + length < at.size(); ++n) out.push_back(HEXTEXT(text.substr(at[n], at[n + length] - at[n])));
    return out;
}

void append(std::string& out, const std::string& piece) { out += (out.empty() ? "" : " ") + piece; }

}  // namespace

// An "x", which no piece is, stands between two texts' pieces, so that no phrase spans them.
SearchPieces SEARCHPIECES(const std::vector<std::string>& texts) {
    SearchPieces index;
    std::set<std::string> shorter;
    for (const std::string& text : texts) {
        const std::string lower = ASCIILOWER(text);
        for (const std::string& piece : pieces(lower, kThree)) append(index.threes, piece);
        append(index.threes, "x");
        for (size_t length = 1; length < kThree; ++length)
            for (std::string& piece : pieces(lower, length)) shorter.insert(std::move(piece));
    }
    for (const std::string& piece : shorter) append(index.shorter, piece);
    return index;
}

std::string SEARCHQUERY(const std::string& search) {
    std::string query;
    const std::string lower = ASCIILOWER(search);
    for (size_t at = 0; at < lower.size();) {
        const size_t end = std::min(lower.find(' ', at), lower.size());
        const std::string_view word = std::string_view(lower).substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        const std::vector<std::string> threes = pieces(word, kThree);
        std::string phrase;
        for (const std::string& piece : threes.empty() ? std::vector<std::string>{HEXTEXT(word)} : threes)
            append(phrase, piece);
        query += (query.empty() ? "" : " AND ") + std::string(threes.empty() ? "shorter" : "threes") + " : \"" +
                 phrase + "\"";
    }
    return query;
}
