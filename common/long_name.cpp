#include "common/long_name.h"

#include "platform/files.h"

std::string GETLONGFILENAME(const std::string& path) {
    std::string text = OS_FULLPATH(path);
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}
