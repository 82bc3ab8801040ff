#include "app/settings.h"

#include "gui/ezgui.h"

void SETMENUITEM(const std::string& formName, int32_t menuNumber, int32_t itemId, const std::string& text,
                 const std::string& props) {
    int32_t menu = EZ_GETMENU(formName, menuNumber);
    EZ_SETMENUITEM(menu, itemId, text, props);
}
