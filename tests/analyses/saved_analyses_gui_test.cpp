// Saving packages, finding and opening them again, renaming, deleting, comparing, exporting:
// the calculator and the two windows driven as a rep would.
#include <QDir>
#include <QFile>
#include <cctype>
#include <map>
#include <set>

#include "about/about_box_ids.h"
#include "analyses/compare_ids.h"
#include "analyses/saved_analyses_ids.h"
#include "analyses/saving.h"
#include "analyses/scenario_ids.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "msgbox/message_box_ids.h"
#include "platform/help_viewer.h"
#include "print/ddoc.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/printed_page.h"
#include "update/information_window.h"
#include "update/information_window_ids.h"
#include "update/updating_window.h"
#include "update/updating_window_ids.h"

namespace {

class SavedAnalysesTest : public CalculatorTest {
protected:
    void SetUp() override {
        CalculatorTest::SetUp();
        StationCalls = {"KBEST", "Z-100", "", "", "", "", "", ""};
        StationCume = {"10000", "24500", "", "", "", "", "", ""};
        SHOWSTATIONS();
    }

    void typeFigures(const std::string& customer, const std::string& budget) {
        retype(135, customer);
        retype(140, "Pat Kelly / WAAA");
        for (const auto& [id, text] : {std::pair{145, budget}, {150, "7"}, {155, "50"}, {160, "100"}, {165, "20"}})
            retype(id, text);
        driver::FOCUS("RI", RI::COMMENTS);
    }

    // A figure typed over the one the field shows.
    void retype(int32_t id, const std::string& text) {
        EZ_SETTEXT("RI", id, "");
        driver::TYPE("RI", id, text);
    }

    // Ctrl+S, the scenario's name typed over the one offered; returns the name offered.
    std::string save(const std::string& scenario) {
        std::string offered;
        driver::WHENOPEN("SN", [&] {
            offered = EZ_GETTEXT("SN", SN::NAME);
            if (!scenario.empty()) driver::TYPE("SN", SN::NAME, scenario);
            driver::PRESS("SN", SN::NAME, "Enter");
        });
        driver::PRESS("RI", RI::COMMENTS, "Ctrl+S");
        return offered;
    }

    // The saved analyses window opened with Ctrl+O while a test acts in it.
    void inList(const std::function<void()>& action) {
        driver::WHENOPEN("SA", action);
        driver::PRESS("RI", RI::COMMENTS, "Ctrl+O");
    }
};

TEST_F(SavedAnalysesTest, PackagesAreSavedFoundOpenedRenamedAndDeleted) {
    typeFigures("Main Street Motors", "1000");
    driver::CLICK("RI", RI::TICKBOX(1));
    EXPECT_EQ(save("Light"), "$1,000.00 at 7.0%");
    // Ctrl+S says what it saved and for whom, until the next edit.
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), " Saved \"Light\" for Main Street Motors.");
    retype(145, "3000");
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), " Copyright \u00a9 Tarvex. All rights reserved.");
    driver::CLICK("RI", RI::TICKBOX(2));
    save("Heavy");
    typeFigures("Elm Street Cafe", "500");
    save("");
    {
        // The same customer and scenario again: replaced after asking; no customer: nothing saved.
        Boxes boxes({clickButton(1), clickButton(1)});
        typeFigures("Main Street Motors", "1500");
        save("Light");
        retype(135, "");
        driver::PRESS("RI", RI::COMMENTS, "Ctrl+S");
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[0].title, "Replace Analysis?");
        EXPECT_EQ(boxes.shown[1].title, "Analysis Not Saved");
    }
    EXPECT_FALSE(EZ_FORMEXISTS("SN"));

    // The program closed and started again finds them by typing.
    closeAllForms();
    CLOSEANALYSES();
    SetUp();
    inList([] {
        EXPECT_EQ(EZ_GETFOCUS("SA"), SA::SEARCH);
        EXPECT_EQ(driver::SHOWNROWS("SA", SA::LIST).size(), 3u);
        driver::TYPE("SA", SA::SEARCH, "MAIN hea");
        const std::vector<std::string> rows = driver::SHOWNROWS("SA", SA::LIST);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_TRUE(rows[0].starts_with("Main Street Motors|Heavy|")) << rows[0];
        EXPECT_TRUE(rows[0].ends_with("|$3,000.00|$6,420.00|321.0")) << rows[0];
        EXPECT_EQ(EZ_GETTEXT("SA", SA::COUNT), "1 of 3 analyses");
        driver::CLICKROW("SA", SA::LIST, 0, "Double");
    });
    EXPECT_FALSE(EZ_FORMEXISTS("SA"));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::CUSTOMER), "Main Street Motors");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), "$3,000.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::RESPONSES), "321.0");
    EXPECT_EQ(EZ_GETCHECK("RI", RI::TICKBOX(1)) + 2 * EZ_GETCHECK("RI", RI::TICKBOX(2)), 3);

    // Rename the Cafe's package, then delete it.
    inList([] {
        driver::TYPE("SA", SA::SEARCH, "cafe");
        driver::CLICKROW("SA", SA::LIST, 0);
        driver::WHENOPEN("SN", [] {
            driver::TYPE("SN", SN::NAME, "Summer");
            driver::CLICK("SN", SN::OK_BUTTON);
        });
        driver::CLICK("SA", SA::RENAME_BUTTON);
        EXPECT_NE(driver::SHOWNROWS("SA", SA::LIST).at(0).find("|Summer|"), std::string::npos);
        Boxes boxes({clickButton(1)});
        driver::CLICK("SA", SA::DELETE_BUTTON);
        EXPECT_EQ(boxes.shown.at(0).title + "|" + boxes.shown.at(0).text1,
                  "Delete Analyses?|Delete the analysis \"Summer\" of Elm Street Cafe?");
        EXPECT_EQ(EZ_GETTEXT("SA", SA::COUNT), "0 of 2 analyses");
        driver::CLICK("SA", SA::CLOSE_BUTTON);
    });
}

TEST_F(SavedAnalysesTest, TwoPackagesAreComparedPrintedAndExported) {
    typeFigures("Main Street Motors", "1000");
    driver::CLICK("RI", RI::TICKBOX(1));
    save("Light");
    retype(145, "3000");
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), " Copyright \u00a9 Tarvex. All rights reserved.");
    driver::CLICK("RI", RI::TICKBOX(2));
    save("Heavy");
    const QString pdf = path("comparison.pdf");
    const QString csv = path("packages");
    inList([&] {
        driver::CLICKROW("SA", SA::LIST, 0);
        driver::CLICKROW("SA", SA::LIST, 1, "Shift");
        driver::WHENOPEN("CA", [&] {
            // Row 5 is the investment, the only input that differs; the customer's row does not.
            const std::set<std::string> budgets = {EZ_GETTEXT("CA", CA::CELL(5, 1)), EZ_GETTEXT("CA", CA::CELL(5, 2))};
            EXPECT_EQ(budgets, (std::set<std::string>{"$1,000.00", "$3,000.00"}));
            EXPECT_NE(driver::ACCESSIBLENAME("CA", CA::CELL(5, 1)).find("differs"), std::string::npos);
            EXPECT_EQ(driver::ACCESSIBLENAME("CA", CA::CELL(1, 1)).find("differs"), std::string::npos);
            DD_RENDERTOPDF(pdf.toStdString());
            driver::CLICK("CA", CA::PRINT_BUTTON);
            driver::PRESS("CA", CA::CLOSE_BUTTON, "Escape");
        });
        driver::CLICK("SA", SA::COMPARE_BUTTON);
        driver::WHENSAVEFILE(csv.toStdString());
        driver::CLICK("SA", SA::EXPORT_BUTTON);
        // Deleting both names both; "&No" keeps them.
        Boxes boxes({clickButton(2)});
        driver::CLICK("SA", SA::DELETE_BUTTON);
        EXPECT_EQ(boxes.shown.at(0).text1, "Delete these 2 analyses?");
        for (const char* named : {"Main Street Motors: Heavy|", "Main Street Motors: Light|"})
            EXPECT_NE(boxes.shown.at(0).text2.find(named), std::string::npos) << boxes.shown.at(0).text2;
        driver::CLICK("SA", SA::CLOSE_BUTTON);
    });
    const QString page = runTool("pdftotext", {"-layout", pdf, "-"});
    for (const char* text : {"Comparison of Advertising Packages", "Heavy", "Light", "$3,000.00", "$1,000.00",
                             "Z-100 share of audience"})
        EXPECT_TRUE(page.contains(text)) << text;
    QFile exported(csv + ".csv");
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(exported.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.filter("Main Street Motors,Pat Kelly / WAAA,Light,").value(0).contains(
        ",\"$1,000.00\",7.0,50.0,$100.00,20.0,\"$1,070.00\",\"$2,140.00\",21.40,107.0,KBEST 01.070%,"))
        << lines.join("\n").toStdString();
}

// "&Open" over figures changed since the last save asks first: Escape keeps them, "&No" drops
// them, "&Yes" saves them under a name of their own before the other analysis opens.
TEST_F(SavedAnalysesTest, OpeningOverChangedFiguresOffersToSaveThem) {
    typeFigures("Main Street Motors", "1000");
    save("Light");
    const auto saveAsMid = [] {
        driver::WHENOPEN("SN", [] {
            driver::TYPE("SN", SN::NAME, "Mid");
            driver::PRESS("SN", SN::NAME, "Enter");
        });
        clickButton(1)();
    };
    const struct {
        const char* name;
        std::function<void()> answer;  // none: nothing changed, no question
        const char* budget;            // the calculator's afterwards
        size_t saved;
    } cases[] = {{"unchanged", nullptr, "$1,000.00", 1},
                 {"escape", [] { driver::PRESS("DGMSGBOX1", 0, "Escape"); }, "$2,000.00", 1},
                 {"no", clickButton(2), "$1,000.00", 1},
                 {"yes", saveAsMid, "$1,000.00", 2}};
    for (const auto& c : cases) {
        if (c.answer) retype(145, "2000");
        driver::FOCUS("RI", RI::COMMENTS);
        Boxes boxes(c.answer ? std::vector<std::function<void()>>{c.answer}
                             : std::vector<std::function<void()>>{});
        size_t rows = 0;
        inList([&] {
            rows = driver::SHOWNROWS("SA", SA::LIST).size();
            driver::CLICKROW("SA", SA::LIST, 0);
            driver::CLICK("SA", SA::OPEN_BUTTON);
            if (EZ_FORMEXISTS("SA")) driver::CLICK("SA", SA::CLOSE_BUTTON);
        });
        EXPECT_EQ(boxes.shown.size(), c.answer ? 1u : 0u) << c.name;
        if (!boxes.shown.empty()) {
            EXPECT_EQ(boxes.shown[0].title, "Changes Not Saved") << c.name;
        }
        EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), c.budget) << c.name;
        EXPECT_EQ(rows, 1u) << c.name;
        EXPECT_EQ(LISTANALYSES().size(), c.saved) << c.name;
    }
}

// Each form as it opens: no Alt letter serves two captions of one group, and F1 opens the form's
// topic, in "Saved Analyses" that of the focused button (none in a message box).
void walk(const std::string& form, int32_t focus, const std::string& page) {
    for (const std::vector<std::string>& group : driver::KEYGROUPS(form)) {
        std::map<char, std::string> taken;
        for (const std::string& caption : group) {
            const size_t at = caption.find('&');
            if (at == std::string::npos || at + 1 == caption.size()) continue;
            const auto [first, fresh] = taken.emplace(
                static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1]))), caption);
            EXPECT_TRUE(fresh) << form << ": \"" << caption << "\" and \"" << first->second << "\"";
        }
    }
    driver::FOCUS(form, focus);
    EXPECT_EQ(helpShownAfter([&] { driver::PRESS(form, focus, "F1"); }), page) << form << " " << focus;
}

TEST_F(SavedAnalysesTest, EveryFormHasDistinctAccessLettersAndItsHelpTopic) {
    HelpFile = TARVEX_HELP_FILE;
    typeFigures("Main Street Motors", "1000");
    save("Light");
    const auto compare = [] {
        driver::CLICKROW("SA", SA::LIST, 0);
        walk("SA", SA::EXPORT_BUTTON, "/exporting.htm");
        driver::CLICKROW("SA", SA::LIST, 1, "Shift");
        walk("SA", SA::COMPARE_BUTTON, "/comparing.htm");
        driver::WHENOPEN("CA", [] {
            walk("CA", CA::CLOSE_BUTTON, "/comparing.htm");
            driver::CLOSEBOX("CA");
        });
        driver::CLICK("SA", SA::COMPARE_BUTTON);
    };
    const struct {
        std::string form;
        int32_t focus;
        const char* page;
        std::function<void()> open, inside;
    } forms[] = {
        {"SN", SN::NAME, "/saving.htm", [] { driver::PRESS("RI", RI::COMMENTS, "Ctrl+S"); },
         [] {
             driver::TYPE("SN", SN::NAME, "Heavy");
             driver::PRESS("SN", SN::NAME, "Enter");
         }},
        {"SE", 120, "/station_editor.htm", [] { driver::CHOOSEMENU("RI", RI::MENU_STATIONS); }, nullptr},
        {"AB", AB::CLOSE_BUTTON, "/getting_started.htm", [] { driver::CHOOSEMENU("RI", RI::MENU_ABOUT); },
         nullptr},
        {"DGMSGBOX1", MSGBOX::BUTTON(2), "", [] { driver::CLICK("RI", RI::CLEAR_BUTTON); }, nullptr},
        {"WN", WN::CLOSE_BUTTON, "/updating.htm", [] { EZ_WN_Display("RI"); }, nullptr},
        {"SA", SA::SEARCH, "/opening.htm", [] { driver::PRESS("RI", RI::COMMENTS, "Ctrl+O"); }, compare}};
    driver::HOVER("RI", 0);
    walk("RI", RI::CUSTOMER, "/inputs.htm");
    for (const auto& f : forms) {
        const auto answer = driver::WHENOPEN(f.form, [&] {
            walk(f.form, f.focus, f.page);
            if (f.inside) f.inside();
            if (EZ_FORMEXISTS(f.form)) driver::CLOSEBOX(f.form);
        });
        f.open();
        EXPECT_TRUE(answer->answered && !answer->timedOut) << f.form;
    }
    EZ_ZD_Display("RI");
    walk("ZD", ZD::CANCEL_BUTTON, "/updating.htm");
    OS_HELPCLOSE();
    EXPECT_EQ(LISTANALYSES().size(), 2u);
}

TEST_F(SavedAnalysesTest, ASavedStationNoLongerKeptIsNamed) {
    typeFigures("Main Street Motors", "1000");
    driver::CLICK("RI", RI::TICKBOX(2));
    save("Light");
    StationCalls = {"KBEST", "", "", "", "", "", "", ""};
    StationCume = {"10000", "", "", "", "", "", "", ""};
    SHOWSTATIONS();
    Boxes boxes({clickButton(1)});
    inList([] {
        driver::CLICKROW("SA", SA::LIST, 0);
        driver::CLICK("SA", SA::OPEN_BUTTON);
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Stations Not in Your List");
    EXPECT_EQ(boxes.shown[0].text2, "Z-100 (ticked)");
}

}  // namespace
