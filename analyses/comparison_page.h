// The one-page comparison of two to four analyses, through the same preview as the analysis page.
#pragma once

#include <vector>

#include "analyses/store.h"

void PRINTCOMPARISON(const std::vector<Analysis>& analyses);
