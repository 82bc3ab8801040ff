#include "app/globals.h"

std::string IniFile;
std::string HelpFile;
int32_t ProgramIcon = 0;
int32_t InstanceMutex = 0;
const std::string ProductName = "Tarvex";
const std::string ProgramVersion = std::string("3.0") + "." + "1.0";
