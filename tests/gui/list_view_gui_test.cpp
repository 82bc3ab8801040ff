// The list control used as a user uses it: headings sort through the source, only the rows in
// view are fetched, rows are chosen with the mouse and Enter and stay chosen by their keys; and
// the question for a file name to save as.
#include <algorithm>

#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

using Keys = std::vector<int64_t>;

class ListView : public LayerTest {
protected:
    // Rows by key; the source shows those in `shown`, sorted by a column's text when asked.
    std::vector<std::vector<std::string>> rows;
    Keys shown;
    int64_t fetched = 0;

    Keys ordered(int32_t column, bool ascending) const {
        Keys order = shown;
        if (column >= 0)
            std::stable_sort(order.begin(), order.end(), [&](int64_t a, int64_t b) {
                return ascending ? rows[a][column] < rows[b][column] : rows[b][column] < rows[a][column];
            });
        return order;
    }
    EZ_LISTSOURCE source() {
        EZ_LISTSOURCE source{static_cast<int64_t>(shown.size()), {}, {}};
        source.fetch = [this](int64_t first, int64_t count, int32_t column, bool ascending) {
            const Keys order = ordered(column, ascending);
            EZ_LISTROWS page;
            for (int64_t at = first; at < std::min<int64_t>(first + count, order.size()); ++at) {
                page.keys.push_back(order[at]);
                page.cells.push_back(rows[order[at]]);
            }
            fetched += static_cast<int64_t>(page.keys.size());
            return page;
        };
        source.places = [this](const Keys& keys, int32_t column, bool ascending) {
            const Keys order = ordered(column, ascending);
            Keys places;
            for (int64_t key : keys) {
                const auto at = std::find(order.begin(), order.end(), key);
                places.push_back(at == order.end() ? -1 : at - order.begin());
            }
            return places;
        };
        return source;
    }
    // The list over the rows, and a button.
    void open(const std::string& props) {
        design = [props](const std::string&) {
            EZ_LISTVIEW(1, 1, 1, 40, 8, props);
            EZ_BUTTON(2, 1, 10, 10, 1.5, "Save", "T");
        };
        EZ_FORM("L", "", "List", 0, 0, 44, 12, "");
        EZ_SETLISTCOLUMNS("L", 1, "Client,40|Budget,30|Share,30");
        if (rows.empty()) rows = {{"Acme", "1200", "12"}, {"bravo", "950", "n/a"}, {"Charlie", "10000", "5"}, {"alpha", "-", "40"}};
        for (int64_t key = static_cast<int64_t>(shown.size()); key < static_cast<int64_t>(rows.size()); ++key)
            shown.push_back(key);
        EZ_SETLISTSOURCE("L", 1, source());
        driver::SETTLE();
    }
};

TEST_F(ListView, AHundredThousandRowsFetchOnlyWhatIsInViewAndSortThroughTheSource) {
    for (int n = 0; n < 100000; ++n) rows.push_back({"Client " + std::to_string(100000 + n), "", ""});
    open("T");
    EXPECT_LE(fetched, 256);
    driver::CLICKROW("L", 1, 0);
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), Keys{0});
    driver::CLICKHEADING("L", 1, 0);
    driver::CLICKHEADING("L", 1, 0);
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), Keys{0});  // kept, now at the bottom, in view
    driver::CLICKROW("L", 1, 0);
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), Keys{99999});
    EXPECT_LE(fetched, 1024);
}

TEST_F(ListView, SeveralRowsStaySelectedThroughSortAndNewSourceUntilNotShown) {
    open("TM");
    driver::CLICKROW("L", 1, 0);
    driver::CLICKROW("L", 1, 2, "Shift");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{0, 1, 2}));
    driver::CLICKROW("L", 1, 1, "Ctrl");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{0, 2}));
    driver::CLICKHEADING("L", 1, 0);
    EXPECT_EQ(driver::SHOWNROWS("L", 1).front(), "Acme|1200|12");
    driver::CLICKHEADING("L", 1, 0);
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{2, 0}));
    const int changes = count(1, EZ_MSG_CHANGE);
    shown = {3, 0, 1};
    EZ_SETLISTSOURCE("L", 1, source());
    EXPECT_EQ(driver::SHOWNROWS("L", 1), (std::vector<std::string>{"bravo|950|n/a", "alpha|-|40", "Acme|1200|12"}));
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{0}));
    EXPECT_EQ(EZ_LISTSELECTEDCOUNT("L", 1), 1);
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
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{2}));
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 0);
    driver::PRESS("L", 1, "Enter");
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 1);
    driver::CLICKROW("L", 1, 3, "Double");
    EXPECT_EQ(count(1, EZ_MSG_CLICK), 2);
    EZ_SETLISTSELECTION("L", 1, {0, 1});
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{0}));
    driver::PRESS("L", 1, "Down");
    EXPECT_EQ(EZ_GETLISTSELECTION("L", 1), (Keys{1}));
}

TEST_F(ListView, SaveQuestionAddsTheExtensionOrGivesNothingWhenCancelled) {
    const std::string base = folder + "/";
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
