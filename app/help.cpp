#include "app/help.h"

#include "app/globals.h"
#include "platform/help_viewer.h"

int32_t HelpTopic = 0;
HelpRequest LastHelpRequest;

void GETHELP(int32_t command, int32_t topic) {
    if (command != 1 && command != 15) return;
    LastHelpRequest.command = command;
    LastHelpRequest.topic = command == 15 ? topic : 0;
    ++LastHelpRequest.count;
    if (command == 1) OS_SHOWHELPCONTENTS(HelpFile);
    else OS_SHOWHELPTOPIC(HelpFile, topic);
}
