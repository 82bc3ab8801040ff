// What the update tests serve and run: a key pair of their own, version files signed with it, and
// an installer script that records how it was started and, as a real installer does, starts the
// program again with "/update".
#pragma once

#include <string>
#include <vector>

struct TestKey {
    std::string publicKey;  // Base64, as a build carries it
    std::string secretKey;  // the 64 bytes
};
TestKey makeTestKey();

struct VersionFileFields {
    std::string host, path = "/TarvexSetup.sh", name = "TarvexSetup.sh", version = "3.0.2.0";
    std::string installer;  // the bytes whose size and digest the file names
    bool describeInstaller = true;
};
// The version file's text; signed with secretKey unless it is empty.
std::string versionText(const VersionFileFields& fields, const std::string& secretKey);

// A whole HTTP/1.0 answer with the body and its length.
std::string okResponse(const std::string& body);

// The installer script. It writes its path and arguments, one a line, to "installer-args.txt"
// beside itself; with a session name it then clears "Failed" in Tarvex.ini and starts that
// session's program from its folder with "/update".
std::string installerScript(const std::string& restartSession = "");
// The lines the installer wrote, waiting up to timeoutMs for them; empty when it never ran.
std::vector<std::string> installerArguments(const std::string& folder, int timeoutMs = 5000);

// The value of key in the [Update] section of the settings file IniFile names; "<none>" when absent.
std::string updateSetting(const std::string& key);

// Reads a whole file; empty when it does not exist.
std::string fileText(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
