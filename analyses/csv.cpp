#include "analyses/csv.h"

#include <string_view>

namespace {

// True for a text a spreadsheet would run as a formula; a signed figure such as "-5.0" is none.
bool FORMULALIKE(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) return false;
    const bool signedFigure = (text.front() == '-' || text.front() == '+') && text.size() > 1 &&
                              text.find_first_not_of("0123456789.,$% ", 1) == std::string_view::npos;
    return !signedFigure;
}

// A field quoted when it holds a separator, a quote or a line break, its quotes doubled; one that
// would run as a formula starts with an apostrophe.
std::string FIELD(std::string text) {
    if (FORMULALIKE(text)) text.insert(0, "'");
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The ticked stations with their shares: "KBEST 2.000%; Z-100 0.816%".
std::string SHARES(const Analysis& analysis) {
    std::string shares;
    for (const SavedStation& station : analysis.stations) {
        if (!station.ticked) continue;
        shares += (shares.empty() ? "" : "; ") + station.name + " " + (station.share.empty() ? "-" : station.share + "%");
    }
    return shares;
}

}  // namespace

// The fields in the table's order, the comments last after the stations' shares.
std::string ANALYSESCSV(const std::vector<Analysis>& analyses) {
    std::string csv = "\xEF\xBB\xBF";
    for (const AnalysisField& field : kAnalysisFields)
        if (field.member != &Analysis::comments) csv += std::string(field.caption) + ",";
    csv += "Station Shares,Comments\r\n";
    for (const Analysis& a : analyses) {
        for (const AnalysisField& field : kAnalysisFields)
            if (field.member != &Analysis::comments) csv += FIELD(a.*field.member) + ",";
        csv += FIELD(SHARES(a)) + "," + FIELD(a.comments) + "\r\n";
    }
    return csv;
}
