// Saving an analysis into the store, and the store's opening and closing around it.
#pragma once

#include <optional>
#include <string>

#include "analyses/store.h"

// Saving from over parent: asks for the scenario's name (offering the analysis' own), asks before
// replacing one of that name, saves; the analysis as saved, or nothing when it was not.
std::optional<Analysis> SAVEANALYSISOVER(const std::string& parent, Analysis analysis);
// Opens the store on its first use, showing over parent what the user must know of it, and what
// the check of the whole file has found since, if anything.
void STOREREADY(const std::string& parent);
// Closes the store, which the next use opens again.
void CLOSEANALYSES();
