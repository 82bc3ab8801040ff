// The command line made for Windows from an argument vector, as the C runtime splits it again.
#include "platform/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, QuotesAndEscapesExactlyWhatTheSplitterWouldChange) {
    const struct {
        std::vector<std::string> words;
        std::string line;
    } cases[] = {
        {{"C:\\Tarvex\\Tarvex.exe", "/update"}, "C:\\Tarvex\\Tarvex.exe /update"},
        {{"C:\\Program Files\\Tarvex\\Tarvex.exe"}, "\"C:\\Program Files\\Tarvex\\Tarvex.exe\""},
        {{"a", "", "b"}, "a \"\" b"},
        {{"tab\there", "new\nline"}, "\"tab\there\" \"new\nline\""},
        {{"say \"hi\""}, "\"say \\\"hi\\\"\""},
        {{"a\\\"b"}, "\"a\\\\\\\"b\""},
        {{"C:\\path\\", "C:\\path\\ two\\\\"}, "C:\\path\\ \"C:\\path\\ two\\\\\\\\\""},
        {{"\\\\server\\share"}, "\\\\server\\share"},
        {{"Caf\xC3\xA9 \xE5\x8C\x97"}, "\"Caf\xC3\xA9 \xE5\x8C\x97\""},
        {{}, ""},
    };
    for (const auto& [words, line] : cases) EXPECT_EQ(COMMANDLINE(words), line) << line;
}
