// The calculator for keyboard and screen-reader users: names, values and descriptions, the order
// of the Tab key, Enter on buttons, and figures that are never shown cut.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"

namespace {

QAccessibleInterface* accessible(int32_t id) {
    return QAccessible::queryAccessibleInterface(gui::findControl("RI", id));
}

TEST_F(CalculatorTest, BoxesAreNamedByTheirCaptions) {
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::CUSTOMER), "Customer:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::AVERAGE_SALE), "Average Sale:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::NET_RETURN), "Net Return on Investment:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::RESPONSES), "Total Responses Needed:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::COMMENTS), "Comments:");
}

TEST_F(CalculatorTest, AScreenReaderHearsEachStationItsShareAndItsListeners) {
    StationCalls = {"WAAA", "KBEST", "", "", "", "", "", ""};
    StationCume = {"10000", "5000", "", "", "", "", "", ""};
    SHOWSTATIONS();
    typeWorkedExample();
    // The tick box is its caption, the station's name; the share label says what it is, reads out
    // the figure it shows and, as its description, the tooltip's figure.
    EXPECT_EQ(accessible(225)->text(QAccessible::Name), "WAAA");
    EXPECT_EQ(accessible(225)->role(), QAccessible::CheckBox);
    QAccessibleInterface* share = accessible(230);
    EXPECT_EQ(share->text(QAccessible::Name), "WAAA share of audience");
    EXPECT_EQ(share->text(QAccessible::Value), "01.070");
    ASSERT_NE(share->textInterface(), nullptr);
    EXPECT_EQ(share->textInterface()->text(0, share->textInterface()->characterCount()), "01.070");
    EXPECT_EQ(share->text(QAccessible::Description), "1 response from every 93 listeners.");
    EXPECT_EQ(accessible(240)->text(QAccessible::Name), "KBEST share of audience");
    EXPECT_EQ(accessible(240)->text(QAccessible::Description), "1 response from every 47 listeners.");
    // The description follows the calculation, the names follow the station list.
    EZ_SETTEXT("RI", RI::CLOSING_RATIO, "10");
    EXPECT_EQ(accessible(230)->text(QAccessible::Description), "1 response from every 47 listeners.");
    StationCalls[0] = "WNEW";
    SHOWSTATIONS();
    EXPECT_EQ(accessible(225)->text(QAccessible::Name), "WNEW");
    EXPECT_EQ(accessible(230)->text(QAccessible::Name), "WNEW share of audience");
    // The calculator is a window, not a dialog, announced by its caption.
    QAccessibleInterface* window =
        QAccessible::queryAccessibleInterface(gui::findControl("RI", RI::CUSTOMER)->window());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Tarvex");
}

TEST_F(CalculatorTest, TheStatusBarTellsTheFocusedStationsListeners) {
    StationCalls = {"WAAA", "", "", "", "", "", "", ""};
    StationCume = {"10000", "", "", "", "", "", "", ""};
    SHOWSTATIONS();
    typeWorkedExample();
    const std::string notice = EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1);
    driver::FOCUS("RI", RI::TICKBOX(1));
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), " WAAA: 1 response from every 93 listeners.");
    // Ticking it with the keyboard recalculates and the figure stays current.
    driver::PRESS("RI", RI::TICKBOX(1), "Space");
    EXPECT_EQ(EZ_GETCHECK("RI", RI::TICKBOX(1)), 1);
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), " WAAA: 1 response from every 93 listeners.");
    driver::FOCUS("RI", RI::COMMENTS);
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), notice);
    EXPECT_EQ(notice, " Copyright \u00a9 Tarvex. All rights reserved.");
}

TEST_F(CalculatorTest, TabFollowsTheReadingOrder) {
    StationCume[1] = "500";
    SHOWSTATIONS();
    driver::FOCUS("RI", RI::CUSTOMER);
    std::vector<int32_t> order{EZ_GETFOCUS("RI")};
    for (int i = 0; i < 13; ++i) {
        driver::PRESS("RI", 0, "Tab");
        order.push_back(EZ_GETFOCUS("RI"));
    }
    // Result boxes are skipped, so are hidden rows and the disabled "Print"; the buttons as they stand.
    const std::vector<int32_t> expected{135, 140, 145, 150, 155, 160, 165, 235, 310, 325, 330, 320, 135, 140};
    EXPECT_EQ(order, expected);
    // Enter from the last input goes on to the comments, past the station rows.
    driver::FOCUS("RI", RI::CLOSING_RATIO);
    driver::PRESS("RI", RI::CLOSING_RATIO, "Enter");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 310);
}

// A screen reader hears the hint beside each input as its description, a percent field with its
// "%", each tick box with its row's whole figure, and the controls in the order they are read.
TEST_F(CalculatorTest, AScreenReaderHearsHintsPercentsFiguresInReadingOrder) {
    StationCalls[0] = "WAAA";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    typeWorkedExample();
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", RI::ROI), "Return on Investment: %");
    EXPECT_EQ(accessible(150)->text(QAccessible::Description), "(Wall Street average 7%, bank CD's 1-2%)");
    EXPECT_EQ(accessible(225)->text(QAccessible::Description),
              "01.070 percent of the audience, 1 response from every 93 listeners.");
    QAccessibleInterface* form = accessible(135)->parent();
    std::vector<int32_t> heard;
    for (int i = 0; i < form->childCount(); ++i)
        for (int32_t id : {145, 345, 215, 225, 310, 325, 315})
            if (form->child(i)->object() == gui::findControl("RI", id)) heard.push_back(id);
    EXPECT_EQ(heard, (std::vector<int32_t>{145, 345, 215, 225, 310, 325, 315}));
}

TEST_F(CalculatorTest, EnterPressesTheFocusedButtonAndMovesOnInABox) {
    Boxes boxes({clickButton(2)});
    driver::FOCUS("RI", RI::CLEAR_BUTTON);
    driver::PRESS("RI", RI::CLEAR_BUTTON, "Enter");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Clear This Form?");
    driver::FOCUS("RI", RI::BUDGET);
    driver::PRESS("RI", RI::BUDGET, "Enter");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 150);
    driver::FOCUS("RI", RI::EXIT_BUTTON);
    driver::PRESS("RI", RI::EXIT_BUTTON, "Enter");
    EXPECT_FALSE(EZ_FORMEXISTS("RI"));
}

// A screen reader's actions do what a click does: "Toggle" ticks a station and lets "Print" go,
// "Press" on a button asks its question.
TEST_F(CalculatorTest, AccessibleActionsDoWhatAClickDoes) {
    StationCume[0] = "10000";
    SHOWSTATIONS();
    typeWorkedExample();
    driver::TYPE("RI", RI::CUSTOMER, "Acme");
    driver::TYPE("RI", RI::SALESREP, "Pat");
    for (int32_t ticked : {1, 0}) {
        driver::ACCESSIBLEACTION("RI", RI::TICKBOX(1), "Toggle");
        EXPECT_TRUE(driver::WAITFOR(
            [&] {
                return EZ_GETCHECK("RI", RI::TICKBOX(1)) == ticked &&
                       EZ_ISENABLED("RI", RI::PRINT_BUTTON) == (ticked == 1);
            },
            2000));
    }
    Boxes boxes({clickButton(2)});
    driver::ACCESSIBLEACTION("RI", RI::CLEAR_BUTTON, "Press");
    EXPECT_TRUE(driver::WAITFOR([&] { return boxes.shown.size() == 1; }, 2000));
}

TEST_F(CalculatorTest, MenuSeparatorsAreLinesWithoutText) {
    QMenuBar* bar = gui::findControl("RI", RI::CUSTOMER)->window()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    int separators = 0;
    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(menu);
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) continue;
            ++separators;
            EXPECT_EQ(action->text(), "");
        }
        for (int i = 0; list && i < list->childCount(); ++i)
            EXPECT_NE(list->child(i)->text(QAccessible::Name), "-");
    }
    EXPECT_EQ(separators, 3);
}

// The widest line of a control's text in its present font, and the room it has.
double textWidth(QWidget* control, const QString& text) {
    return QFontMetricsF(control->font()).horizontalAdvance(text);
}

TEST_F(CalculatorTest, FiguresTooWideForTheirBoxShrinkAndThenShowTheirStart) {
    auto* net = qobject_cast<QLineEdit*>(gui::findControl("RI", RI::NET_RETURN));
    const double normal = net->font().pointSizeF();
    EXPECT_DOUBLE_EQ(normal, 9);
    driver::TYPE("RI", RI::BUDGET, "123456789012");
    const QString figure = net->text();
    EXPECT_EQ(figure, "$123,456,789,012.00");
    EXPECT_LT(net->font().pointSizeF(), normal);
    EXPECT_GE(net->font().pointSizeF(), 6);
    EXPECT_LE(textWidth(net, figure), net->width() - 4);
    EXPECT_EQ(net->toolTip(), "");
    // Beyond what 6 points can hold, the box shows the start of the figure and the whole of it
    // in its tooltip.
    EZ_SETTEXT("RI", RI::BUDGET, "1e30");
    EXPECT_DOUBLE_EQ(net->font().pointSizeF(), 6);
    EXPECT_EQ(net->toolTip(), net->text());
    EXPECT_EQ(net->cursorPosition(), 0);
    // A figure that fits again has its own size and no tooltip.
    EZ_SETTEXT("RI", RI::BUDGET, "1000");
    EXPECT_DOUBLE_EQ(net->font().pointSizeF(), normal);
    EXPECT_EQ(net->toolTip(), "");
    // Station names in the tick boxes shrink too.
    StationCalls[0] = "WXYZ-FM ROCKS";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    auto* tick = qobject_cast<QCheckBox*>(gui::findControl("RI", RI::TICKBOX(1)));
    EXPECT_LT(tick->font().pointSizeF(), normal);
    EXPECT_LE(textWidth(tick, tick->text()), tick->width() - 15);
}

}  // namespace
