// The update check: whether one is due, and the check itself.
#pragma once

#include <cstdint>
#include <string>

#include "update/addresses.h"

// Nonzero when an automatic check is due.
int32_t UPDATENOW();
// 1 when an installer has been downloaded and the calculator is to close, else 0.
int32_t CHECKFORUPDATE(const std::string& formName, const std::string& versionUrl,
                       const std::string& currentVersion, int32_t showMessages, int32_t manual);
