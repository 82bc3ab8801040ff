// The list control used as a user uses it: headings sort, the program filters, rows are chosen
// with the mouse and Enter; and the question for a file name to save as.
#include <QTemporaryDir>

#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

using Rows = std::vector<int32_t>;

class ListView : public LayerTest {
protected:
    // A list of four rows whose figures sort otherwise as texts, and a button.
    void open(const std::string& props) {
        design = [props](const std::string&) {
            EZ_LISTVIEW(1, 1, 1, 40, 8, props);
            EZ_BUTTON(2, 1, 10, 10, 1.5, "Save", "T");
        };
        EZ_FORM("L", "", "List", 0, 0, 44, 12, "");
        EZ_SETLISTCOLUMNS("L", 1, "Client,40|Budget,30|Share,30");
        EZ_SETLISTROWS("L", 1, {{"Acme", "$1,200", "12%"}, {"bravo", "$950", "n/a"},
                               {"Charlie", "$10,000", "5%"}, {"alpha", "-", "40%"}});
        driver::SETTLE();
    }
};

TEST_F(ListView, HeadingsSortFiguresAsNumbersAndTextsRegardlessOfCase) {
    open("T");
    const struct {
        int32_t heading;
        Rows order;
    } clicks[] = {{0, {0, 3, 1, 2}}, {0, {2, 1, 3, 0}}, {1, {1, 0, 2, 3}},
                  {1, {3, 2, 0, 1}}, {2, {2, 0, 3, 1}}};
    for (const auto& click : clicks) {
        driver::CLICKHEADING("L", 1, click.heading);
        EXPECT_EQ(EZ_GETLISTORDER("L", 1), click.order) << "heading " << click.heading;
    }
    EXPECT_EQ(driver::SHOWNROWS("L", 1).front(), "Charlie|$10,000|5%");
}

TEST_F(ListView, SeveralRowsStaySelectedThroughSortAndFilterUntilFilteredOut) {
    open("TM");
    driver::CLICKROW("L", 1, 0);
    driver::CLICKROW("L", 1, 2, "Shift");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{0, 1, 2}));
    driver::CLICKROW("L", 1, 1, "Ctrl");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{0, 2}));
    driver::CLICKHEADING("L", 1, 1);
    driver::CLICKHEADING("L", 1, 1);
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{2, 0}));
    const int changes = count(1, EZ_MSG_CHANGE);
    EZ_FILTERLIST("L", 1, {true, true, false, true});
    EXPECT_EQ(EZ_GETLISTORDER("L", 1), (Rows{3, 0, 1}));
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{0}));
    EXPECT_EQ(count(1, EZ_MSG_CHANGE), changes + 1);
}

TEST_F(ListView, ChoosingARowIsAChangeAndEnterOrADoubleClickIsAClick) {
    open("T");
    EZ_SETACCESSNAME("L", 1, "Saved analyses");
    EXPECT_EQ(driver::ACCESSIBLENAME("L", 1), "Saved analyses");
    driver::FOCUS("L", 2);
    const int focused = count(1, EZ_MSG_FOCUS);
    driver::CLICKROW("L", 1, 1);
    EXPECT_EQ(count(1, EZ_MSG_FOCUS), focused + 1);
    EXPECT_EQ(count(1, EZ_MSG_CHANGE), 1);
    driver::CLICKROW("L", 1, 2, "Ctrl");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{2}));
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 0);
    driver::PRESS("L", 1, "Enter");
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 1);
    driver::CLICKROW("L", 1, 3, "Double");
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 2);
    EZ_SETLISTSELECTION("L", 1, {0, 1});
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{0}));
    driver::PRESS("L", 1, "Down");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Rows{1}));
}

TEST_F(ListView, SaveQuestionAddsTheExtensionOrGivesNothingWhenCancelled) {
    QTemporaryDir folder;
    const std::string base = folder.path().toStdString() + "/";
    const struct {
        std::string typed, answer;
    } answers[] = {{"report", base + "report.csv"}, {"notes.txt", base + "notes.txt"}, {"", ""}};
    std::string answer;
    // Asked from a click, as the program asks, so the question works while a handler waits.
    react = [&](const std::string& form, int32_t& id, int32_t& message, int32_t&, int32_t&) {
        if (id == 2 && message == EZ_MSG_CLICK)
            answer = EZ_SAVEFILENAME(form, "Save list", base + "list.csv", "CSV files (*.csv)");
    };
    open("T");
    for (const auto& typed : answers) {
        answer = "(not asked)";
        auto saved = driver::WHENSAVEFILE(typed.typed);
        driver::CLICK("L", 2);
        EXPECT_TRUE(driver::WAITFOR([&] { return answer != "(not asked)"; }, 5000));
        EXPECT_FALSE(saved->timedOut);
        EXPECT_EQ(answer, typed.answer) << typed.typed;
    }
}

}  // namespace
