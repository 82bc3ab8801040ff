// A remembered comment keeps its line breaks in one settings value.
#include "app/settings.h"

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

}  // namespace
