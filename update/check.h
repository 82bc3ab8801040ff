// The update check: whether an automatic one is due, the version file on the maker's server, the
// offer of a newer version and the download of its installer.
#pragma once

#include <cstdint>
#include <string>

#include "update/addresses.h"

// Handed to the installation at the end of the run and in the next one.
extern bool UpdatePending;         // an installer is to be started when the program closes
extern std::string InstallerFile;  // its full path
extern bool MajorUpgrade;          // the offered version's major number is higher
extern bool OfferDeclined;         // the user did not take an offer in this run
extern std::string DownloadHost, DownloadPath;
// The version file the downloaded installer was proved against.
extern std::string UpdateVersionText;

// 1 when an automatic check is due, which also moves "LastCheck" ten days on; else 0.
int32_t UPDATENOW();
// Remembers the version the user asked not to be reminded of, as its text.
void IGNORETHISVERSION(const std::string& version);
// 1 when an installer has been downloaded and the calculator is to close, else 0.
int32_t CHECKFORUPDATE(const std::string& formName, const std::string& versionUrl,
                       const std::string& currentVersion, int32_t showMessages, int32_t manual);

// Opens the product's web page, or tells the address to type when no browser opens it.
void VISITWEBSITE();

// True when the installer is the one versionText names and, in a build with the maker's key, that
// text is signed by the maker: its name, size and SHA-256 digest all as the text says.
bool PROVEINSTALLER(const std::string& installer, const std::string& versionText);
// True when path is a plain file name directly in the program folder.
bool INPROGRAMFOLDER(const std::string& path);
