// The search of the saved analyses' list: pure rules, no database.
#include <string_view>

#include "analyses/store.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void appendLower(std::string& out, std::string_view text) {
    for (char c : text) out += lower(c);
}

}  // namespace

// The fields are joined by a space, which no search word holds, so a word never spans two fields.
std::string SEARCHTEXT(const AnalysisSummary& analysis) {
    std::string text;
    text.reserve(analysis.customer.size() + analysis.salesRep.size() + analysis.scenario.size() + 2);
    appendLower(text, analysis.customer);
    text += ' ';
    appendLower(text, analysis.salesRep);
    text += ' ';
    appendLower(text, analysis.scenario);
    return text;
}

bool MATCHESSEARCH(const std::string& searchText, const std::string& search) {
    std::string word;
    for (size_t at = 0; at <= search.size(); ++at) {
        if (at < search.size() && search[at] != ' ') {
            word += lower(search[at]);
            continue;
        }
        if (!word.empty() && searchText.find(word) == std::string::npos) return false;
        word.clear();
    }
    return true;
}
