// Takes the screenshots in docs/screenshots: the real forms on a real X display (run under
// xvfb-run), filled in by the test driver and captured with ImageMagick's import.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "about/about_box_ids.h"
#include "analyses/compare_ids.h"
#include "analyses/saved_analyses_ids.h"
#include "analyses/saving.h"
#include "analyses/scenario_ids.h"
#include "app/routing.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/print_analysis.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "installer/payload.h"
#include "installer/window.h"
#include "installer/window_ids.h"
#include "msgbox/message_box.h"
#include "msgbox/message_box_ids.h"
#include "print/ddoc.h"
#include "stations/station_editor_ids.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"
#include "tests/support/raw_server.h"
#include "tests/support/update_server.h"
#include "update/check.h"
#include "update/information_window_ids.h"
#include "update/installation.h"
#include "update/updating_window.h"
#include "update/updating_window_ids.h"
#include "update/web_get.h"

namespace {

std::string folder;

void capture(const std::string& name) {
    driver::SETTLE();
    QProcess::execute("import", {"-window", "root", QString::fromStdString(folder + "/" + name)});
    QProcess::execute("convert", {QString::fromStdString(folder + "/" + name), "-trim", "+repage",
                                  QString::fromStdString(folder + "/" + name)});
}

// The worked example for a client, typed as a sales rep would.
void typeClient() {
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly / WAAA");
    driver::TYPE("RI", RI::BUDGET, "1000");
    driver::TYPE("RI", RI::ROI, "7");
    driver::TYPE("RI", RI::MARGIN, "50");
    driver::TYPE("RI", RI::AVERAGE_SALE, "100");
    driver::TYPE("RI", RI::CLOSING_RATIO, "20");
}

void calculatorWithWorkedExample() {
    StationCalls = {"WAAA", "", "", "", "", "", "", ""};
    StationCume = {"10000", "", "", "", "", "", "", ""};
    EZ_RI_Display("");
    driver::SETTLE();
    typeClient();
    driver::TYPE("RI", RI::COMMENTS, "Spring sale schedule, 24 spots a week.");
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::FOCUS("RI", RI::CUSTOMER);
}

// Four stations typed into the editor, then the calculator showing their rows.
void stationEditorWithFourStations() {
    QTemporaryDir scratch;
    IniFile = QDir(scratch.path()).filePath("Tarvex.ini").toStdString();
    StationCalls.fill("");
    StationCume.fill("");
    EZ_RI_Display("");
    driver::SETTLE();
    driver::WHENOPEN("SE", [] {
        const char* names[] = {"WAAA", "KBEST", "WROCK FM", "Z-100"};
        const char* cumes[] = {"10000", "24500", "8750", "61200"};
        for (int row = 0; row < 4; ++row) {
            driver::TYPE("SE", SE::STATIONBOX(1) + 10 * row, names[row]);
            driver::TYPE("SE", SE::CUMEBOX(1) + 10 * row, cumes[row]);
        }
        driver::FOCUS("SE", SE::STATIONBOX(5));
        capture("station-editor.png");
        // A station without a cume is named before "&OK" drops it; going back keeps it to fix.
        driver::TYPE("SE", SE::STATIONBOX(5), "WJAZ");
        driver::WHENOPEN("DGMSGBOX1", [] {
            capture("stations-without-cume.png");
            driver::CLICK("DGMSGBOX1", MSGBOX::BUTTON(2));
        });
        driver::CLICK("SE", SE::OK_BUTTON);
        EZ_SETTEXT("SE", SE::STATIONBOX(5), "");
        driver::CLICK("SE", SE::OK_BUTTON);
    });
    driver::CHOOSEMENU("RI", RI::MENU_STATIONS);
    typeClient();
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::CLICK("RI", RI::TICKBOX(3));
    driver::FOCUS("RI", RI::CUSTOMER);
    capture("calculator-stations.png");
    IniFile.clear();
}

// Both pages of the About box, with the program's own history.
void aboutBox() {
    driver::PROGRAMFOLDER(TARVEX_PROGRAM_DIR);
    EZ_RI_Display("");
    driver::SETTLE();
    driver::WHENOPEN("AB", [] {
        capture("about-info.png");
        driver::CLICK("AB", AB::HISTORY_BUTTON);
        capture("about-history.png");
        driver::CLICK("AB", AB::CLOSE_BUTTON);
    });
    driver::CHOOSEMENU("RI", RI::MENU_ABOUT);
    driver::PROGRAMFOLDER("");
}

// The "Updating..." window in the middle of a download from a local server that stops sending, once
// it says that it is waiting for the server.
void updatingWindow() {
    RawServer server({{RawServer::send("HTTP/1.0 200 OK\r\nContent-Length: 45000000\r\n\r\n"),
                       RawServer::body(12400000), RawServer::hold(20000)}});
    QTemporaryDir scratch;
    EZ_RI_Display("");
    driver::SETTLE();
    EZ_HIDEFORM("RI");
    EZ_ZD_Display("RI");
    QTimer::singleShot(3500, [] {
        capture("updating.png");
        driver::CLICK("ZD", ZD::CANCEL_BUTTON);
    });
    ZUWEBGET(server.host(), "/TarvexSetup.exe", 1, "", "", QDir(scratch.path()).filePath("TarvexSetup.exe").toStdString());
    EZ_UNLOADFORM("ZD");
}

// The installer's window over a copy in a user's folder, once whole and once damaged.
void installerWindows() {
    QTemporaryDir scratch;
    const QDir base(scratch.path());
    base.mkpath("program");
    base.mkpath("Tarvex");
    for (const char* file : {"program/Tarvex", "Tarvex/Tarvex", "Tarvex/Tarvex.ini"}) {
        QFile made(base.filePath(file));
        made.open(QIODevice::WriteOnly);
        made.write("#!/bin/sh\n");
    }
    const std::string run = base.filePath("Tarvex/TarvexSetup-3.0.2.0.run").toStdString();
    std::string problem;
    PACKPROGRAM(TARVEX_SETUP, base.filePath("program").toStdString(), "3.0.2.0", run, problem);
    EZ_GUIINIT(INSTALLER_EVENTS, INSTALLER_DESIGN);
    EZ_IN_Display(run);
    driver::WAITFOR([] { return false; }, 500);  // the window manager maps and paints it
    capture("installer.png");
    driver::CLICK("IN", IN::CANCEL_BUTTON);
    QFile damaged(QString::fromStdString(run));
    damaged.open(QIODevice::ReadWrite);
    damaged.seek(damaged.size() - 100);
    damaged.write("x");
    damaged.close();
    EZ_IN_Display(run);
    driver::WAITFOR([] { return false; }, 500);
    capture("installer-damaged.png");
    driver::CLICK("IN", IN::CANCEL_BUTTON);
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
}

// The offer of a newer version from a local server, then, after the update, the congratulation
// and what is new.
void updateNotices() {
    QTemporaryDir scratch;
    driver::PROGRAMFOLDER(scratch.path().toStdString());
    IniFile = QDir(scratch.path()).filePath("Tarvex.ini").toStdString();
    WRITEINI(IniFile, "Options", "AutoUpdate", "0");
    QFile::copy(QDir(TARVEX_PROGRAM_DIR).filePath("Release Notes.rtf"), QDir(scratch.path()).filePath("Release Notes.rtf"));
    RawServer server(
        {{RawServer::send(okResponse("dl.tarvex.invalid /TarvexSetup.exe TarvexSetup.exe\r\n3.0.2.0"))}});
    EZ_RI_Display("");
    driver::SETTLE();
    driver::WHENOPEN("DGMSGBOX1", [] {
        capture("update-offer.png");
        driver::CLICK("DGMSGBOX1", MSGBOX::BUTTON(2));
    });
    CHECKFORUPDATE("RI", "http://" + server.host() + "/TarvexVersion.txt", ProgramVersion, 0, 0);
    WRITEINI(QDir(scratch.path()).filePath("Updater.ini").toStdString(), "Program", "NewVersion", "3.0.2.0");
    driver::WHENOPEN("DGMSGBOX1", [] {
        capture("update-complete.png");
        driver::WHENOPEN("WN", [] {
            capture("update-information.png");
            driver::CLICK("WN", WN::CLOSE_BUTTON);
        });
        driver::CLICK("DGMSGBOX1", MSGBOX::BUTTON(1));
    });
    ISUPDATED();
    driver::PROGRAMFOLDER("");
    IniFile.clear();
}

// A printed page rendered to a PDF file and from there to a picture of the paper.
void capturePage(const std::string& name) {
    QTemporaryDir scratch;
    const QString pdf = QDir(scratch.path()).filePath("page.pdf");
    DD_RENDERTOPDF(pdf.toStdString());
    PRINTROUTINE();
    const QString base = QString::fromStdString(folder + "/" + name);
    QProcess::execute("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, base});
}

// The printed page with what used to run off the paper or over other texts: long names, a wide
// return, a long station name, comments too long for the page; then one whose schedule needs more
// responses than the stations reach; the calculator before a station is ticked, with no closing
// ratio, which cannot print, and with an "x" typed after the average sale.
void printedPages() {
    EZ_RI_Display("");
    driver::SETTLE();
    StationCalls = {"WXYZ-FM SUPERSTATION 1", "KBEST", "", "", "", "", "", ""};
    StationCume = {"10000", "24500", "", "", "", "", "", ""};
    SHOWSTATIONS();
    EZ_SETTEXT("RI", RI::CUSTOMER,
               "The Greater Metropolitan Area Independent Automobile Dealers Association, Springs");
    EZ_SETTEXT("RI", RI::SALESREP,
               "Patricia Kelly-Montgomery, Senior Account Executive for WAAA-FM, WBBB-AM and the whole "
               "Metropolitan Radio Group");
    driver::TYPE("RI", RI::BUDGET, "25000");
    driver::TYPE("RI", RI::ROI, "150");
    driver::TYPE("RI", RI::MARGIN, "40");
    driver::TYPE("RI", RI::AVERAGE_SALE, "350");
    driver::TYPE("RI", RI::CLOSING_RATIO, "15");
    driver::FOCUS("RI", RI::CUSTOMER);
    std::string comments;
    while (comments.size() < 4000)
        comments += "Spring schedule: twenty-four spots a week in drive time, with live reads on Saturdays. ";
    EZ_SETTEXT("RI", RI::COMMENTS, comments.substr(0, 4000));
    capture("calculator-print-waits.png");
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::CLICK("RI", RI::TICKBOX(2));
    capturePage("analysis-long-texts");
    EZ_SETTEXT("RI", RI::CLOSING_RATIO, "1");
    EZ_SETTEXT("RI", RI::COMMENTS,
               "At a closing ratio of 1% the schedule needs more responses than either station reaches.");
    capturePage("analysis-beyond-audience");
    EZ_SETTEXT("RI", RI::CLOSING_RATIO, "0");
    capture("calculator-no-closing-ratio.png");
    driver::PRESS("RI", RI::AVERAGE_SALE, "End");
    driver::TYPE("RI", RI::AVERAGE_SALE, "x");
    driver::FOCUS("RI", RI::CLOSING_RATIO);
    capture("calculator-ignored-figure.png");
}

// Packages of three clients saved, the list narrowed to one client, and two packages compared.
void savedAnalyses() {
    QTemporaryDir scratch;
    driver::PROGRAMFOLDER(scratch.path().toStdString());
    IniFile = QDir(scratch.path()).filePath("Tarvex.ini").toStdString();
    EZ_RI_Display("");
    driver::SETTLE();
    StationCalls = {"KBEST", "Z-100", "WXYZ", "", "", "", "", ""};
    StationCume = {"10000", "24500", "50000", "", "", "", "", ""};
    SHOWSTATIONS();
    const struct {
        const char *customer, *budget, *roi, *scenario;
        int32_t tick;
    } packages[] = {{"Main Street Motors", "1000", "7", "Light schedule", 225},
                    {"Main Street Motors", "2500", "7", "Medium schedule", 235},
                    {"Main Street Motors", "4000", "10", "Heavy schedule", 245},
                    {"Elm Street Cafe", "600", "5", "Weekend lunch", 225},
                    {"Harbor Furniture", "3200", "8", "Spring clearance", 245}};
    for (const auto& p : packages) {
        const std::pair<int32_t, std::string> fields[] = {
            {135, p.customer}, {140, "Pat Kelly / WAAA"}, {145, p.budget}, {150, p.roi}, {155, "50"}, {160, "100"},
            {165, "20"}};
        for (const auto& [id, text] : fields) {
            EZ_SETTEXT("RI", id, "");
            driver::TYPE("RI", id, text);
        }
        if (EZ_GETCHECK("RI", p.tick) == 0) driver::CLICK("RI", p.tick);
        driver::WHENOPEN("SN", [&] {
            driver::TYPE("SN", SN::NAME, p.scenario);
            driver::PRESS("SN", SN::NAME, "Enter");
        });
        driver::PRESS("RI", RI::COMMENTS, "Ctrl+S");
    }
    capture("calculator-saved.png");
    driver::WHENOPEN("SA", [] {
        driver::TYPE("SA", SA::SEARCH, "main");
        driver::CLICKROW("SA", SA::LIST, 0);
        driver::CLICKROW("SA", SA::LIST, 2, "Ctrl");
        capture("saved-analyses.png");
        driver::WHENOPEN("CA", [] {
            capture("compare-analyses.png");
            driver::CLICK("CA", CA::CLOSE_BUTTON);
        });
        driver::CLICK("SA", SA::COMPARE_BUTTON);
        driver::CLICK("SA", SA::CLOSE_BUTTON);
    });
    driver::PRESS("RI", RI::COMMENTS, "Ctrl+O");
    closeAllForms();
    CLOSEANALYSES();
    driver::PROGRAMFOLDER("");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    folder = argc > 1 ? argv[1] : ".";
    startTestApplication();
    calculatorWithWorkedExample();
    capture("calculator.png");

    driver::WHENOPEN("DGMSGBOX1", [] {
        capture("clear-question.png");
        driver::CLICK("DGMSGBOX1", MSGBOX::BUTTON(2));
    });
    driver::CLICK("RI", RI::CLEAR_BUTTON);

    driver::WHENOPEN("DGMSGBOX1", [] {
        capture("message-box.png");
        driver::CLICK("DGMSGBOX1", MSGBOX::BUTTON(3));
    });
    DGMSGBOX("RI", "Program Update", "A newer version of Tarvex is available.{f7}",
             "Version 3.1 brings new station reports.|Would you like to download it now?{f6}",
             "Don't remind me about this version", "*{R,f7,w9}|&Download|&Later|&Web Page{3}", "", 1, "C");
    closeAllForms();

    stationEditorWithFourStations();
    closeAllForms();
    aboutBox();
    closeAllForms();
    updatingWindow();
    closeAllForms();
    updateNotices();
    closeAllForms();
    printedPages();
    closeAllForms();
    savedAnalyses();
    closeAllForms();
    installerWindows();
    return 0;
}
