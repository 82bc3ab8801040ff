// The About box, form "AB": the information page and the program history, one at a time.
#pragma once

#include <cstdint>
#include <string>

// The page shown: 1 the information page, 2 the history page.
extern int32_t AboutPage;

void EZ_AB_Display(const std::string& parent);
void EZ_AB_Design();
void EZ_AB_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
void AB_EVENTS(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
void AB_INITIALIZE();
void LOADPROGRAMHISTORY();
void AB_HISTORY_SETTEXT(const std::string& text);
void AB_OKBTN_CLICKED(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
void AB_HISTORYBUTTON_CLICKED(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
