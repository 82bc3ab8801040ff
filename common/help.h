// Context help: the topic under the pointer and the requests to open the help file.
#pragma once

#include <cstdint>

// What GETHELP is asked for: the contents, or the topic of a context number.
enum : int32_t { HELP_CONTENTS = 1, HELP_CONTEXT = 15 };

// The context numbers of the help file's topics.
enum : int32_t {
    IDH_CALCULATOR = 100,
    IDH_GETTING_STARTED = 102,
    IDH_RESULTS = 105,
    IDH_INPUTS = 110,
    IDH_COMMENTS = 115,
    IDH_BUTTONS = 120,
    IDH_PRINTING = 130,
    IDH_STATION_EDITOR = 135,
    IDH_STATION_ROWS = 145,
    IDH_SAVING = 150,
    IDH_SAVED_ANALYSES = 155,
    IDH_COMPARING = 160,
    IDH_EXPORTING = 165,
    IDH_UPDATING = 170,
};

// The control id that F1 reports on every form that has help.
constexpr int32_t HELP_KEY = 911;

// The topic of the calculator's control the pointer last passed over, 0 over the bare window.
extern int32_t HelpTopic;

// Command 1 opens the contents; 15 opens the topic; other commands do nothing.
void GETHELP(int32_t command, int32_t topic);
