#include "common/help.h"

#include "common/globals.h"
#include "platform/help_viewer.h"

int32_t HelpTopic = 0;

void GETHELP(int32_t command, int32_t topic) {
    if (command == HELP_CONTENTS) OS_SHOWHELPCONTENTS(HelpFile);
    else if (command == HELP_CONTEXT) OS_SHOWHELPTOPIC(HelpFile, topic);
}
