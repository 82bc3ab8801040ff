// Rewrites a settings file without end until it is killed; the crash tests kill it at random
// moments. With one argument, round n writes "Padding" (the text "n:" and 200000 to 200999
// copies of one letter, both fixed by n), then "Counter" = n, continuing from the counter already
// in the file. With "varied" and a first round, it writes the rounds of varied_rounds.h from there.
#include <string>

#include "platform/profile_file.h"
#include "tests/platform/varied_rounds.h"

namespace {

int writeVaried(const std::string& file, long first) {
    for (long n = first;; ++n) {
        const SettingsRound round = variedRound(n);
        if (!OS_WRITEPROFILESTRING(round.section, round.key, round.value, file)) return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[2]) == "varied") return writeVaried(argv[1], std::stol(argv[3]));
    if (argc != 2) return 2;
    const std::string file = argv[1];
    long n = std::stol(OS_GETPROFILESTRING("Durability", "Counter", "0", file));
    for (;;) {
        ++n;
        std::string padding =
            std::to_string(n) + ":" + std::string(200000 + n % 1000, static_cast<char>('a' + n % 26));
        if (!OS_WRITEPROFILESTRING("Durability", "Padding", padding, file)) return 1;
        if (!OS_WRITEPROFILESTRING("Durability", "Counter", std::to_string(n), file)) return 1;
    }
}
