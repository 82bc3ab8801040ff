#include "calc/status_notice.h"

#include <vector>

#include "calc/calculator_ids.h"
#include "gui/ezgui.h"

namespace {

struct Notice {
    std::string text;
    NoticeLasts lasts;
    int32_t control;
};

// Oldest first; at most one for each way of lasting and control.
std::vector<Notice> passing;
std::string standing;
// What the bar shows, so that a keystroke rewrites it only when it changes.
std::string shown;
bool written = false;

void SHOWNOTICE() {
    const std::string text = " " + (passing.empty() ? standing : passing.back().text);
    if (written && shown == text) return;
    shown = text;
    written = true;
    EZ_SETSBTEXT("RI", RI::STATUS_BAR, 1, text);
}

void ENDNOTICES(const auto& over) {
    std::erase_if(passing, over);
    SHOWNOTICE();
}

}  // namespace

void STANDINGNOTICE(const std::string& text) {
    standing = text;
    SHOWNOTICE();
}

void PASSINGNOTICE(const std::string& text, NoticeLasts lasts, int32_t control) {
    std::erase_if(passing,
                  [&](const Notice& notice) { return notice.lasts == lasts && notice.control == control; });
    passing.push_back({text, lasts, control});
    SHOWNOTICE();
}

void NOTICECHANGED(int32_t control) {
    ENDNOTICES([&](const Notice& notice) {
        return notice.lasts == NoticeLasts::UNTILNEXTEDIT ||
               (notice.lasts == NoticeLasts::UNTILFIELDCHANGES && notice.control == control);
    });
}

void NOTICEBLURRED(int32_t control) {
    ENDNOTICES([&](const Notice& n) { return n.lasts == NoticeLasts::WHILEFOCUSED && n.control == control; });
}

void RESETNOTICES() {
    passing.clear();
    standing.clear();
    written = false;
}
