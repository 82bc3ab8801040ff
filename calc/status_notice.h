// The first part of the calculator's status bar: a passing notice shown over the standing one
// for as long as it says, the newest first.
#pragma once

#include <cstdint>
#include <string>

enum class NoticeLasts {
    UNTILFIELDCHANGES,  // until the text of its control changes
    WHILEFOCUSED,       // while its control keeps the focus
    UNTILNEXTEDIT,      // until an input, the comments or a tick changes
};

// The notice shown while no passing notice lasts: the rights notice, or why "Print" waits.
void STANDINGNOTICE(const std::string& text);
// Shows text now, for as long as lasts says; control is the one it is about.
void PASSINGNOTICE(const std::string& text, NoticeLasts lasts, int32_t control);
// The text of control changed, or it lost the focus: the passing notices that lasted until then end.
void NOTICECHANGED(int32_t control);
void NOTICEBLURRED(int32_t control);
// A new calculator window: no notice yet.
void RESETNOTICES();
