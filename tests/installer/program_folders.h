// Program folders for the installer's tests: a small fake program of a given version (a script
// that prints its version and notes each start in started.log), the user's own files beside it,
// and .run files made from such a folder by the real installer program (TARVEX_SETUP).
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "installer/payload.h"

namespace fs = std::filesystem;

using FolderFiles = std::map<std::string, std::string>;  // name -> content

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The program files of a version; the newer one has a graphic more.
inline FolderFiles programFiles(const std::string& version) {
    FolderFiles files{{"Tarvex", "#!/bin/sh\necho \"" + version + " $*\" > \"$(dirname \"$0\")/started.log\"\necho " +
                                     version + "\n"},
                      {"History.rtf", "{\\rtf1 history of " + version + "}"},
                      {"Release Notes.rtf", "{\\rtf1 notes of " + version + "}"},
                      {"Help/Tarvex Help.chm", "help of " + version},
                      {"Graphics/logo.png", "logo of " + version}};
    if (version != "3.0.1.0") files["Graphics/banner.png"] = "banner of " + version;
    return files;
}

// The user's own files, which no installer may change.
inline FolderFiles userFiles() {
    return {{"Tarvex.ini", "[Update]\nFailed=0\nNewVer=3.0.2.0\n"},
            {"Clients.db", std::string("SQLite format 3\0 client rows", 28)},
            {"Notes/letter.txt", "Dear client"}};
}

inline void writeFiles(const fs::path& folder, const FolderFiles& files) {
    for (const auto& [name, content] : files) writeBytes(folder / name, content);
    if (files.contains("Tarvex")) fs::permissions(folder / "Tarvex", fs::perms::owner_all, fs::perm_options::add);
}

// Whether every named file holds exactly its content.
inline bool holds(const fs::path& folder, const FolderFiles& files) {
    for (const auto& [name, content] : files)
        if (!fs::is_regular_file(folder / name) || readBytes(folder / name) != content) return false;
    return true;
}

// A new empty folder under the system's temporary folder.
inline fs::path scratchFolder() {
    std::string name = (fs::temp_directory_path() / "tarvex-installer-XXXXXX").string();
    return mkdtemp(name.data());
}

// A .run of the given version made from a fake program folder by the installer's pack mode.
inline fs::path makeRun(const fs::path& where, const std::string& version) {
    const fs::path source = where / ("program-" + version);
    writeFiles(source, programFiles(version));
    writeBytes(source / "Tarvex.ini", "[Update]\nFailed=1\n");  // never packed
    const fs::path run = where / ("TarvexSetup-" + version + ".run");
    std::string problem;
    if (!PACKPROGRAM(TARVEX_SETUP, source, version, run, problem)) return {};
    return run;
}

// The installer started in silent mode from its place in folder, with each step on its stderr
// and a lock folder of its own; stderr is read through errors.
struct SilentRun {
    pid_t pid = -1;
    FILE* errors = nullptr;
};

inline SilentRun startSilently(const fs::path& run, const fs::path& lockFolder) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string runtime = "XDG_RUNTIME_DIR=" + lockFolder.string();
    std::vector<char*> environment{const_cast<char*>("TARVEX_INSTALLER_TRACE=1"), const_cast<char*>(runtime.c_str()),
                                   const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
    std::string program = run.string();
    char* arguments[] = {program.data(), const_cast<char*>("/SP-"), const_cast<char*>("/VERYSILENT"), nullptr};
    SilentRun started;
    if (posix_spawn(&started.pid, program.c_str(), &actions, nullptr, arguments, environment.data()) != 0)
        started.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    started.errors = fdopen(pipeEnds[0], "r");
    return started;
}

// Reads the rest of its stderr and waits for it to end; its exit code, -1 when killed.
inline int finishRun(SilentRun& started) {
    char* line = nullptr;
    size_t size = 0;
    while (getline(&line, &size, started.errors) > 0) {}
    free(line);
    fclose(started.errors);
    int status = 0;
    waitpid(started.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
