// The parts of the files service that are the same on every system, paths read through OS_PATH.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace fs = std::filesystem;

std::string OS_FULLPATH(const std::string& path) {
    if (path.empty()) return "";
    const fs::path given = OS_PATH(path);
    if (given.empty()) return "";
    // The first component: the first folder below the root, or the first name of a relative path.
    fs::path first = given.root_path();
    for (const fs::path& part : given.relative_path()) {
        first /= part;
        break;
    }
    std::error_code error;
    if (first.empty() || !fs::exists(fs::symlink_status(first, error))) return "";
    const fs::path full = fs::weakly_canonical(fs::absolute(given, error), error);
    return error ? "" : OS_PATHTEXT(full);
}

std::vector<std::string> OS_LISTFILES(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(OS_PATH(folder), error), end; !error && entry != end; entry.increment(error)) {
        if (entry->is_regular_file(error) && !entry->is_symlink(error))
            names.push_back(OS_PATHTEXT(entry->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool OS_REMOVETREE(const std::string& path) {
    std::error_code error;
    fs::remove_all(OS_PATH(path), error);
    return !error && !OS_PATHEXISTS(path);
}
