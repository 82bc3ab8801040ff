#include "tests/support/update_fixture.h"

#include <QDir>

#include "app/routing.h"
#include "calc/calculator_form.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"
#include "update/check.h"

void UpdateOverCalculatorTest::SetUp() {
    ASSERT_TRUE(scratch.isValid());
    useFolder(QDir(scratch.path()).canonicalPath().toStdString());
    savedUrl = VersionFileUrl;
    savedKey = UpdatePublicKey;
    key = makeTestKey();
    UpdatePublicKey = key.publicKey;
    UpdatePending = MajorUpgrade = OfferDeclined = false;
    InstallerFile.clear();
    UpdateVersionText.clear();
    StationCalls.fill("");
    StationCume.fill("");
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    EZ_RI_Display("");
    driver::SETTLE();
}

void UpdateOverCalculatorTest::TearDown() {
    closeAllForms();
    driver::PROGRAMFOLDER("");
    IniFile.clear();
    VersionFileUrl = savedUrl;
    UpdatePublicKey = savedKey;
}

void UpdateOverCalculatorTest::useFolder(const std::string& path) {
    folder = path;
    driver::PROGRAMFOLDER(folder);
    IniFile = folder + "/Tarvex.ini";
    WRITEINI(IniFile, "Options", "AutoUpdate", "0");
}
