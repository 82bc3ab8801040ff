#include "tests/support/fixture.h"

#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "platform/help_viewer.h"
#include "stations/tables.h"

void startTestApplication() {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    STARTUPDISPLAY();
}

void closeAllForms() {
    // The program's close handlers may refuse; a test's end must not.
    EZ_GUIINIT(nullptr, nullptr);
    for (int round = 0; round < 5; ++round) {
        std::string form = EZ_CURRENTFORM();
        if (form.empty()) break;
        EZ_UNLOADFORM(form);
        driver::SETTLE();
    }
    OS_HELPCLOSE();
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
}

std::string helpShownAfter(const std::function<void()>& action) {
    OS_HELPCLOSE();
    action();
    if (!OS_HELPVISIBLE()) return "";
    if (OS_HELPTEXT().find("There is no help for this item.") != std::string::npos) return "(no help)";
    return OS_HELPPAGE();
}

void LayerTest::SetUp() {
    seen.clear();
    design = nullptr;
    react = nullptr;
    EZ_GUIINIT(
        [](const std::string& form, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
            seen.push_back({form, id, message, value});
            if (react) react(form, id, message, value, cancel);
        },
        [](const std::string& form) {
            if (design) design(form);
        });
}

void LayerTest::TearDown() {
    react = nullptr;
    closeAllForms();
    design = nullptr;
}

int LayerTest::count(int32_t id, int32_t message) const {
    int n = 0;
    for (const Seen& event : seen)
        if (event.id == id && event.message == message) ++n;
    return n;
}

void HostFormTest::SetUp() {
    EZ_FORM("HOST", "", "Host", 0, 0, 60, 30, "C");
    driver::SETTLE();
}

void HostFormTest::TearDown() { closeAllForms(); }

void CalculatorTest::SetUp() {
    StationCalls.fill("");
    StationCume.fill("");
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    EZ_RI_Display("");
    driver::SETTLE();
}

void CalculatorTest::TearDown() { closeAllForms(); }

void typeWorkedExample() {
    const std::pair<int32_t, const char*> typed[] = {
        {RI::BUDGET, "1000"}, {RI::ROI, "7"}, {RI::MARGIN, "50"}, {RI::AVERAGE_SALE, "100"}, {RI::CLOSING_RATIO, "20"}};
    for (const auto& [id, text] : typed) driver::TYPE("RI", id, text);
    driver::FOCUS("RI", RI::CUSTOMER);
}
