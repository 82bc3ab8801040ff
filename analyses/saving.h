// Saving the calculator's analysis and putting a saved one back into the calculator.
#pragma once

#include <string>

#include "analyses/store.h"

// The analysis the calculator shows now; its scenario is left empty.
Analysis CURRENTANALYSIS();
// The scenario name offered first: the budget and the return, as "$1,000.00 at 7.0%".
std::string DEFAULTSCENARIO(const Analysis& analysis);
// Saving from over parent: asks for the scenario's name, asks before replacing one of that name,
// saves; true once saved.
bool SAVEANALYSISOVER(const std::string& parent);
// "Save &Analysis" in the calculator's menu.
void SAVEANALYSISMENU();
// Notes what the calculator shows as saved, opened or cleared; SHOWNCHANGED tells whether its
// inputs or comments have changed since.
void KEEPSHOWN();
bool SHOWNCHANGED();
// Puts the inputs, comments and ticks of a saved analysis into the calculator; a saved station
// that is no longer in the station list is named in a notice.
void SHOWANALYSIS(const Analysis& analysis);
// Opens the store on its first use, showing over parent what the user must know of it, and what
// the check of the whole file has found since, if anything.
void STOREREADY(const std::string& parent);
// Closes the store, which the next use opens again.
void CLOSEANALYSES();
