#include "tests/support/fixture.h"

#include <QDir>
#include <tuple>

#include "analyses/saving.h"
#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/options.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "platform/help_viewer.h"
#include "print/ddoc.h"
#include "stations/tables.h"
#include "update/addresses.h"
#include "update/check.h"

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

namespace {

// The process-wide values a test may change.
auto processValues() {
    return std::tie(IniFile, VersionFileUrl, UpdatePublicKey, UpdatePending, MajorUpgrade, OfferDeclined,
                    InstallerFile, UpdateVersionText, StationCalls, StationCume, Options);
}

}  // namespace

void ProgramTest::SetUp() {
    ASSERT_TRUE(scratch.isValid());
    putBack = [saved = std::apply([](auto&... value) { return std::make_tuple(value...); }, processValues())] {
        processValues() = saved;
    };
    useFolder(QDir(scratch.path()).canonicalPath().toStdString());
    key = makeTestKey();
    UpdatePublicKey = key.publicKey;
    UpdatePending = MajorUpgrade = OfferDeclined = false;
    InstallerFile.clear();
    UpdateVersionText.clear();
    StationCalls.fill("");
    StationCume.fill("");
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
}

void ProgramTest::TearDown() {
    closeAllForms();
    CLOSEANALYSES();
    DD_RENDERTOPDF("");
    driver::PROGRAMFOLDER("");
    putBack();
}

void ProgramTest::useFolder(const std::string& path) {
    folder = path;
    driver::PROGRAMFOLDER(folder);
    IniFile = folder + "/Tarvex.ini";
    WRITEINI(IniFile, "Options", "AutoUpdate", "0");
}

QString ProgramTest::path(const QString& name) const { return QDir(QString::fromStdString(folder)).filePath(name); }

void LayerTest::SetUp() {
    ProgramTest::SetUp();
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

int LayerTest::count(int32_t id, int32_t message) const {
    int n = 0;
    for (const Seen& event : seen)
        if (event.id == id && event.message == message) ++n;
    return n;
}

void HostFormTest::SetUp() {
    ProgramTest::SetUp();
    EZ_FORM("HOST", "", "Host", 0, 0, 60, 30, "C");
    driver::SETTLE();
}

void CalculatorTest::SetUp() {
    ProgramTest::SetUp();
    EZ_RI_Display("");
    driver::SETTLE();
}

bool inForm(const std::string& form, const std::function<void()>& open, std::function<void()> act, int timeoutMs) {
    const auto answer = driver::WHENOPEN(form, std::move(act), timeoutMs);
    open();
    return answer->answered && !answer->timedOut;
}

void typeWorkedExample() {
    const std::pair<int32_t, const char*> typed[] = {
        {RI::BUDGET, "1000"}, {RI::ROI, "7"}, {RI::MARGIN, "50"}, {RI::AVERAGE_SALE, "100"}, {RI::CLOSING_RATIO, "20"}};
    for (const auto& [id, text] : typed) driver::TYPE("RI", id, text);
    driver::FOCUS("RI", RI::CUSTOMER);
}
