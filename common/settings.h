// The settings file: one value read or written at a time, and the menu check marks that
// show the options stored there.
#pragma once

#include <cstdint>
#include <string>

// The value of key in section, or fallback when the file, section or key is missing.
std::string GETINI(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& fallback = "");
// Writes the value, creating file, section or key; a failed write is silently lost.
void WRITEINI(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);
void SETMENUITEM(const std::string& formName, int32_t menuNumber, int32_t itemId, const std::string& text,
                 const std::string& props);

// Where "Tarvex.ini" is kept: beside the program when the user may write there (or keeps an old
// writable one there), otherwise in the user's own settings folder, as for a program installed
// in a folder of the system's.
std::string SETTINGSFILE(const std::string& programFolder);
