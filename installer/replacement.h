// The all-or-nothing replacement of the program's files in its folder, safe against a crash or a
// kill at any moment. Work happens in <folder>/.tarvex-update/: the new files are unpacked into
// new/, then a journal naming them is committed (written under another name, flushed, renamed);
// file by file, the old one is renamed into old/ and the new one into its place, the program's
// executable last. An old file that cannot be deleted afterwards (a running program's, on Windows)
// is left as "<name>.replaced" beside its place and deleted by a later run. Nothing else is touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The folder that path lies in: all before its last "/".
std::string FOLDEROF(const std::string& path);
// The folder of the work in progress, inside the program folder.
std::string REPLACEMENTFOLDER(const std::string& folder);
// The names of the files under top that may be the program's own (its executable, the documents,
// whatever lies in Help/ and Graphics/).
std::vector<std::string> PROGRAMFILESIN(const std::string& top);

// Brings an interrupted replacement to an end: a committed journal is carried out (every new file
// is complete in new/ or already in place), a replacement that was being undone is undone, and an
// uncommitted one (nothing in the folder touched yet) is discarded. The program's start-up and the
// installer call it first. False when work is left that could not be finished.
bool FINISHREPLACEMENT(const std::string& folder);

// Replaces the named program files in folder with those that unpack writes under the folder it
// is given (false from unpack: nothing changes). A failure undoes every change. step is told of
// each step ("journal", "kept <name>", "replaced <name>", "finished"); problem says what failed.
bool REPLACEPROGRAM(const std::string& folder, std::vector<std::string> names,
                    const std::function<bool(const std::string& into)>& unpack,
                    const std::function<void(const std::string&)>& step, std::string& problem);
