// Context help: the topic under the pointer and the requests to open the help file.
#pragma once

#include <cstdint>

// The calculator's current help topic, set from the control the pointer last passed over.
extern int32_t HelpTopic;

// The last request made of the help, kept so that what F1 and "Help" asked for can be checked.
struct HelpRequest {
    int32_t command = 0;
    int32_t topic = 0;
    int32_t count = 0;
};
extern HelpRequest LastHelpRequest;

// Command 1 opens the contents; 15 opens the topic; other commands do nothing.
void GETHELP(int32_t command, int32_t topic);
