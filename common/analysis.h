// One analysis as the calculator shows it: the inputs, the comments, the stations with their
// ticks and shares, and every figure as its text. The calculator owns the value it shows;
// saving, opening, the comparison and the CSV take it from here, and every list of its fields
// comes from the one table below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A station as it stood when the analysis was saved, with its share as shown.
struct SavedStation {
    std::string name, cume;
    bool ticked = false;
    std::string share;
};

struct Analysis {
    int64_t id = 0;  // 0 until saved
    std::string customer, salesRep, scenario;
    std::string saved;  // local time of the save, "YYYY-MM-DD HH:MM"
    std::string budget, roi, margin, averageSale, closingRatio, comments;
    std::string netReturn, grossReturn, sales, responses;
    std::vector<SavedStation> stations;
};

// A text field of an analysis: its member, the store's column for it, its caption in the
// comparison and the CSV, and whether the user types it (a changed input is what the comparison
// marks, and what opening another analysis would lose).
struct AnalysisField {
    std::string Analysis::*member;
    const char* column;
    const char* caption;
    bool typed;
};

// In the order the comparison and the CSV show them; the comments, last, are in the CSV only.
inline constexpr AnalysisField kAnalysisFields[] = {
    {&Analysis::customer, "customer", "Customer", true},
    {&Analysis::salesRep, "sales_rep", "Salesrep/Station", true},
    {&Analysis::scenario, "scenario", "Scenario", false},
    {&Analysis::saved, "saved", "Saved", false},
    {&Analysis::budget, "budget", "Advertising Investment", true},
    {&Analysis::roi, "roi", "Return on Investment %", true},
    {&Analysis::margin, "margin", "Profit Margin %", true},
    {&Analysis::averageSale, "average_sale", "Average Sale", true},
    {&Analysis::closingRatio, "closing_ratio", "Closing Ratio %", true},
    {&Analysis::netReturn, "net_return", "Net Return on Investment", false},
    {&Analysis::grossReturn, "gross_return", "Gross Return on Investment", false},
    {&Analysis::sales, "sales", "Number of Sales Needed", false},
    {&Analysis::responses, "responses", "Total Responses Needed", false},
    {&Analysis::comments, "comments", "Comments", true},
};
