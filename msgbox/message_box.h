// The program's own modal message box, form "DGMSGBOX1", written in its mark-up.
#pragma once

#include <cstdint>
#include <string>

// Shows the box over Parent and returns the number of the button chosen, negative when its check
// box was ticked; Escape or closing answers as a "Cancel" button would, 99 in a box without one.
int32_t DGMSGBOX(const std::string& parent, const std::string& title, const std::string& text1,
                 const std::string& text2, const std::string& checkText, const std::string& buttons,
                 const std::string& picture, int32_t result, const std::string& flags);
int32_t ASKUSER(const std::string& title, const std::string& text1, const std::string& text2,
                const std::string& checkText, const std::string& buttons, int32_t defaultButton);
void DISPLAYMESSAGE(const std::string& title, const std::string& text1, const std::string& text2,
                    const std::string& parent = "");
void DESIGN_DGMSGBOX(const std::string& formName);
void EVENTS_DGMSGBOX(const std::string& formName, int32_t& id, int32_t& message, int32_t& value,
                     int32_t& cancel);
// A text from the user, shown inside a message without being read as mark-up.
std::string SHOWNTEXT(const std::string& text);
