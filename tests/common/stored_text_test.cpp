// A remembered comment keeps its line breaks in one settings value.
#include "common/stored_text.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredText, LineBreaksComeBackExactly) {
    const std::string texts[] = {"Line one\nLine two",    "a\r\nb",          "ends with break\n",
                                 "back\\slash\nand \"q\"", "\"quoted alone\"", "\n",
                                 "tab\there\n\\n literal", "\tstarts with a tab", "ends with a tab\t",
                                 "\t"};
    for (const std::string& text : texts) {
        std::string stored = TOSTOREDTEXT(text);
        EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_EQ(FROMSTOREDTEXT(stored), text);
    }
}

TEST(StoredText, PlainCommentsStayPlain) {
    for (const std::string text : {"Call back Friday", "C:\\path\\n", "say \"hi\" now", "", "\""}) {
        EXPECT_EQ(TOSTOREDTEXT(text), text);
        EXPECT_EQ(FROMSTOREDTEXT(text), text);
    }
}

// A comment too long for its value loses whole characters, never half of one or half an escape,
// and keeps every one that fits.
TEST(StoredText, ALongCommentIsCutToTheWholeCharactersThatFit) {
    const std::string a996(996, 'a');
    // What fits holds no line break, so it is stored as it is.
    EXPECT_EQ(STOREDCOMMENT(a996 + "\xC3\xA9\nmore"), a996);
    EXPECT_EQ(STOREDCOMMENT(a996 + "\nmore"), a996);
    EXPECT_EQ(STOREDCOMMENT("\n" + a996 + "bc"), "\"\\n" + std::string(995, 'a') + "\"");
    EXPECT_EQ(STOREDCOMMENT("\n" + std::string(994, 'a') + "\xC3\xA9"), "\"\\n" + std::string(994, 'a') + "\"");
    EXPECT_EQ(STOREDCOMMENT(std::string(997, 'a') + "\nmore"), std::string(997, 'a'));
    EXPECT_EQ(STOREDCOMMENT("short\ncomment"), "\"short\\ncomment\"");
    std::string many;
    while (many.size() < 1'000'000) many += "say \"hi\"\n";
    const std::string stored = STOREDCOMMENT(many);
    EXPECT_LE(stored.size(), 999u);
    EXPECT_GE(stored.size(), 997u);
    EXPECT_EQ(many.substr(0, FROMSTOREDTEXT(stored).size()), FROMSTOREDTEXT(stored));
}

}  // namespace
