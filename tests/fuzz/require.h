// A check of a fuzz target: when it fails, the run stops with the check's text and place, and
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void failedCheck(const char* check, const char* file, int line) {
    std::fprintf(stderr, "check failed: %s (%s:%d)\n", check, file, line);
    std::abort();
}

#define REQUIRE(check) ((check) ? void(0) : failedCheck(#check, __FILE__, __LINE__))
