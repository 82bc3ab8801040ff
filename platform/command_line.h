// The one command line that Windows hands a new program, made from an argument vector so that
// the C runtime and CommandLineToArgvW split it into exactly those arguments again.
#pragma once

#include <string>
#include <vector>

// The words joined by spaces; a word that is empty or holds a space, tab, newline or quote is
// quoted, with a quote inside and the backslashes before a quote escaped. Words hold no NUL.
std::string COMMANDLINE(const std::vector<std::string>& words);
