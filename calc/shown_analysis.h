// The analysis the calculator shows, the one value through which saving, opening and the saved
// analyses see the calculator.
#pragma once

#include "common/analysis.h"

// What the calculator shows now; its scenario is left empty.
Analysis SHOWNANALYSIS();
// The same with the scenario name offered first when it is saved: the budget and the return, as
// "$1,000.00 at 7.0%".
Analysis TOSAVE();
// Puts the inputs, comments and ticks of a saved analysis into the calculator; a saved station
// that is no longer in the station list is named in a notice.
void SHOWANALYSIS(const Analysis& analysis);
// Notes what the calculator shows as saved, opened or cleared; SHOWNCHANGED tells whether its
// inputs or comments have changed since.
void KEEPSHOWN();
bool SHOWNCHANGED();
// "Save &Analysis" in the calculator's menu: saves what the calculator shows, and says so.
void SAVESHOWN();
