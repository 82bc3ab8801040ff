#include "analyses/scenario_name.h"

#include "analyses/scenario_ids.h"
#include "base/text.h"
#include "common/help.h"
#include "gui/ezgui.h"

namespace {

const std::string kForm = "SN";
constexpr size_t kMaxName = 80;

// The question asked and, once the form is gone, its answer.
struct Question {
    std::string title, prompt, name, answer;
};
Question question;

std::string typedName() { return std::string(UTF8FIRST(TRIMSPACES(EZ_GETTEXT(kForm, SN::NAME)), kMaxName)); }

void SN_OKBTN() {
    question.answer = typedName();
    if (!question.answer.empty()) EZ_UNLOADFORM(kForm);
}

}  // namespace

std::string ASKSCENARIO(const std::string& parent, const std::string& title, const std::string& prompt,
                        const std::string& name) {
    question = Question{title, prompt, name, ""};
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, title, 0, 0, 44, 7.25, "CMR");
    return question.answer;
}

void EZ_SN_Design() {
    EZ_USEFONT(6);
    EZ_LABEL(SN::PROMPT, 2, 0.75, 40, 1, question.prompt, "L");
    EZ_TEXT(SN::NAME, 2, 2, 40, 1.125, question.name, "EST");
    EZ_SETACCESSNAME(kForm, SN::NAME, question.prompt);
    EZ_BUTTON(SN::OK_BUTTON, 26, 4.75, 7.5, 1.5, "&OK", "T");
    EZ_BUTTON(SN::CANCEL_BUTTON, 34.5, 4.75, 7.5, 1.5, "&Cancel", "T");
    EZ_SETFORMKEYS(kForm, 2);
}

// Enter in the name answers "&OK", Escape anywhere "&Cancel"; "&OK" waits for a name.
void EZ_SN_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t&) {
    if (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE) {
        value = EZ_KEY_NONE;
        EZ_UNLOADFORM(kForm);
    } else if (id == SN::NAME && message == EZ_MSG_KEY && value == EZ_KEY_ENTER) {
        value = EZ_KEY_NONE;
        SN_OKBTN();
    } else if (id == SN::NAME && message == EZ_MSG_CHANGE) {
        if (typedName().empty()) EZ_DISABLEC(kForm, SN::OK_BUTTON);
        else EZ_ENABLEC(kForm, SN::OK_BUTTON);
    } else if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) {
        EZ_FOCUS(kForm, SN::NAME);
        if (typedName().empty()) EZ_DISABLEC(kForm, SN::OK_BUTTON);
        EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
    } else if (id == HELP_KEY && message == EZ_MSG_CLICK) {
        GETHELP(HELP_CONTEXT, IDH_SAVING);
    } else if (id == SN::OK_BUTTON && message == EZ_MSG_CLICK) {
        SN_OKBTN();
    } else if (id == SN::CANCEL_BUTTON && message == EZ_MSG_CLICK) {
        EZ_UNLOADFORM(kForm);
    }
}
