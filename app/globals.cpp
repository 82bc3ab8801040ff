#include "app/globals.h"

std::string IniFile;
std::string HelpFile;
int32_t ProgramIcon = 0;
int32_t InstanceMutex = 0;
