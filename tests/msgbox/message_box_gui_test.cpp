// The message box as a user meets it: focus, keys, clicks, the check box and the answer.
#include <QApplication>
#include <QImage>
#include <cmath>
#include <vector>

#include "gui/ezgui.h"
#include "gui/owner_button.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "msgbox/message_box.h"
#include "msgbox/message_box_ids.h"
#include "tests/support/fixture.h"

namespace {

const std::string kBox = "DGMSGBOX1";

// A parent form for the box, opened through the program's routing.
class MessageBoxTest : public HostFormTest {
protected:
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
                      driver::CLICK(kBox, MSGBOX::BUTTON(1));
                  }),
              1);
    EXPECT_EQ(focused, 12);
    EXPECT_EQ(current, kBox);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::PRESS(kBox, 0, "Escape"); }), 99);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::CLOSEBOX(kBox); }), 99);
    // In a question with a Cancel button, Escape and the close box mean Cancel.
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No|&Cancel", 1, [] { driver::PRESS(kBox, 0, "Escape"); }), 3);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No|&Cancel", 1, [] { driver::CLOSEBOX(kBox); }), 3);
    EXPECT_EQ(ask("*{G,f7}|&Yes|&No", 2, [] { driver::PRESS(kBox, 0, "Enter"); }), 2);
    EXPECT_EQ(ask("&A|&B|&C", 3, [] { driver::CLICK(kBox, MSGBOX::BUTTON(2)); }), 2);
    EXPECT_EQ(ask("", 0, [] { driver::PRESS(kBox, 0, "Escape"); }), 99);
}

// However the box is answered, a ticked check box turns the answer negative.
TEST_F(MessageBoxTest, TickedCheckBoxNegatesTheAnswer) {
    const struct {
        const char* what;
        int32_t defaultButton;  // negative: the check box starts ticked
        std::function<void()> act;
        int32_t answer;
    } cases[] = {
        {"ticked from the start, OK", -1, [] { driver::CLICK(kBox, MSGBOX::BUTTON(1)); }, -1},
        {"unticked, OK", -1,
         [] {
             driver::CLICK(kBox, MSGBOX::CHECKBOX);
             driver::CLICK(kBox, MSGBOX::BUTTON(1));
         },
         1},
        {"never ticked, Escape", 1, [] { driver::PRESS(kBox, 0, "Escape"); }, 99},
        {"ticked, Escape", 1,
         [] {
             driver::CLICK(kBox, MSGBOX::CHECKBOX);
             driver::PRESS(kBox, 0, "Escape");
         },
         -99},
        {"ticked, Enter on Later", 2,
         [] {
             driver::CLICK(kBox, MSGBOX::CHECKBOX);
             driver::PRESS(kBox, MSGBOX::BUTTON(2), "Enter");
         },
         -2},
        {"ticked from the start, close box", -2, [] { driver::CLOSEBOX(kBox); }, -99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ask("&OK|&Later", c.defaultButton, c.act, "Don't remind me"), c.answer) << c.what;
}

// A negative default ticks the box and focuses that button; a click on the box gives the focus back.
TEST_F(MessageBoxTest, ANegativeDefaultStartsTickedAndTheButtonKeepsTheFocus) {
    bool startedTicked = false;
    int32_t focused = 0, afterTick = 0;
    ask(
        "&OK|&Later", -1,
        [&] {
            startedTicked = EZ_GETCHECK(kBox, MSGBOX::CHECKBOX) == 1;
            focused = EZ_GETFOCUS(kBox);
            driver::CLICK(kBox, MSGBOX::CHECKBOX);
            afterTick = EZ_GETFOCUS(kBox);
            driver::CLICK(kBox, MSGBOX::BUTTON(1));
        },
        "Don't remind me");
    EXPECT_TRUE(startedTicked);
    EXPECT_EQ(focused, 11);
    EXPECT_EQ(afterTick, 11);
}

TEST_F(MessageBoxTest, EnterOnTheCheckBoxDoesNothing) {
    bool stillOpen = false;
    EXPECT_EQ(ask(
                  "&OK|&Later", 2,
                  [&] {
                      driver::FOCUS(kBox, MSGBOX::CHECKBOX);
                      driver::PRESS(kBox, MSGBOX::CHECKBOX, "Enter");
                      stillOpen = EZ_FORMEXISTS(kBox);
                      driver::FOCUS(kBox, MSGBOX::BUTTON(1));
                      driver::PRESS(kBox, MSGBOX::BUTTON(1), "Enter");
                  },
                  "Don't remind me"),
              1);
    EXPECT_TRUE(stillOpen);
}

TEST_F(MessageBoxTest, OwnerDrawnStylesAnswerLikeAnyButton) {
    for (const char* style : {"C", "3", "R", "E"}) {
        std::string buttons = std::string("*{") + style + ",f7,b36,t15}|&First|&Second";
        EXPECT_EQ(ask(buttons, 1, [] { driver::CLICK(kBox, MSGBOX::BUTTON(2)); }), 2) << style;
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
        driver::CLICK(kBox, MSGBOX::BUTTON(1));
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

namespace {

QWidget* boxControl(int32_t id) { return gui::findControl(kBox, id); }

TEST_F(MessageBoxTest, TextsAndButtonsTakeTheirFontsAndColours) {
    QFont first, second, standard, styled;
    QColor colour, plainColour;
    auto answer = driver::WHENOPEN(kBox, [&] {
        first = boxControl(MSGBOX::TEXT1)->font();
        second = boxControl(MSGBOX::TEXT2)->font();
        colour = boxControl(MSGBOX::TEXT1)->palette().color(QPalette::WindowText);
        plainColour = boxControl(MSGBOX::TEXT2)->palette().color(QPalette::WindowText);
        standard = boxControl(MSGBOX::BUTTON(1))->font();
        styled = boxControl(MSGBOX::BUTTON(2))->font();
        driver::CLICK(kBox, MSGBOX::BUTTON(1));
    });
    DGMSGBOX("HOST", "Fonts", "Unable to find web host.{f10,t4}", "The update is unable to continue.{f6}", "",
             "*{G,f7}|&OK|&Other{f10}", "", 1, "C");
    EXPECT_TRUE(answer->answered);
    EXPECT_TRUE(first.bold());
    EXPECT_DOUBLE_EQ(first.pointSizeF(), 10);
    EXPECT_FALSE(second.bold());
    EXPECT_DOUBLE_EQ(second.pointSizeF(), 9);
    EXPECT_EQ(colour, QColor(128, 0, 0));
    EXPECT_EQ(plainColour, QColor(0, 0, 0));
    EXPECT_TRUE(standard.bold());
    EXPECT_DOUBLE_EQ(standard.pointSizeF(), 9);
    EXPECT_TRUE(styled.bold());
    EXPECT_DOUBLE_EQ(styled.pointSizeF(), 10);
}

// Each owner-drawn style is painted by the box in its own way; "G" is a standard push button.
TEST_F(MessageBoxTest, OwnerDrawnStylesArePaintedEachInItsOwnWay) {
    std::vector<QImage> faces;
    std::vector<bool> ownerDrawn;
    auto answer = driver::WHENOPEN(kBox, [&] {
        for (int32_t id = MSGBOX::BUTTON(1); id <= MSGBOX::BUTTON(5); ++id) {
            ownerDrawn.push_back(qobject_cast<gui::OwnerButton*>(boxControl(id)) != nullptr);
            faces.push_back(boxControl(id)->grab().toImage());
        }
        driver::CLICK(kBox, MSGBOX::BUTTON(1));
    });
    DGMSGBOX("HOST", "Styles", "Five buttons", "", "", "*{w9,b36,t15}|&A{C}|&A{3}|&A{R}|&A{E}|&A{G}", "", 0, "C");
    EXPECT_TRUE(answer->answered);
    EXPECT_EQ(ownerDrawn, (std::vector<bool>{true, true, true, true, false}));
    ASSERT_EQ(faces.size(), 5u);
    for (size_t a = 0; a < faces.size(); ++a)
        for (size_t b = a + 1; b < faces.size(); ++b) EXPECT_NE(faces[a], faces[b]) << a << " and " << b;
    // The owner-drawn faces carry the face colour 36.
    EXPECT_EQ(faces[0].pixelColor(faces[0].width() / 2, 3), QColor(255, 111, 185));
}

// The button with the focus shows it when the box opens: a frame it loses when the focus goes.
TEST_F(MessageBoxTest, TheDefaultButtonShowsItsFocusWhenTheBoxOpens) {
    QImage focused, unfocused;
    int32_t focus = 0;
    ask("*{G,f7}|&Yes|&No", 2, [&] {
        // The window system gives the new box the keyboard (a busy offscreen platform may not have
        // yet); only then does a focus show.
        QApplication::setActiveWindow(boxControl(MSGBOX::BUTTON(2))->window());
        driver::SETTLE();
        focus = EZ_GETFOCUS(kBox);
        focused = boxControl(MSGBOX::BUTTON(2))->grab().toImage();
        EZ_FOCUS(kBox, MSGBOX::BUTTON(1));
        unfocused = boxControl(MSGBOX::BUTTON(2))->grab().toImage();
        driver::CLICK(kBox, MSGBOX::BUTTON(2));
    });
    EXPECT_EQ(focus, 12);
    EXPECT_NE(focused, unfocused);
}

TEST_F(MessageBoxTest, TheBoxIsWideEnoughForItsTitle) {
    for (const std::string title : {"OK?", "Unable to Complete Update Check",
                                    "A Title Much Longer Than Anything The Box Would Say Inside It"}) {
        double width = 0, height = 0, captionWidth = 0, captionHeight = 0;
        auto answer = driver::WHENOPEN(kBox, [&] {
            EZ_FORMSIZE(kBox, width, height);
            driver::CLICK(kBox, MSGBOX::BUTTON(1));
        });
        DGMSGBOX("HOST", title, "Go on?{f6}", "", "", "&OK{G,f7}", "", 1, "C");
        EXPECT_TRUE(answer->answered);
        EZ_GETTEXTSIZE(7, title, captionWidth, captionHeight);
        EXPECT_GE(width + 1.0 / 9, captionWidth + 10) << title;  // the form takes whole pixels
    }
}

}  // namespace
