// The message box as a user meets it: focus, keys, clicks, the check box and the answer.
#include <cmath>

#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "msgbox/message_box.h"
#include "tests/support/fixture.h"

namespace {

const std::string kBox = "DGMSGBOX1";

// A parent form for the box, opened through the program's routing.
class MessageBoxTest : public testing::Test {
protected:
    void SetUp() override {
        EZ_FORM("HOST", "", "Host", 0, 0, 60, 30, "C");
        driver::SETTLE();
    }
    void TearDown() override { closeAllForms(); }

    int32_t ask(const std::string& buttons, int32_t defaultButton, std::function<void()> act,
                const std::string& check = "") {
        auto answer = driver::WHENOPEN(kBox, std::move(act));
        int32_t result =
            DGMSGBOX("HOST", "Question{w30}", "Go on?{f7}", "", check, buttons, "", defaultButton, "C");
        EXPECT_TRUE(answer->answered);
        EXPECT_FALSE(answer->timedOut);
        EXPECT_FALSE(EZ_FORMEXISTS(kBox));
        return result;
    }
};

TEST_F(MessageBoxTest, ButtonsKeysAndClosingAnswer) {
    int32_t focused = 0;
    std::string current;
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2,
                  [&] {
                      focused = EZ_GETFOCUS(kBox);
                      current = EZ_CURRENTFORM();
                      driver::CLICK(kBox, 11);
                  }),
              1);
    EXPECT_EQ(focused, 12);
    EXPECT_EQ(current, kBox);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::PRESS(kBox, 0, "Escape"); }), 99);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::CLOSEBOX(kBox); }), 99);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::PRESS(kBox, 0, "Enter"); }), 2);
    EXPECT_EQ(ask("&A|&B|&C", 3, [] { driver::CLICK(kBox, 12); }), 2);
    EXPECT_EQ(ask("", 0, [] { driver::PRESS(kBox, 0, "Escape"); }), 99);
}

TEST_F(MessageBoxTest, TickedCheckBoxNegatesTheAnswer) {
    bool startedTicked = false;
    int32_t focused = 0;
    EXPECT_EQ(ask(
                  "&OK|&Later", -1,
                  [&] {
                      startedTicked = EZ_GETCHECK(kBox, 10) == 1;
                      focused = EZ_GETFOCUS(kBox);
                      driver::CLICK(kBox, 11);
                  },
                  "Don't remind me"),
              -1);
    EXPECT_TRUE(startedTicked);
    EXPECT_EQ(focused, 11);
    EXPECT_EQ(ask(
                  "&OK|&Later", -1,
                  [&] {
                      driver::CLICK(kBox, 10);
                      focused = EZ_GETFOCUS(kBox);
                      driver::CLICK(kBox, 11);
                  },
                  "Don't remind me"),
              1);
    EXPECT_EQ(focused, 11);  // the click on the box gave the focus back to the last button
    EXPECT_EQ(ask(
                  "&OK|&Later", 1, [] { driver::PRESS(kBox, 0, "Escape"); }, "Don't remind me"),
              99);
    EXPECT_EQ(ask(
                  "&OK|&Later", -2, [] { driver::CLOSEBOX(kBox); }, "Don't remind me"),
              -99);
}

TEST_F(MessageBoxTest, EnterOnTheCheckBoxDoesNothing) {
    bool stillOpen = false;
    EXPECT_EQ(ask(
                  "&OK|&Later", 2,
                  [&] {
                      driver::FOCUS(kBox, 10);
                      driver::PRESS(kBox, 10, "Enter");
                      stillOpen = EZ_FORMEXISTS(kBox);
                      driver::FOCUS(kBox, 11);
                      driver::PRESS(kBox, 11, "Enter");
                  },
                  "Don't remind me"),
              1);
    EXPECT_TRUE(stillOpen);
}

TEST_F(MessageBoxTest, OwnerDrawnStylesAnswerLikeAnyButton) {
    for (const char* style : {"C", "3", "R", "E"}) {
        std::string buttons = std::string("*{") + style + ",f7,b36,t15}|&First|&Second";
        EXPECT_EQ(ask(buttons, 1, [] { driver::CLICK(kBox, 12); }), 2) << style;
    }
}

TEST_F(MessageBoxTest, ShownCentredOverItsParentAtItsLaidOutSize) {
    std::string host = EZ_CURRENTFORM();
    EXPECT_EQ(host, "HOST");
    double boxWidth = 0, boxHeight = 0;
    int offCentre = -1;
    auto answer = driver::WHENOPEN(kBox, [&] {
        EZ_FORMSIZE(kBox, boxWidth, boxHeight);
        offCentre = driver::CENTREDISTANCE(kBox, "HOST");
        driver::CLICK(kBox, 11);
    });
    DISPLAYMESSAGE("Status Change", "Storing of current client information is now ON.{f10}", "");
    EXPECT_TRUE(answer->answered);
    EXPECT_GE(offCentre, 0);
    EXPECT_LE(offCentre, 4);
    double textWidth = 0, textHeight = 0;
    EZ_GETTEXTSIZE(10, "Storing of current client information is now ON.", textWidth, textHeight);
    // One margin each side of the widest block, which is the text plus one column.
    EXPECT_NEAR(boxWidth, textWidth + 1.0 + 2.0, 0.25);
    EXPECT_GT(boxHeight, textHeight + 1.5);
}

}  // namespace
