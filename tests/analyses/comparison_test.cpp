// The comparison's rows and the CSV export: what a rep sees and what a spreadsheet reads.
#include <gtest/gtest.h>

#include "analyses/comparison.h"
#include "analyses/csv.h"

namespace {

Analysis package(const std::string& scenario, const std::string& budget, std::vector<SavedStation> stations) {
    Analysis a;
    a.customer = "Main Street Motors";
    a.salesRep = "Pat Kelly";
    a.scenario = scenario;
    a.budget = budget;
    a.roi = "7.0";
    a.responses = "107.0";
    a.stations = std::move(stations);
    return a;
}

TEST(Comparison, MarksOnlyInputsThatDifferAndListsEveryTickedStation) {
    const std::vector<Analysis> analyses = {
        package("Light", "$1,000.00", {{"KBEST", "10000", true, "1.070"}, {"WXYZ", "50000", false, "0.214"}}),
        package("Heavy", "$3,000.00", {{"Z-100", "24500", true, "1.310"}, {"KBEST", "10000", false, "3.210"}})};
    std::vector<std::string> differing, stations;
    for (const ComparisonRow& row : COMPARISONROWS(analyses)) {
        if (row.differs) differing.push_back(row.caption);
        if (row.station) stations.push_back(row.caption + "=" + row.cells[0] + "|" + row.cells[1]);
    }
    // The scenario differs too, but it names the package and is no input.
    EXPECT_EQ(differing, std::vector<std::string>{"Advertising Investment"});
    EXPECT_EQ(stations, (std::vector<std::string>{"KBEST share of audience=1.070%|-", "Z-100 share of audience=-|1.310%"}));
}

// The page and its file name name every customer once.
TEST(Comparison, NamesEveryCustomerOnce) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"Acme"}, "Acme"},
        {{"Acme", "Acme"}, "Acme"},
        {{"Acme", "Elm Cafe"}, "Acme and Elm Cafe"},
        {{"Acme", "Elm Cafe", "Acme", "Bo's"}, "Acme, Elm Cafe and Bo's"},
        {{"A", "B", "C", "D"}, "A, B, C and D"}};
    for (const auto& [customers, named] : cases) {
        std::vector<Analysis> analyses;
        for (const char* customer : customers) {
            analyses.push_back(package("Light", "$1.00", {}));
            analyses.back().customer = customer;
        }
        EXPECT_EQ(COMPARISONCUSTOMERS(analyses), named);
    }
}

TEST(Csv, QuotesWhatNeedsItAndKeepsFormulasFromRunning) {
    Analysis a = package("Light, \"A\"", "$1,000.00", {{"KBEST", "10000", true, "1.070"}});
    a.salesRep = "=HYPERLINK(\"x\")";
    a.roi = "-5.0";
    a.comments = "Two\nlines";
    const std::string csv = ANALYSESCSV({a});
    const std::string row = csv.substr(csv.find("\r\n") + 2);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF" "Customer,", 0), 0u);
    EXPECT_EQ(row,
              "Main Street Motors,\"'=HYPERLINK(\"\"x\"\")\",\"Light, \"\"A\"\"\",,\"$1,000.00\",-5.0,,,,,,,107.0,"
              "KBEST 1.070%,\"Two\nlines\"\r\n");
}

}  // namespace
