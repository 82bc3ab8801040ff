// Texts and paths are UTF-8 in the program and UTF-16 at every Windows call. OS_PATH and
// OS_PATHTEXT exist on every system (on POSIX they change nothing), the rest on Windows only.
#pragma once

#include <filesystem>
#include <string>

// The UTF-16 form of a UTF-8 text; empty when the text is not valid UTF-8.
std::wstring OS_WIDETEXT(const std::string& text);
// The UTF-8 form of a UTF-16 text; empty when the text is not valid UTF-16.
std::string OS_UTF8TEXT(const std::wstring& text);
// A path made from UTF-8, never read in the ANSI code page.
std::filesystem::path OS_PATH(const std::string& path);
// The UTF-8 form of a path.
std::string OS_PATHTEXT(const std::filesystem::path& path);
