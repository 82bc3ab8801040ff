#pragma once

#include <string>

// The full form of a folder path: links resolved, "." and ".." removed, no trailing
// separator; empty when the path's first component does not exist.
std::string GETLONGFILENAME(const std::string& path);
