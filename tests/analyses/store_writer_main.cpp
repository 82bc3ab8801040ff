// Saves analyses without end from round argv[2] on, into the store in folder argv[1], printing
// each round's number once its commit is done; the crash test kills it at random moments.
#include <cstdio>

#include "tests/analyses/writer_rounds.h"

int main(int argc, char** argv) {
    if (argc != 3 || !OPENSTORE(argv[1]).empty()) return 2;
    for (long n = std::stol(argv[2]);; std::printf("%ld\n", n++), std::fflush(stdout)) {
        Analysis analysis = writerRound(n);
        std::string why;
        if (!SAVEANALYSIS(analysis, why)) return 1;
    }
}
