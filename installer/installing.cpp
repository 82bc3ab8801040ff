#include "installer/installing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "installer/payload.h"
#include "installer/replacement.h"
#include "installer/uninstalling.h"
#include "platform/files.h"
#include "platform/named_lock.h"
#include "platform/processes.h"
#include "platform/profile_file.h"
#include "platform/program_names.h"
#include "platform/shell_entries.h"

namespace {

// Each step of the work on stderr, when TARVEX_INSTALLER_TRACE asks for it (for the kill test).
void trace(const std::string& what) {
    static const bool wanted = std::getenv("TARVEX_INSTALLER_TRACE") != nullptr;
    if (wanted) std::fprintf(stderr, "step %s\n", what.c_str());
}

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "TarvexSetup: %s\n", message.c_str());
    return code;
}

}  // namespace

bool HOLDSPROGRAM(const std::string& folder) {
    return OS_FILEEXISTS(folder + "/" + kProgramExecutable) || OS_FILEEXISTS(folder + "/Tarvex.ini");
}

bool INSTALLPROGRAM(const std::string& runFile, const Payload& payload, const std::string& folder,
                    const std::function<void(const std::string&)>& step, std::string& problem) {
    std::vector<std::string> names;
    for (const PayloadFile& file : payload.files) names.push_back(file.name);
    const auto report = [&step](const std::string& what) {
        trace(what);
        step(what);
    };
    if (!OS_MAKEFOLDERS(folder)) {
        problem = "The folder " + folder + " cannot be made.";
        return false;
    }
    return REPLACEPROGRAM(
        folder, names,
        [&](const std::string& into) {
            return UNPACKPAYLOAD(runFile, payload, into, [&report](const std::string& name) { report("unpacked " + name); });
        },
        report, problem);
}

void RECORDUPDATE(const std::string& folder, const std::string& version) {
    const std::string settings = folder + "/Tarvex.ini";
    if (OS_FILEEXISTS(settings)) OS_WRITEPROFILESTRING("Update", "Failed", "0", settings);
    if (OS_GETPROFILESTRING("Update", "NewVer", "", settings).empty())
        OS_WRITEPROFILESTRING("Program", "NewVersion", version, folder + "/Updater.ini");
    trace("recorded");
}

bool STARTINSTALLED(const std::string& folder, bool update) {
    return OS_STARTPROGRAM(folder + "/" + kProgramExecutable,
                           update ? std::vector<std::string>{"/update"} : std::vector<std::string>{});
}

int SILENTINSTALL(const std::string& runFile) {
    std::string problem;
    const std::optional<Payload> payload = CHECKINSTALLER(runFile, problem);
    if (!payload) return fail(1, "the installer " + runFile + " is damaged: " + problem + " Nothing was changed.");
    const std::string folder = FOLDEROF(runFile);
    // The copy that started the installer holds the lock until it has ended.
    const int32_t lock = OS_WAITFORLOCK("Tarvex", kProgramEndWaitMs);
    if (lock == 0) return fail(2, "Tarvex did not end within 60 seconds. Nothing was changed.");
    if (!INSTALLPROGRAM(runFile, *payload, folder, [](const std::string&) {}, problem)) {
        OS_CLOSELOCK(lock);
        // The program's start-up recovery then opens the installer's window, which says why.
        STARTINSTALLED(folder, false);
        return fail(3, problem + " Nothing was changed.");
    }
    RECORDUPDATE(folder, payload->version);
    if (!REGISTERCOPY(folder, runFile, payload->version))
        std::fprintf(stderr,
                     "TarvexSetup: the Start-menu shortcut or the uninstall entry could not be written.\n");
    OS_CLOSELOCK(lock);
    if (!STARTINSTALLED(folder, true)) return fail(4, "the new Tarvex in " + folder + " did not start.");
    return 0;
}

namespace {

// A full path with "/" between its names, to compare paths that Windows writes with either.
std::string comparable(const std::string& path) {
    std::string full = OS_FULLPATH(path);
    std::replace(full.begin(), full.end(), '\\', '/');
    return full;
}

// A running program's file cannot be deleted on Windows, so the uninstaller that runs from the
// folder it removes starts a copy of itself in the temporary folder, which removes the folder once
// this one has ended. That copy is left in the temporary folder, as other uninstallers' are.
int handOver(const std::string& installer, const std::string& folder) {
    const std::string temporary = OS_TEMPFOLDER();
    const std::string copy =
        temporary + "/Tarvex Uninstall " + std::to_string(std::random_device{}()) + ".exe";
    if (temporary.empty() || !COPYWHOLEFILE(installer, copy) ||
        !OS_STARTPROGRAM(copy, {"/uninstall", folder}))
        return fail(8, "the uninstaller could not start its copy in " + temporary + ". Nothing was changed.");
    return 0;
}

// Waits until the kept uninstaller that started this copy has ended: its file can be removed then.
bool removeKeptUninstaller(const std::string& folder) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProgramEndWaitMs);
    while (!OS_DELETEFILE(folder + "/" + kKeptUninstaller)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

}  // namespace

int SILENTUNINSTALL(const std::string& installer, const std::string& named) {
    std::string problem;
    const std::optional<Payload> payload = CHECKINSTALLER(installer, problem);
    if (!payload)
        return fail(1, "the installer " + installer + " is damaged: " + problem + " Nothing was changed.");
    // A folder named on the command line is taken only when it holds the program's executable.
    const std::string registered = OS_READSHELLENTRIES().folder;
    const std::string folder = !named.empty()       ? named
                               : registered.empty() ? FOLDEROF(installer)
                                                    : registered;
    if (!OS_FILEEXISTS(folder + "/" + kProgramExecutable))
        return fail(6, "there is no Tarvex in " + folder + ". Nothing was changed.");
    if (named.empty() && kSystemKeepsShellEntries &&
        comparable(OS_OWNEXECUTABLE()) == comparable(installer) &&
        FOLDEROF(comparable(installer)) == comparable(folder))
        return handOver(installer, folder);
    const int32_t lock = OS_WAITFORLOCK("Tarvex", kProgramEndWaitMs);
    if (lock == 0) return fail(2, "Tarvex did not end within 60 seconds. Nothing was changed.");
    if (!named.empty() && !removeKeptUninstaller(folder)) {
        OS_CLOSELOCK(lock);
        return fail(2,
                    "the uninstaller in " + folder + " did not end within 60 seconds. Nothing was changed.");
    }
    std::vector<std::string> names;
    for (const PayloadFile& file : payload->files) names.push_back(file.name);
    const bool removed = UNINSTALLPROGRAM(folder, names, problem);
    // Where the removal stopped, the uninstaller is put back, so that the entry can start it again.
    if (!removed && !named.empty()) COPYWHOLEFILE(installer, folder + "/" + kKeptUninstaller);
    OS_CLOSELOCK(lock);
    return removed ? 0 : fail(7, problem);
}
