// The two options, the menu commands of the calculator and the remembered client.
#pragma once

#include <cstdint>
#include <string>

// The options, in the lowest two bits of one word.
struct OptionFlags {
    uint32_t Recall : 1;      // remember the current client when the calculator closes
    uint32_t AutoUpdate : 1;  // check for a program update automatically
    uint32_t : 30;
};
extern OptionFlags Options;

void RI_MENUEVENTS(int32_t id, int32_t& message, int32_t& value, int32_t& cancel, int32_t menu,
                   const std::string& caption);
void LOADPREFERENCES();
void SETRECALL();
void SETAUTOUPDATE();
void SAVECURRENT();
// Remembers the station rows' ticks as they now stand.
void SAVETICKS();
void RESTORECURRENT();
