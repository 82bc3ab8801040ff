// Saved analyses as a CSV file a spreadsheet opens: UTF-8, one row each, the figures as shown.
#pragma once

#include <string>
#include <vector>

#include "common/analysis.h"

std::string ANALYSESCSV(const std::vector<Analysis>& analyses);
