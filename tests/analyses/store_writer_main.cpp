// Saves analyses without end from round argv[2] on, into the store in folder argv[1], printing
// each round's number once its commit is done; the crash test kills it at random moments.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/analyses/writer_rounds.h"
#include "tests/support/child_process.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    if (arguments.size() != 2) return 2;
    if (const std::string problem = OPENSTORE(arguments[0]); !problem.empty()) {
        std::fprintf(stderr, "store writer: %s\n", problem.c_str());
        return 2;
    }
    for (long n = std::stol(arguments[1]);; std::printf("%ld\n", n++), std::fflush(stdout)) {
        Analysis analysis = writerRound(n);
        std::string why;
        if (!SAVEANALYSIS(analysis, why)) {
            std::fprintf(stderr, "store writer, round %ld: %s\n", n, why.c_str());
            return 1;
        }
    }
}
