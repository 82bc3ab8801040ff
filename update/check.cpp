#include "update/check.h"

#include <optional>

#include "base/number_reader.h"
#include "base/text.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "platform/file_digest.h"
#include "platform/files.h"
#include "platform/http_request.h"
#include "platform/processes.h"
#include "update/base64.h"
#include "update/signature.h"
#include "update/updating_window.h"
#include "update/version_file.h"
#include "update/web_get.h"
#include "util/dates.h"

bool UpdatePending = false;
std::string InstallerFile;
bool MajorUpgrade = false;
bool OfferDeclined = false;
std::string DownloadHost, DownloadPath;
std::string UpdateVersionText;

namespace {

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Without the maker's signature a build with the key believes nothing the server says.
void tellUnverified(const std::string& formName) {
    int32_t answer = DGMSGBOX(formName, "Unable to Complete Update Check",
                              "The update information from the server could not be verified.{f10}",
                              "It was not sent by the maker of " + ProductName +
                                  ", so nothing was downloaded.|You can visit our web site to download the "
                                  "latest version of " +
                                  ProductName + ".{f6}",
                              "", "*{G,f7}|&Visit Web Site|&No, Thanks, I'm Good", "", 1, "C");
    if (answer == 1) VISITWEBSITE();
}

// The version the user asked not to be reminded of, or one older. Settings of earlier versions
// keep it as the number without dots.
bool IGNOREDVERSION(const std::string& version) {
    const std::string ignored = GETINI(IniFile, "Update", "Ignore", "0");
    if (VERSIONPARTS(ignored)) return !NEWERVERSION(version, ignored);
    return READNUMBER(ignored) >= static_cast<long double>(VERSIONNUMBER(version));
}

void tellRefused(const std::string& what) {
    DISPLAYMESSAGE("Download Error", what + "{f10}", "Nothing was installed.{f6}");
}

// Step 8 of the check: the installer fetched into the program folder and proved, or nothing.
int32_t downloadInstaller(const VersionFile& file, const std::string& versionText) {
    // What the server says is checked before anything is done with it.
    if (!DOWNLOADHOST(file.host) || !DOWNLOADPATH(file.path) || !PLAINFILENAME(file.fileName)) {
        tellRefused("The update information names a download that cannot be used.");
        return 0;
    }
    DownloadHost = file.host;
    DownloadPath = file.path;
    InstallerFile = EZ_APPPATH() + "/" + file.fileName;
    if (OS_FILEEXISTS(InstallerFile)) OS_DELETEFILE(InstallerFile);
    EZ_DOEVENTS();
    const std::string current = EZ_CURRENTFORM();
    EZ_HIDEFORM(current);
    EZ_ZD_Display(current);
    bool proved = false;
    // A signed size bounds the download: nothing beyond it is written.
    const int64_t signedSize = !UpdatePublicKey.empty() && file.size ? *file.size : 0;
    if (ZUWEBGET(DownloadHost, DownloadPath, 1, "", "", InstallerFile, signedSize) == 0) {
        proved = PROVEINSTALLER(InstallerFile, versionText);
        if (!proved) {
            OS_DELETEFILE(InstallerFile);
            tellRefused(
                "The downloaded file is not the installer that the update information names. It "
                "has been deleted.");
        }
    }
    if (proved) {
        if (!MajorUpgrade) {
            WRITEINI(IniFile, "Update", "Install", InstallerFile);
            WRITEINI(IniFile, "Update", "NewVer", file.version);
            WRITEINI(IniFile, "Update", "Failed", "1");
            WRITEINI(IniFile, "Update", "Verified", GET_BASE64(versionText));
        }
        UpdateVersionText = versionText;
        UpdatePending = true;
    }
    EZ_UNLOADFORM("ZD");
    // After a failed download the calculator comes back, rather than a program with no window.
    if (!proved) EZ_SHOWFORM(current);
    return proved ? 1 : 0;
}

// A failed request as a plain sentence, the library's own words after it.
std::string NETWORKFAILURE(const OS_HttpAnswer& answer) {
    const std::string words = " (" + answer.description + ", error " + std::to_string(answer.error) + ")";
    switch (answer.failure) {
        case OS_HttpFailure::NameNotFound: return "The server's name was not found." + words;
        case OS_HttpFailure::Refused: return "The server refused the connection." + words;
        case OS_HttpFailure::TimedOut: return "The server did not answer in time." + words;
        case OS_HttpFailure::CertificateRefused:
            return "The server's certificate was refused, so the connection could not be trusted." + words;
        default: return "A network error occurred." + words;
    }
}

// The body of the answer, or an empty text when none came (with a notice when showMessages).
std::string QUERYSERVER(const std::string& url, int32_t showMessages) {
    OS_HttpAnswer answer = OS_HTTPGET(url, ProductName, [] {
        EZ_DOEVENTS();
        return true;
    });
    if (!answer.arrived && showMessages != 0) {
        int32_t choice =
            ASKUSER("Unable to Complete Update Check",
                    ProductName + " could not reach the update server.|" + NETWORKFAILURE(answer) +
                        "|This might be due to a problem with your internet connection.{f10}",
                    answer.detail + "|You can visit our web site to download the latest version of " +
                        ProductName + ".{f6}",
                    "", "*{G,f7}|&Visit Web Site|&No, Thanks, I'm Good", 1);
        if (choice == 1) VISITWEBSITE();
    }
    return answer.arrived ? answer.body : "";
}

}  // namespace

int32_t UPDATENOW() {
    std::string order = "MDY";
    const int32_t today = Date2JulianDate("", order);
    const long double stored = READNUMBER(GETINI(IniFile, "Update", "LastCheck", "0"));
    // A "LastCheck" more than ten days ahead was set by a clock that was once wrong: it is due,
    // or automatic checks would stop until that day comes.
    if (today > stored || stored > static_cast<long double>(today) + 10) {
        WRITEINI(IniFile, "Update", "LastCheck", std::to_string(today + 10));
        return 1;
    }
    return 0;
}

void IGNORETHISVERSION(const std::string& version) { WRITEINI(IniFile, "Update", "Ignore", version); }

int32_t CHECKFORUPDATE(const std::string& formName, const std::string& versionUrl,
                       const std::string& currentVersion, int32_t showMessages, int32_t manual) {
    OfferDeclined = false;
    const std::string text = QUERYSERVER(versionUrl, showMessages);
    if (text.empty()) return 0;
    if (!UpdatePublicKey.empty() && !SIGNEDBYMAKER(text, UpdatePublicKey)) {
        if (showMessages != 0) tellUnverified(formName);
        return 0;
    }
    const VersionFile file = READVERSIONFILE(text);
    if (manual == 0 && IGNOREDVERSION(file.version)) return 0;
    if (!NEWERVERSION(file.version, currentVersion)) {
        if (showMessages != 0)
            DGMSGBOX(
                formName, "You Are Up To Date!",
                "Version " + currentVersion + " of " + ProductName + " is the latest version available.{f10}",
                "Thank you for checking!{f6}", "", "&OK{G,f7}", "", 1, "C");
        return 0;
    }
    MajorUpgrade = MAJORNUMBER(file.version) > MAJORNUMBER(currentVersion);
    const std::string kind = MajorUpgrade ? "This is a new version with new features."
                                          : "This is an important update including bug fixes.";
    // A copy installed in a folder the user may not write is updated by the package manager: the
    // offer leads to the web page instead of a download into that folder.
    const bool installed = !OS_FOLDERTAKESFILES(EZ_APPPATH());
    const std::string question = installed ? "|Your package manager updates this copy (apt update && apt upgrade): Yes opens our web page.{f6}"
                                           : "|Would you like to download it now?{f6}";
    int32_t answer = DGMSGBOX(formName, "New Version Available",
                              "Version " + SHOWNVERSION(file.version) + " of " + ProductName + " is available.{f10}",
                              kind + question, manual == 0 ? "Stop reminding me about this.{f6}" : "",
                              "*{G,f7}|&Yes|&No, Maybe Later", "", 1, "C");
    if (answer < 0) IGNORETHISVERSION(file.version);
    if (answer != 1) {
        OfferDeclined = true;
        return 0;
    }
    if (installed) {
        VISITWEBSITE();
        return 0;
    }
    return downloadInstaller(file, text);
}

void VISITWEBSITE() {
    if (OS_OPENWEBPAGE(ProductWebPage)) return;
    DISPLAYMESSAGE("Visit Our Web Site", ProductName + " could not open a web browser.{f10}",
                   "Type this address into your browser:|" + ProductWebPage + "{f6}");
}

bool PROVEINSTALLER(const std::string& installer, const std::string& versionText) {
    const VersionFile file = READVERSIONFILE(versionText);
    const bool keyed = !UpdatePublicKey.empty();
    if (keyed && (!SIGNEDBYMAKER(versionText, UpdatePublicKey) || !file.sha256 || !file.size)) return false;
    if ((keyed || !file.fileName.empty()) && fileNameOf(installer) != file.fileName) return false;
    if (!file.sha256 && !file.size) return true;
    int64_t size = 0;
    std::string digest;
    if (!OS_FILEDIGEST(installer, size, digest)) return false;
    return (!file.size || *file.size == size) && (!file.sha256 || *file.sha256 == HEXTEXT(digest));
}

bool INPROGRAMFOLDER(const std::string& path) {
    const std::string folder = EZ_APPPATH() + "/";
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           PLAINFILENAME(path.substr(folder.size()));
}
