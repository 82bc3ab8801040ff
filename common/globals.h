// Values set once at start-up and used by the whole program until it ends.
#pragma once

#include <cstdint>
#include <string>

extern std::string IniFile;    // the settings file in the program folder
extern std::string HelpFile;   // the compiled help file under the program folder
extern int32_t ProgramIcon;    // the program's icon, as the GUI library numbers it
extern int32_t InstanceMutex;  // the lock that tells later starts this copy runs

// The product's name and the running version, "3.0" + "." + "1.0"; the update check compares
// the version with the one the maker's server offers.
extern const std::string ProductName;
extern const std::string ProgramVersion;
