// Rewrites a settings file without end until it is killed; the durability test kills it at random
// moments. Round n writes "Padding" (the text "n:" and 200000 to 200999 copies of one letter, both
// fixed by n), then "Counter" = n, continuing from the counter already in the file.
#include <string>

#include "platform/profile_file.h"

int main(int argc, char** argv) {
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
