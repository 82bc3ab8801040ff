#include "about/about_box.h"

#include "msgbox/message_box.h"

// The program's name and version, over the calculator, until the About box with the
// program's history is built.
void EZ_AB_Display(const std::string& parent) {
    DISPLAYMESSAGE("About Tarvex", "Tarvex{f10}", std::string("Version ") + "3.0" + "." + "1.0" + "{f6}", parent);
}
