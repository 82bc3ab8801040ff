// Scratch folders and raw file access for the tests of the services that keep files, on any
// system. Paths go to the services as UTF-8, as the program gives them.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "platform/files.h"

// A fresh, empty folder of that name (UTF-8) under the temporary folder, unique to this run.
inline std::filesystem::path scratchFolder(const std::string& name) {
    static const std::string run = std::to_string(std::random_device{}());
    const std::u8string wide(name.begin(), name.end());
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   (u8"tarvex-" + wide + u8"-" + std::u8string(run.begin(), run.end()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The UTF-8 text of a path.
inline std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Reads as a well-behaved reader does, through the files service: on Windows the file may then be
// replaced while it is being read.
inline std::string readRaw(const std::filesystem::path& file) {
    return OS_READFILE(utf8(file), int64_t{1} << 30).value_or("");
}

inline void writeRaw(const std::filesystem::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder))
        names.insert(utf8(entry.path().filename()));
    return names;
}

// The path that a UTF-8 text names, on any system.
inline std::filesystem::path fromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
