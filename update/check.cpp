#include "update/check.h"

// No automatic check is ever due until the check itself exists.
int32_t UPDATENOW() { return 0; }

int32_t CHECKFORUPDATE(const std::string&, const std::string&, const std::string&, int32_t, int32_t) {
    return 0;
}
