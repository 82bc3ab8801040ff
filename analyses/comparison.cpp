#include "analyses/comparison.h"

#include <algorithm>

std::vector<ComparisonRow> COMPARISONROWS(const std::vector<Analysis>& analyses) {
    std::vector<ComparisonRow> rows;
    for (const AnalysisField& f : kAnalysisFields) {
        if (f.member == &Analysis::comments) continue;
        ComparisonRow row{f.caption, {}, false, false};
        for (const Analysis& a : analyses) row.cells.push_back(a.*f.member);
        row.differs = f.typed && std::ranges::adjacent_find(row.cells, std::not_equal_to<>()) != row.cells.end();
        rows.push_back(std::move(row));
    }
    // Every station ticked in any of the analyses, in the order they first appear.
    std::vector<std::string> stations;
    for (const Analysis& a : analyses)
        for (const SavedStation& s : a.stations)
            if (s.ticked && std::ranges::find(stations, s.name) == stations.end()) stations.push_back(s.name);
    for (const std::string& name : stations) {
        ComparisonRow row{name + " share of audience", {}, false, true};
        for (const Analysis& a : analyses) {
            const auto s = std::ranges::find_if(a.stations, [&](const SavedStation& x) { return x.name == name; });
            row.cells.push_back(s != a.stations.end() && s->ticked && !s->share.empty() ? s->share + "%" : "-");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string COMPARISONCUSTOMERS(const std::vector<Analysis>& analyses) {
    std::vector<std::string> customers;
    for (const Analysis& a : analyses)
        if (std::ranges::find(customers, a.customer) == customers.end()) customers.push_back(a.customer);
    std::string named;
    for (size_t n = 0; n < customers.size(); ++n) {
        if (n > 0) named += n + 1 == customers.size() ? " and " : ", ";
        named += customers[n];
    }
    return named;
}
