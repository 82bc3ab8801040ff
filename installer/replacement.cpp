#include "installer/replacement.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "installer/payload_format.h"
#include "platform/files.h"
#include "platform/program_names.h"

namespace {

constexpr const char* kJournalHeading = "Tarvex replacement journal\n";
constexpr const char* kJournalEnd = "end\n";
constexpr int64_t kMaxJournalBytes = 1 << 20;
constexpr std::string_view kAside = ".replaced";

// Removes the work folder. Windows lets the file of a program that still runs be renamed but not
// deleted: such an old file is moved aside beside its place, as "<name>.replaced", for a later run.
bool clearWork(const std::string& folder) {
    const std::string old = REPLACEMENTFOLDER(folder) + "/old/";
    for (const std::string& name : PROGRAMFILESIN(old))
        if (!OS_DELETEFILE(old + name)) OS_RENAMEFILE(old + name, folder + "/" + name + std::string(kAside));
    return OS_REMOVETREE(REPLACEMENTFOLDER(folder));
}

// Deletes the old files moved aside by an earlier replacement, as far as their programs have ended.
void removeLeftovers(const std::string& folder) {
    for (const std::string sub : {"", "Help/", "Graphics/"})
        for (const std::string& name : OS_LISTFILES(folder + "/" + sub))
            if (name.ends_with(kAside) && PROGRAMFILENAME(sub + name.substr(0, name.size() - kAside.size())))
                OS_DELETEFILE(folder + "/" + sub + name);
}

// The journal's names, when it is complete and names only program files.
std::optional<std::vector<std::string>> readJournal(const std::string& path) {
    const std::optional<std::string> text = OS_READFILE(path, kMaxJournalBytes);
    const std::string heading = kJournalHeading, end = kJournalEnd;
    if (!text || !text->starts_with(heading) || !text->ends_with(end)) return std::nullopt;
    std::vector<std::string> names;
    for (size_t at = heading.size(); at < text->size() - end.size();) {
        const size_t next = text->find('\n', at);
        std::string name = text->substr(at, next - at);
        if (!PROGRAMFILENAME(name) || names.size() >= kMaxPayloadFiles) return std::nullopt;
        names.push_back(std::move(name));
        at = next + 1;
    }
    return names;
}

bool writeJournal(const std::string& work, const std::vector<std::string>& names) {
    std::string text = kJournalHeading;
    for (const std::string& name : names) text += name + "\n";
    text += kJournalEnd;
    const std::string temporary = work + "/journal.part";
    const int32_t file = OS_CREATEPRIVATEFILE(temporary);
    const bool written = file != 0 && OS_WRITEFILE(file, text.data(), text.size());
    return file != 0 && OS_FINISHFILE(file) && written && OS_RENAMEFILE(temporary, work + "/journal") &&
           OS_SYNCFOLDER(work);
}

// The folders whose entries change: the program folder, its Help and Graphics, their copies in work.
bool syncFolders(const std::string& top, const std::vector<std::string>& names) {
    if (!OS_PATHEXISTS(top)) return true;
    bool synced = true;
    for (const std::string& name : names)
        if (name.find('/') != std::string::npos && OS_PATHEXISTS(FOLDEROF(top + "/" + name)))
            synced = OS_SYNCFOLDER(FOLDEROF(top + "/" + name)) && synced;
    return OS_SYNCFOLDER(top) && synced;
}

// Carries out a committed journal; each step may have been done already by an earlier run. File by
// file, the old one still in place is renamed into old/ and the new one put in its place: Windows
// refuses to replace the file of a running program, but lets it be renamed.
bool rollForward(const std::string& folder, const std::vector<std::string>& names,
                 const std::function<void(const std::string&)>& step) {
    const std::string work = REPLACEMENTFOLDER(folder);
    for (const std::string& name : names) {
        const std::string fresh = work + "/new/" + name, target = folder + "/" + name,
                          kept = work + "/old/" + name;
        if (!OS_PATHEXISTS(fresh)) continue;
        if (OS_PATHEXISTS(target) && !OS_PATHEXISTS(kept)) {
            if (!OS_MAKEFOLDERS(FOLDEROF(kept)) || !OS_RENAMEFILE(target, kept) ||
                !OS_SYNCFOLDER(FOLDEROF(kept)))
                return false;
            step("kept " + name);
        }
        if (!OS_MAKEFOLDERS(FOLDEROF(target)) || !OS_RENAMEFILE(fresh, target)) return false;
        step("replaced " + name);
    }
    return syncFolders(folder, names);
}

// Undoes a replacement: each replaced file gets its old one back, a file that had none is removed.
bool rollBack(const std::string& folder, const std::vector<std::string>& names) {
    const std::string work = REPLACEMENTFOLDER(folder);
    bool undone = true;
    for (const std::string& name : names) {
        const std::string target = folder + "/" + name, kept = work + "/old/" + name;
        if (OS_PATHEXISTS(kept))
            undone = OS_RENAMEFILE(kept, target) && undone;
        else if (!OS_PATHEXISTS(work + "/new/" + name))
            undone = OS_DELETEFILE(target) && undone;
    }
    return syncFolders(folder, names) && undone;
}

// Marks the replacement as being undone (the journal renamed in one step), then undoes it.
bool undo(const std::string& folder, const std::vector<std::string>& names) {
    const std::string work = REPLACEMENTFOLDER(folder);
    return OS_RENAMEFILE(work + "/journal", work + "/undo") && OS_SYNCFOLDER(work) &&
           rollBack(folder, names) && clearWork(folder);
}

}  // namespace

std::string FOLDEROF(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

std::string REPLACEMENTFOLDER(const std::string& folder) { return folder + "/.tarvex-update"; }

std::vector<std::string> PROGRAMFILESIN(const std::string& top) {
    std::vector<std::string> names;
    for (const std::string sub : {"", "Help/", "Graphics/"})
        for (const std::string& name : OS_LISTFILES(top + "/" + sub))
            if (PROGRAMFILENAME(sub + name)) names.push_back(sub + name);
    return names;
}

bool FINISHREPLACEMENT(const std::string& folder) {
    const std::string work = REPLACEMENTFOLDER(folder);
    removeLeftovers(folder);
    if (!OS_PATHEXISTS(work)) return true;
    if (OS_PATHEXISTS(work + "/undo")) {
        const auto names = readJournal(work + "/undo");
        return names && rollBack(folder, *names) && clearWork(folder);
    }
    if (!OS_PATHEXISTS(work + "/journal")) return clearWork(folder);
    const auto names = readJournal(work + "/journal");
    if (!names) return false;
    if (rollForward(folder, *names, [](const std::string&) {})) return clearWork(folder);
    return undo(folder, *names);
}

bool REPLACEPROGRAM(const std::string& folder, std::vector<std::string> names,
                    const std::function<bool(const std::string& into)>& unpack,
                    const std::function<void(const std::string&)>& step, std::string& problem) {
    const std::string work = REPLACEMENTFOLDER(folder);
    if (!FINISHREPLACEMENT(folder)) {
        problem = "An earlier update in " + folder + " could not be finished.";
        return false;
    }
    // The executable is replaced last, so that a start in between finds the whole old program.
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& name) { return name != kProgramExecutable; });
    if (!OS_MAKEFOLDERS(work + "/new") || !unpack(work + "/new") || !syncFolders(work + "/new", names) ||
        !OS_SYNCFOLDER(work) || !writeJournal(work, names)) {
        OS_REMOVETREE(work);
        problem = "The new files could not be unpacked in " + folder + ".";
        return false;
    }
    step("journal");
    if (!rollForward(folder, names, step)) {
        undo(folder, names);
        problem = "The program files in " + folder + " could not be replaced.";
        return false;
    }
    clearWork(folder);
    step("finished");
    return true;
}
