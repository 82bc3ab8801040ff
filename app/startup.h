// The program's entry and start-up order.
#pragma once

#include <cstdint>
#include <string>

int WINMAIN(int argc, char** argv);
void EZ_MAIN(int32_t number);
void INITAPPS();
bool MAIN_INITIALIZE();
bool APP_PREVINSTANCE(const std::string& identifier, const std::string& caption);
void DEFINEFONTSANDCOLOURS();
void STARTUPDISPLAY();
