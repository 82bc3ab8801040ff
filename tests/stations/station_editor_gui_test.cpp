// The station editor used as a sales rep uses it.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/options.h"
#include "common/globals.h"
#include "common/help.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "platform/help_viewer.h"
#include "stations/station_editor.h"
#include "stations/station_editor_ids.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/printed_page.h"

namespace {

const std::string kEditor = "SE";
using SE::CUMEBOX;
using SE::STATIONBOX;

class StationEditorTest : public CalculatorTest {
protected:
    void store(const char* calls, const char* cume) {
        WRITEINI(IniFile, "Stations", "Calls", calls);
        WRITEINI(IniFile, "Stations", "Cume", cume);
        LOADSTATIONS();
        SHOWSTATIONS();
    }
    // Opens the editor and acts in it; returns when it has closed.
    void edit(std::function<void()> act) {
        EXPECT_TRUE(inForm(kEditor, [] { driver::CHOOSEMENU("RI", RI::MENU_STATIONS); }, std::move(act), 8000));
    }
};

TEST_F(StationEditorTest, OpensCleanAndCancelClosesWithoutAsking) {
    store("WAAA,WBBB,,,,,,", "900,85,0,0,0,0,0,0");
    bool okEnabled = true;
    std::string row2;
    edit([&] {
        okEnabled = EZ_ISENABLED(kEditor, SE::OK_BUTTON);
        row2 = EZ_GETTEXT(kEditor, STATIONBOX(2)) + " " + EZ_GETTEXT(kEditor, CUMEBOX(2)) + "|" +
               EZ_GETTEXT(kEditor, CUMEBOX(3));
        driver::CLICK(kEditor, SE::CANCEL_BUTTON);
    });
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(row2, "WBBB 85|");
}

TEST_F(StationEditorTest, CancelWithChangesAsksAndEachAnswerDoesItsPart) {
    store("WAAA,,,,,,,", "900,0,0,0,0,0,0,0");
    struct Case {
        const char* name;
        std::function<void()> answer;
        bool staysOpen;
        const char* saved;  // the stored names afterwards
    };
    // Escape and the close box of the prompt mean its Cancel.
    const Case cases[] = {{"cancel", clickButton(3), true, "WAAA,,,,,,,"},
                          {"no", clickButton(2), false, "WAAA,,,,,,,"},
                          {"escape", [] { driver::PRESS("DGMSGBOX1", 0, "Escape"); }, true, "WAAA,,,,,,,"},
                          {"close box", [] { driver::CLOSEBOX("DGMSGBOX1"); }, true, "WAAA,,,,,,,"},
                          // The editor's close box clicked again while it asks changes nothing.
                          {"editor's close box again", [] { driver::CLOSEBOX(kEditor), clickButton(3)(); },
                           true, "WAAA,,,,,,,"},
                          {"yes", clickButton(1), false, "WAAA,WNEW,,,,,,"}};
    for (const Case& c : cases) {
        bool open = false;
        bool okEnabled = false;
        // The prompt answered as the case says; when the editor stays open, No at the close box.
        Boxes boxes({c.answer, clickButton(2)});
        edit([&] {
            driver::TYPE(kEditor, STATIONBOX(2), "wnew");
            driver::TYPE(kEditor, CUMEBOX(2), "1200");
            okEnabled = EZ_ISENABLED(kEditor, SE::OK_BUTTON);
            driver::CLICK(kEditor, SE::CANCEL_BUTTON);
            // Open, and on the screen.
            open = EZ_FORMEXISTS(kEditor) && gui::findForm(kEditor)->window->windowHandle()->isVisible();
            if (open) {
                EXPECT_EQ(EZ_GETTEXT(kEditor, STATIONBOX(2)), "WNEW");
                driver::CLOSEBOX(kEditor);
            }
        });
        EXPECT_TRUE(okEnabled) << c.name;
        ASSERT_FALSE(boxes.shown.empty()) << c.name;
        EXPECT_EQ(boxes.shown[0].title + "|" + boxes.shown[0].text1,
                  "Changes Not Saved|Save your changes before you exit?")
            << c.name;
        EXPECT_EQ(open, c.staysOpen) << c.name;
        EXPECT_EQ(GETINI(IniFile, "Stations", "Calls"), c.saved) << c.name;
        LOADSTATIONS();
    }
}

TEST_F(StationEditorTest, EnterMovesOnAndTypingIsUpperCaseAndDigits) {
    std::string typed;
    int32_t afterEnter = 0;
    edit([&] {
        driver::TYPE(kEditor, STATIONBOX(1), "kx,\"9a");
        driver::TYPE(kEditor, CUMEBOX(1), "12a3,4");
        driver::TYPE(kEditor, CUMEBOX(2), "99999999999");
        typed = EZ_GETTEXT(kEditor, STATIONBOX(1)) + "|" + EZ_GETTEXT(kEditor, CUMEBOX(1)) + "|" +
                EZ_GETTEXT(kEditor, CUMEBOX(2));
        driver::FOCUS(kEditor, STATIONBOX(1));
        driver::PRESS(kEditor, STATIONBOX(1), "Enter");
        afterEnter = EZ_GETFOCUS(kEditor);
        driver::CLICK(kEditor, SE::OK_BUTTON);
    });
    EXPECT_EQ(typed, "KX\"9A|1234|999999999");
    EXPECT_EQ(afterEnter, CUMEBOX(1));
    EXPECT_EQ(StationCalls[0], "KX\"9A");
}

TEST_F(StationEditorTest, RemovingANameMovesTheRowsBelowUp) {
    store("WAAA,WBBB,WCCC,WDDD,,,,", "100,200,300,400,0,0,0,0");
    std::string rows;
    int32_t focus = 0;
    edit([&] {
        driver::FOCUS(kEditor, STATIONBOX(2));
        EZ_SETTEXT(kEditor, STATIONBOX(2), "");
        driver::FOCUS(kEditor, STATIONBOX(3));
        focus = EZ_GETFOCUS(kEditor);
        for (int row = 1; row <= kStationRows; ++row)
            rows += EZ_GETTEXT(kEditor, STATIONBOX(row)) + "=" + EZ_GETTEXT(kEditor, CUMEBOX(row)) + ";";
        driver::CLICK(kEditor, SE::OK_BUTTON);
    });
    EXPECT_EQ(rows, "WAAA=100;WCCC=300;WDDD=400;=;=;=;=;=;");
    EXPECT_EQ(focus, CUMEBOX(2));
    EXPECT_EQ(GETINI(IniFile, "Stations", "Cume"), "100,300,400,0,0,0,0,0");
}

// After a save every row of the calculator shows its new station with that station's own tick,
// share, tooltip and description, the remembered ticks follow, and so does the printed page.
TEST_F(StationEditorTest, TicksAndSharesFollowTheirStationsAfterASave) {
    store("WAAA,KBEST,WROCK,,,,,", "10000,20000,5000,0,0,0,0,0");
    Options.Recall = 1;
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    typeWorkedExample();
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::CLICK("RI", RI::TICKBOX(3));
    struct Row {
        const char *name, *share, *tip;
        int32_t ticked;
    };
    const struct {
        const char* change;
        std::function<void()> act;
        Row rows[3];
        const char* printed;
    } steps[] = {
        {"WAAA removed",
         [] {
             driver::FOCUS(kEditor, STATIONBOX(1));
             EZ_SETTEXT(kEditor, STATIONBOX(1), "");
             driver::FOCUS(kEditor, STATIONBOX(2));
         },
         {{"KBEST", "0.535", "1 response from every 187 listeners.", 0},
          {"WROCK", "02.140", "1 response from every 47 listeners.", 1},
          {nullptr, "", "", 0}},
         "02.140 percent of audience or 1 out of each 47 listeners."},
        {"KBEST's cume doubled",
         [] {
             driver::FOCUS(kEditor, CUMEBOX(1));
             EZ_SETTEXT(kEditor, CUMEBOX(1), "");
             driver::TYPE(kEditor, CUMEBOX(1), "40000");
         },
         {{"KBEST", "0.268", "1 response from every 374 listeners.", 0},
          {"WROCK", "02.140", "1 response from every 47 listeners.", 1},
          {nullptr, "", "", 0}},
         "02.140 percent of audience or 1 out of each 47 listeners."},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.change);
        edit([&] {
            step.act();
            driver::CLICK(kEditor, SE::OK_BUTTON);
        });
        for (int row = 1; row <= 3; ++row) {
            const Row& want = step.rows[row - 1];
            const int32_t tick = RI::TICKBOX(row);
            EXPECT_EQ(EZ_ISVISIBLE("RI", tick), want.name != nullptr) << row;
            if (want.name) {
                EXPECT_EQ(EZ_GETTEXT("RI", tick), want.name);
                EXPECT_EQ(driver::TOOLTIP("RI", RI::SHARELABEL(row)), want.tip) << row;
            }
            EXPECT_EQ(EZ_GETCHECK("RI", tick), want.ticked) << row;
            EXPECT_EQ(GETINI(IniFile, "Info", std::to_string(7 + row)), std::to_string(want.ticked)) << row;
            EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(row)), want.share) << row;
            EXPECT_EQ(gui::findControl("RI", RI::SHARELABEL(row))->accessibleDescription().toStdString(),
                      want.tip)
                << row;
        }
        EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
        const QString page = printedText(path("page.pdf"));
        const QStringList lines = page.split('\n').filter("WROCK");
        ASSERT_EQ(lines.size(), 1) << page.toStdString();
        EXPECT_TRUE(lines[0].contains(step.printed)) << lines[0].toStdString();
        EXPECT_FALSE(page.contains("WAAA")) << page.toStdString();
        EXPECT_FALSE(page.contains("KBEST")) << page.toStdString();
    }
    Options.Recall = 0;
}

// A cume pasted with its thousands separators keeps its digits, as typing it does; one in
// thousands or millions is shown, on leaving its box, and kept as the number it stands for.
TEST_F(StationEditorTest, APastedCumeKeepsItsDigitsAndKAndMAreTaken) {
    const struct {
        const char *pasted, *shown, *left;
    } cases[] = {{"95,000", "95000", "95000"},
                 {"1.2M", "1.2M", "1200000"},
                 {"33.5k listeners", "33.5k", "33500"},
                 {"3000M", "900", "900"}};  // beyond 32 bits: refused
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        store("WAAA,,,,,,,", "900,0,0,0,0,0,0,0");
        std::string pasted, left;
        edit([&] {
            QGuiApplication::clipboard()->setText(c.pasted);
            driver::FOCUS(kEditor, CUMEBOX(1));
            auto* box = qobject_cast<QLineEdit*>(gui::findControl(kEditor, CUMEBOX(1)));
            box->selectAll();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            pasted = EZ_GETTEXT(kEditor, CUMEBOX(1));
            driver::FOCUS(kEditor, STATIONBOX(1));
            left = EZ_GETTEXT(kEditor, CUMEBOX(1));
            driver::CLICK(kEditor, EZ_ISENABLED(kEditor, SE::OK_BUTTON)
                                       ? SE::OK_BUTTON
                                       : SE::CANCEL_BUTTON);  // "&OK", or "&Cancel" unchanged
        });
        EXPECT_EQ(pasted, c.shown);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(StationCume[0], c.left);
    }
}

// Tab takes the buttons as they stand; Escape closes the editor as its close box does, asking
// about unsaved changes.
TEST_F(StationEditorTest, TabTakesTheButtonsInOrderAndEscapeClosesAsTheCloseBox) {
    store("WAAA,,,,,,,", "900,0,0,0,0,0,0,0");
    std::vector<int32_t> order;
    Boxes boxes({clickButton(2)});
    edit([&] {
        driver::TYPE(kEditor, STATIONBOX(2), "W");
        driver::FOCUS(kEditor, CUMEBOX(8));
        for (int i = 0; i < 3; ++i) driver::PRESS(kEditor, 0, "Tab"), order.push_back(EZ_GETFOCUS(kEditor));
        driver::PRESS(kEditor, 0, "Escape");
    });
    EXPECT_EQ(order, (std::vector<int32_t>{SE::HELP_BUTTON, SE::OK_BUTTON, SE::CANCEL_BUTTON}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Changes Not Saved");
    EXPECT_EQ(GETINI(IniFile, "Stations", "Calls"), "WAAA,,,,,,,");
}

TEST_F(StationEditorTest, SavingNormalisesPacksAndShowsTheRows) {
    edit([&] {
        driver::TYPE(kEditor, STATIONBOX(1), "WAAA");
        driver::TYPE(kEditor, CUMEBOX(1), "900");
        driver::TYPE(kEditor, CUMEBOX(2), "500");
        driver::TYPE(kEditor, STATIONBOX(3), "WCCC");
        driver::TYPE(kEditor, STATIONBOX(4), "WDDD");
        driver::TYPE(kEditor, CUMEBOX(4), "700");
        driver::TYPE(kEditor, STATIONBOX(5), "WEEE");
        // The stations without a cume are named; going back saves nothing and shows the first.
        Boxes boxes({clickButton(2), clickButton(1)});
        driver::CLICK(kEditor, SE::OK_BUTTON);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].all(),
                  "Stations Without a Cume|These stations have no cume and will be removed:|WCCC, WEEE");
        EXPECT_EQ(EZ_GETFOCUS(kEditor), CUMEBOX(3));
        EXPECT_EQ(GETINI(IniFile, "Stations", "Calls"), "");
        driver::CLICK(kEditor, SE::OK_BUTTON);
        EXPECT_EQ(boxes.shown.size(), 2u);
    });
    EXPECT_EQ(GETINI(IniFile, "Stations", "Calls"), "WAAA,WDDD,,,,,,");
    EXPECT_EQ(GETINI(IniFile, "Stations", "Cume"), "900,700,0,0,0,0,0,0");
    EXPECT_TRUE(EZ_ISVISIBLE("RI", RI::TICKBOX(1)));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::TICKBOX(1)), "WAAA");
    EXPECT_TRUE(EZ_ISVISIBLE("RI", RI::TICKBOX(2)));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::TICKBOX(2)), "WDDD");
    for (int row = 3; row <= kStationRows; ++row) EXPECT_FALSE(EZ_ISVISIBLE("RI", RI::TICKBOX(row))) << row;
}

TEST_F(StationEditorTest, HelpOpensTheEditorsTopic) {
    HelpFile = TARVEX_HELP_FILE;
    edit([&] {
        EXPECT_EQ(helpShownAfter([] { driver::CLICK(kEditor, SE::HELP_BUTTON); }), "/station_editor.htm");
        EXPECT_EQ(helpShownAfter([] { driver::PRESS(kEditor, STATIONBOX(1), "F1"); }), "/station_editor.htm");
        // Enter on the focused "&Cancel" presses it.
        driver::FOCUS(kEditor, SE::CANCEL_BUTTON);
        driver::PRESS(kEditor, SE::CANCEL_BUTTON, "Enter");
    });
}

}  // namespace

namespace {

// After a removal the next free row takes a name, and its cume box opens for the cume.
TEST_F(StationEditorTest, ANameTypedAfterARemovalGetsItsCume) {
    store("WAAA,WBBB,,,,,,", "100,200,0,0,0,0,0,0");
    bool cumeClosedAfterRemoval = false, cumeOpenAfterName = false, nextRowOpen = false;
    edit([&] {
        driver::FOCUS(kEditor, STATIONBOX(1));
        EZ_SETTEXT(kEditor, STATIONBOX(1), "");
        driver::FOCUS(kEditor, STATIONBOX(2));
        // Row 1 is now WBBB; row 2 is the next to fill, name only.
        cumeClosedAfterRemoval = !EZ_ISENABLED(kEditor, CUMEBOX(2)) && EZ_ISENABLED(kEditor, STATIONBOX(2));
        driver::TYPE(kEditor, STATIONBOX(2), "wnew");
        cumeOpenAfterName = EZ_ISENABLED(kEditor, CUMEBOX(2));
        driver::TYPE(kEditor, CUMEBOX(2), "700");
        nextRowOpen = EZ_ISENABLED(kEditor, STATIONBOX(3)) && !EZ_ISENABLED(kEditor, CUMEBOX(3));
        driver::CLICK(kEditor, SE::OK_BUTTON);
    });
    EXPECT_TRUE(cumeClosedAfterRemoval);
    EXPECT_TRUE(cumeOpenAfterName);
    EXPECT_TRUE(nextRowOpen);
    EXPECT_EQ(GETINI(IniFile, "Stations", "Calls"), "WBBB,WNEW,,,,,,");
    EXPECT_EQ(GETINI(IniFile, "Stations", "Cume"), "200,700,0,0,0,0,0,0");
}

// Each box shows the start of its text when the editor opens.
TEST_F(StationEditorTest, LongNamesOpenAtTheirStart) {
    store("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,,,,,,,", "2147483647,0,0,0,0,0,0,0");
    int name = -1, cume = -1;
    edit([&] {
        name = qobject_cast<QLineEdit*>(gui::findControl(kEditor, STATIONBOX(1)))->cursorPosition();
        cume = qobject_cast<QLineEdit*>(gui::findControl(kEditor, CUMEBOX(1)))->cursorPosition();
        driver::CLICK(kEditor, SE::CANCEL_BUTTON);
    });
    EXPECT_EQ(name, 0);
    EXPECT_EQ(cume, 0);
}

// The headings sit across the panels' frames; the frame stops short of each heading's text.
TEST_F(StationEditorTest, ColumnHeadingsAreDrawnClearOfThePanelFrames) {
    QImage form;
    QRect heading, panel;
    edit([&] {
        QWidget* label = gui::findControl(kEditor, SE::LEFT_STATION_CAPTION);
        heading = label->geometry();
        panel = gui::findControl(kEditor, SE::PANELS[4])->geometry();
        form = label->parentWidget()->grab().toImage();
        driver::CLICK(kEditor, SE::CANCEL_BUTTON);
    });
    ASSERT_TRUE(heading.intersects(panel));
    const int frameY = panel.top();
    const QColor background = form.pixelColor(heading.left() - 3, heading.top() - 2);
    const QColor frame = form.pixelColor(panel.left() + 4, frameY);
    EXPECT_NE(frame, background);
    // Where the heading lies, the frame's line is not drawn.
    for (int x = heading.left() + 1; x < heading.right(); ++x) {
        QColor pixel = form.pixelColor(x, frameY);
        EXPECT_TRUE(pixel != frame || pixel == background) << x;
    }
}

// Help opened from the editor comes to the front and takes clicks while the editor is open.
TEST_F(StationEditorTest, HelpFromTheEditorIsUsableWhileItIsOpen) {
    HelpFile = TARVEX_HELP_FILE;
    std::string before, after;
    bool visible = false;
    edit([&] {
        driver::PRESS(kEditor, STATIONBOX(1), "F1");
        visible = OS_HELPVISIBLE();
        before = OS_HELPPAGE();
        QWidget* viewer = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->findChild<QTreeWidget*>("contents") && window->isVisible()) viewer = window;
        ASSERT_NE(viewer, nullptr);
        auto* tree = viewer->findChild<QTreeWidget*>("contents");
        QTreeWidgetItem* first = tree->topLevelItem(0);
        ASSERT_NE(first, nullptr);
        const QPoint at = tree->viewport()->mapTo(viewer, tree->visualItemRect(first).center());
        // A click through the window system, which a modal dialog would block for its windows.
        QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        driver::SETTLE();
        after = OS_HELPPAGE();
        EXPECT_TRUE(EZ_FORMEXISTS(kEditor));
        driver::CLICK(kEditor, SE::CANCEL_BUTTON);
    });
    EXPECT_TRUE(visible);
    EXPECT_EQ(before, "/station_editor.htm");
    EXPECT_NE(after, before);
    HelpFile.clear();
}

}  // namespace
