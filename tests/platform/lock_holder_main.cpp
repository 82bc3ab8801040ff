// Tries to take the named lock its argument names, says "held" or "refused" on its standard
// output, and keeps what it has until it is killed.
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/named_lock.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const bool held = OS_WAITFORLOCK(argv[1], 0) != 0;
    std::puts(held ? "held" : "refused");
    std::fflush(stdout);
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
