#include "app/long_name.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string GETLONGFILENAME(const std::string& path) {
    if (path.empty()) return "";
    fs::path given(path);
    // The first component: the first folder below the root, or the first name of a
    // relative path.
    fs::path first = given.root_path();
    for (const fs::path& part : given.relative_path()) {
        first /= part;
        break;
    }
    std::error_code error;
    if (first.empty() || !fs::exists(fs::symlink_status(first, error))) return "";
    fs::path full = fs::weakly_canonical(fs::absolute(given, error), error);
    if (error) return "";
    std::string text = full.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}
