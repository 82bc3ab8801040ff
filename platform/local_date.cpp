#include "platform/local_date.h"

#include <ctime>

#ifndef TARVEX_BUILD_EPOCH
#error "The build sets TARVEX_BUILD_EPOCH, the time of the build in seconds since 1970."
#endif

namespace {

// Seconds from 1 January 1601, where the stamp counts from, to 1 January 1970.
constexpr int64_t kEpochOffset = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

// The local calendar date of a moment in seconds since 1970.
void localDate(std::time_t seconds, int32_t& year, int32_t& month, int32_t& day) {
    std::tm local{};
    ::localtime_r(&seconds, &local);
    year = local.tm_year + 1900;
    month = local.tm_mon + 1;
    day = local.tm_mday;
}

}  // namespace

void OS_TODAY(int32_t& year, int32_t& month, int32_t& day) { localDate(std::time(nullptr), year, month, day); }

int64_t OS_BUILDSTAMP() { return (int64_t{TARVEX_BUILD_EPOCH} + kEpochOffset) * kTicksPerSecond; }

void OS_STAMPDATE(int64_t stamp, int32_t& year, int32_t& month, int32_t& day) {
    localDate(static_cast<std::time_t>(stamp / kTicksPerSecond - kEpochOffset), year, month, day);
}
