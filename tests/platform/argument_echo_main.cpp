// Writes the arguments it was started with, after the first, to the file the first names, each
// ended by a NUL; the file appears whole, under its name only once it is complete.
#include <filesystem>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    if (arguments.empty()) return 2;
    std::string echoed;
    for (size_t i = 1; i < arguments.size(); ++i) echoed += arguments[i] + '\0';
    const std::filesystem::path file = fromUtf8(arguments[0]);
    const std::filesystem::path partial = fromUtf8(arguments[0] + ".part");
    writeRaw(partial, echoed);
    std::filesystem::rename(partial, file);
    return 0;
}
