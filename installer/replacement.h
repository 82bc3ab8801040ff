// The all-or-nothing replacement of the program's files in its folder, safe against a crash or a
// kill at any moment. Work happens in <folder>/.tarvex-update/: the new files are unpacked into
// new/, then a journal naming them is committed (written under another name, flushed, renamed);
// each old file gets a second name in old/ before the new one is renamed over it, the program
// "Tarvex" last, so that the executable always exists. Nothing else in the folder is touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The folder of the work in progress, inside the program folder.
std::string REPLACEMENTFOLDER(const std::string& folder);

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
