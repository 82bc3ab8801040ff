// The event model on real widgets: what each user action and program call reports.
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

// A small form with two text boxes, a tick box, a button and a labelled tooltip.
void smallForm(const std::string&) {
    EZ_TEXT(10, 1, 1, 10, 1.125, "", "EST");
    EZ_TEXT(11, 1, 3, 10, 1.125, "", "EST");
    EZ_CHECKBOX(12, 1, 5, 10, 1.125, "Tick", "T");
    EZ_BUTTON(13, 1, 7, 8, 1.5, "Go", "T");
    EZ_LABEL(14, 12, 1, 8, 1, "tip", "F");
    EZ_BUTTON(15, 12, 7, 8, 1.5, "Off", "T");
}

void openSmallForm(const std::string& name = "T1") {
    EZ_FORM(name, "", "Test form", 0, 0, 30, 12, "");
    driver::SETTLE();
}

class EventModel : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        design = smallForm;
    }
};

TEST_F(EventModel, CreationReportsControlsThenShownOnce) {
    openSmallForm();
    ASSERT_TRUE(EZ_FORMEXISTS("T1"));
    int started = -1, shown = -1;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (seen[i].id == 0 && seen[i].message == EZ_MSG_STARTED) started = static_cast<int>(i);
        if (seen[i].id == 0 && seen[i].message == EZ_MSG_SHOWN) shown = static_cast<int>(i);
    }
    EXPECT_GE(started, 0);
    EXPECT_GT(shown, started);
    EZ_HIDEFORM("T1");
    driver::SETTLE();
    EZ_BRINGTOFRONT("T1");
    driver::SETTLE();
    EXPECT_EQ(count(0, EZ_MSG_SHOWN), 1);
}

TEST_F(EventModel, TextChangesReportedForTypingAndForTheProgram) {
    openSmallForm();
    EZ_SETTEXT("T1", 10, "abc");
    EXPECT_EQ(count(10, EZ_MSG_CHANGE), 1);
    EXPECT_EQ(EZ_GETTEXT("T1", 10), "abc");
    driver::TYPE("T1", 11, "xy");
    EXPECT_EQ(count(11, EZ_MSG_CHANGE), 2);
    EXPECT_EQ(EZ_GETTEXT("T1", 11), "xy");
}

TEST_F(EventModel, SettingACheckIsNoClickButAUsersClickIs) {
    openSmallForm();
    EZ_SETCHECK("T1", 12, 1);
    EXPECT_EQ(EZ_GETCHECK("T1", 12), 1);
    EXPECT_EQ(count(12, EZ_MSG_CLICK), 0);
    driver::CLICK("T1", 12);
    EXPECT_EQ(count(12, EZ_MSG_CLICK), 1);
    EXPECT_EQ(EZ_GETCHECK("T1", 12), 0);
    driver::CLICK("T1", 13);
    EXPECT_EQ(count(13, EZ_MSG_CLICK), 1);
    EZ_DISABLEC("T1", 15);
    driver::CLICK("T1", 15);
    EXPECT_EQ(count(15, EZ_MSG_CLICK), 0);
}

TEST_F(EventModel, FocusMovesAreReported) {
    openSmallForm();
    driver::FOCUS("T1", 10);
    driver::FOCUS("T1", 11);
    EXPECT_GE(count(10, EZ_MSG_FOCUS), 1);
    EXPECT_GE(count(10, EZ_MSG_BLUR), 1);
    EXPECT_GE(count(11, EZ_MSG_FOCUS), 1);
    EXPECT_EQ(EZ_GETFOCUS("T1"), 11);
}

TEST_F(EventModel, KeyHandlersDropMoveOnOrReplaceKeys) {
    react = [](const std::string&, int32_t& id, int32_t& message, int32_t& value, int32_t&) {
        if (id != 10 || message != EZ_MSG_KEY) return;
        if (value == 13)
            value = 9;  // Enter moves on
        else if (value == 27)
            value = 0;  // Escape is dropped
        else if (value == 'x')
            value = 0;  // so is one letter
        else if (value == 'a')
            value = 'B';
    };
    openSmallForm();
    driver::TYPE("T1", 10, "axc");
    EXPECT_EQ(EZ_GETTEXT("T1", 10), "Bc");
    int keys = count(10, EZ_MSG_KEY);
    EXPECT_EQ(keys, 3);
    std::string reported;
    for (const Seen& event : seen)
        if (event.id == 10 && event.message == EZ_MSG_KEY) reported += static_cast<char>(event.value);
    EXPECT_EQ(reported, "axc");
    driver::PRESS("T1", 10, "Escape");
    EXPECT_TRUE(EZ_FORMEXISTS("T1"));
    EXPECT_EQ(EZ_GETFOCUS("T1"), 10);
    driver::PRESS("T1", 10, "Enter");
    EXPECT_EQ(EZ_GETFOCUS("T1"), 11);
    EXPECT_EQ(EZ_GETTEXT("T1", 10), "Bc");
}

TEST_F(EventModel, CancelOnCloseKeepsTheFormOpen) {
    bool refuse = true;
    react = [&refuse](const std::string&, int32_t& id, int32_t& message, int32_t&, int32_t& cancel) {
        if (id == 0 && message == EZ_MSG_CLOSE && refuse) cancel = 1;
    };
    openSmallForm();
    EZ_UNLOADFORM("T1");
    driver::SETTLE();
    EXPECT_TRUE(EZ_FORMEXISTS("T1"));
    driver::CLOSEBOX("T1");
    EXPECT_TRUE(EZ_FORMEXISTS("T1"));
    EXPECT_EQ(count(0, EZ_MSG_CLOSE), 2);
    refuse = false;
    EZ_UNLOADFORM("T1");
    driver::SETTLE();
    EXPECT_FALSE(EZ_FORMEXISTS("T1"));
}

TEST_F(EventModel, ModalFormReturnsOnlyAfterItIsUnloaded) {
    openSmallForm();
    bool openWhileWaiting = false;
    auto answer = driver::WHENOPEN("M1", [&] {
        openWhileWaiting = EZ_FORMEXISTS("M1") && EZ_CURRENTFORM() == "M1";
        EZ_UNLOADFORM("M1");
    });
    EZ_FORM("M1", "T1", "Modal", 0, 0, 20, 8, "CMR");
    EXPECT_TRUE(answer->answered);
    EXPECT_FALSE(answer->timedOut);
    EXPECT_TRUE(openWhileWaiting);
    EXPECT_FALSE(EZ_FORMEXISTS("M1"));
    EXPECT_TRUE(EZ_FORMEXISTS("T1"));
    int shown = 0, closed = 0;
    for (const Seen& event : seen)
        if (event.form == "M1") {
            shown += event.message == EZ_MSG_SHOWN;
            closed += event.message == EZ_MSG_CLOSE;
        }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(closed, 1);
}

TEST_F(EventModel, PointerOverControlsAndTheBareForm) {
    openSmallForm();
    EZ_DISABLEC("T1", 15);
    driver::HOVER("T1", 13);
    EXPECT_GE(count(13, EZ_MSG_CURSOR), 1);
    driver::HOVER("T1", 15);
    EXPECT_GE(count(15, EZ_MSG_CURSOR), 1);
    driver::HOVER("T1", 0);
    EXPECT_GE(count(0, EZ_MSG_CURSOR), 1);
}

TEST_F(EventModel, TooltipTextIsAskedForWhenThePointerRests) {
    react = [](const std::string& form, int32_t& id, int32_t& message, int32_t&, int32_t&) {
        if (id == 14 && message == EZ_MSG_TOOLTIP) EZ_SETTOOLTIP(form, id, EZ_GETTEXT(form, 10));
    };
    openSmallForm();
    EZ_ADDTOOLTIP("T1", 14);
    EXPECT_EQ(driver::TOOLTIP("T1", 14), "");
    EXPECT_EQ(count(14, EZ_MSG_TOOLTIP), 1);
    EZ_SETTEXT("T1", 10, "Shown now");
    EXPECT_EQ(driver::TOOLTIP("T1", 14), "Shown now");
    EXPECT_EQ(driver::TOOLTIP("T1", 13), "");
    EXPECT_EQ(count(13, EZ_MSG_TOOLTIP), 0);
}

TEST_F(EventModel, LoadingEventLetsTheHandlerChooseTheFont) {
    design = [](const std::string&) {
        EZ_USEFONT(4);
        EZ_ALLOWLOADINGEVENT(2);
        EZ_LABEL(20, 1, 1, 20, 1, "Loaded", "L");
        EZ_ALLOWLOADINGEVENT(0);
        EZ_LABEL(21, 1, 3, 20, 1, "Plain", "L");
    };
    react = [](const std::string&, int32_t& id, int32_t& message, int32_t&, int32_t&) {
        if (id == 20 && message == EZ_MSG_LOADING) EZ_USEFONT(8);
    };
    openSmallForm();
    EXPECT_EQ(count(20, EZ_MSG_LOADING), 1);
    EXPECT_EQ(count(21, EZ_MSG_LOADING), 0);
    double boldWidth = 0, height = 0, plainWidth = 0;
    EZ_GETTEXTSIZE(8, "Loaded", boldWidth, height);
    EZ_GETTEXTSIZE(4, "Loaded", plainWidth, height);
    EXPECT_GT(boldWidth, plainWidth);
}

TEST_F(EventModel, MenusAcceleratorsAndCheckMarks) {
    design = [](const std::string& form) {
        int32_t bar = EZ_GETMENU(form);
        int32_t drop = EZ_DEFSUBMENU(505, "&Item");
        EZ_ADDMENUITEM(drop, 510, "-", "");
        EZ_ADDMENUITEM(drop, 515, "&Other", "X");
        EZ_SAVEMENU(form, 1, drop);
        EZ_SETSUBMENU(bar, 500, drop);
    };
    EZ_DEFMAINMENU(500, "&File");
    openSmallForm();
    int32_t drop = EZ_GETMENU("T1", 1);
    ASSERT_NE(drop, 0);
    EXPECT_TRUE(EZ_MENUCHECKED(drop, 515));
    EZ_SETMENUITEM(drop, 515, "&Other", "");
    EXPECT_FALSE(EZ_MENUCHECKED(drop, 515));
    driver::CHOOSEMENU("T1", 505);
    EXPECT_EQ(count(505, EZ_MSG_CLICK), 1);
    EZ_DEFACCEL("T1", "F1,911");
    driver::PRESS("T1", 10, "F1");
    EXPECT_EQ(count(911, EZ_MSG_CLICK), 1);
}

TEST_F(EventModel, OwnerDrawnButtonIsPaintedByTheProgram) {
    design = [](const std::string&) { EZ_ODBUTTON(30, 1, 1, 8, 1.5, "&Yes", "TA"); };
    react = [](const std::string&, int32_t& id, int32_t& message, int32_t&, int32_t&) {
        if (id == 30 && message == EZ_MSG_OWNERDRAW) EZ_DRAWCOLORBUTTON(36, 15, 7);
    };
    openSmallForm();
    int before = count(30, EZ_MSG_OWNERDRAW);
    driver::PAINT("T1", 30);
    EXPECT_GT(count(30, EZ_MSG_OWNERDRAW), before);
    driver::CLICK("T1", 30);
    EXPECT_EQ(count(30, EZ_MSG_CLICK), 1);
}

TEST_F(EventModel, TextSizeAndUnitsAgree) {
    double width = 0, height = 0, wider = 0;
    EZ_GETTEXTSIZE(6, "Average Sale:", width, height);
    EZ_GETTEXTSIZE(6, "Average Sale: and more", wider, height);
    EXPECT_GT(width, 0);
    EXPECT_GT(wider, width);
    EXPECT_GT(height, 0.5);
    EXPECT_LT(height, 1.0);
    EXPECT_DOUBLE_EQ(EZ_CX(90), 10.0);
    EXPECT_DOUBLE_EQ(EZ_CY(40), 2.0);
    // The calculator's longest hint fits the columns it is given.
    EZ_GETTEXTSIZE(6, "(Wholesale cost: $25, Sale price $50 = 50% margin)", width, height);
    EXPECT_LT(width, 33.5);
}

}  // namespace
