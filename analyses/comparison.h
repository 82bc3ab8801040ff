// What the comparison of two to four analyses shows, row by row: the same on screen and on paper.
#pragma once

#include <string>
#include <vector>

#include "common/analysis.h"

struct ComparisonRow {
    std::string caption;
    std::vector<std::string> cells;  // one per analysis
    bool differs = false;            // an input whose analyses differ
    bool station = false;            // a station's share
};

// The customer and scenario, the inputs, the four results, then each station's share (a station
// not ticked in an analysis shows "-").
std::vector<ComparisonRow> COMPARISONROWS(const std::vector<Analysis>& analyses);
// Every customer of the analyses once, in their order: "A", "A and B", "A, B and C".
std::string COMPARISONCUSTOMERS(const std::vector<Analysis>& analyses);
