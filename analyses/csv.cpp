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

std::string ANALYSESCSV(const std::vector<Analysis>& analyses) {
    std::string csv =
        "\xEF\xBB\xBF"
        "Customer,Salesrep/Station,Scenario,Saved,Advertising Investment,Return on Investment %,"
        "Profit Margin %,Average Sale,Closing Ratio %,Net Return on Investment,Gross Return on Investment,"
        "Number of Sales Needed,Total Responses Needed,Station Shares,Comments\r\n";
    for (const Analysis& a : analyses) {
        for (const std::string* text : {&a.customer, &a.salesRep, &a.scenario, &a.saved, &a.budget, &a.roi, &a.margin,
                                         &a.averageSale, &a.closingRatio, &a.netReturn, &a.grossReturn, &a.sales,
                                         &a.responses})
            csv += FIELD(*text) + ",";
        csv += FIELD(SHARES(a)) + "," + FIELD(a.comments) + "\r\n";
    }
    return csv;
}
