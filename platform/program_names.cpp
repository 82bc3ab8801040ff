#include "platform/program_names.h"

#include <cstdlib>

const char kProgramExecutable[] = "Tarvex";

std::string OS_FRESHCOPYFOLDER() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/Tarvex" : "";
}
