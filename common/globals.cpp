#include "common/globals.h"

std::string IniFile;
std::string HelpFile;
int32_t ProgramIcon = 0;
int32_t InstanceMutex = 0;
const std::string ProductName = "Tarvex";
// The version the build names (the project version in CMakeLists.txt).
const std::string ProgramVersion = TARVEX_VERSION_TEXT;
