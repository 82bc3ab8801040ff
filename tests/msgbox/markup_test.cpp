#include "msgbox/markup.h"

#include <gtest/gtest.h>

#include <string>

TEST(MarkUp, SplitsTheDisplayTextFromItsCodes) {
    const Marked sure = PARSEMARKUP("Are you SURE?{f10}");
    EXPECT_EQ(sure.text, "Are you SURE?");
    EXPECT_EQ(CODEINT(sure, 'F', 0), 10);

    // The letter in either case, and the closing brace only ends the number.
    for (const char* marked : {"Are you SURE?{F10}", "Are you SURE?{f10", "  Are you SURE?  { f10 }  "}) {
        const Marked same = PARSEMARKUP(marked);
        EXPECT_EQ(same.text, "Are you SURE?") << marked;
        EXPECT_EQ(CODEINT(same, 'F', 0), 10) << marked;
        EXPECT_EQ(CODEINT(same, 'f', 0), 10) << marked;
    }

    const Marked error = PARSEMARKUP("Unable to find web host \"example.com\".{f10,t4}");
    EXPECT_EQ(error.text, "Unable to find web host \"example.com\".");
    EXPECT_EQ(CODEINT(error, 'F', 0), 10);
    EXPECT_EQ(CODEINT(error, 'T', 0), 4);
    EXPECT_EQ(error.codes.size(), 2u);

    // Line breaks stay in the display text; only the first "{" opens the code list.
    const Marked lines = PARSEMARKUP("|This might be due to a problem.{f6}");
    EXPECT_EQ(lines.text, "|This might be due to a problem.");
    const Marked twice = PARSEMARKUP("Text{f6}{t4}");
    EXPECT_EQ(twice.text, "Text");
    EXPECT_EQ(CODEINT(twice, 'F', 0), 6);
    EXPECT_EQ(CODEINT(twice, 'T', -1), -1);
}

TEST(MarkUp, TextsWithoutCodes) {
    const Marked plain = PARSEMARKUP("  Status Change  ");
    EXPECT_EQ(plain.text, "Status Change");
    EXPECT_TRUE(plain.codes.empty());
    EXPECT_EQ(plain.style, 0);
    EXPECT_EQ(CODEINT(plain, 'B', -1), -1);
    EXPECT_EQ(CODEVALUE(plain, 'W', 2.5), 2.5);

    const Marked onlyCodes = PARSEMARKUP("{f10}");
    EXPECT_EQ(onlyCodes.text, "");
    EXPECT_EQ(CODEINT(onlyCodes, 'F', 0), 10);

    EXPECT_TRUE(PARSEMARKUP("").text.empty());
    EXPECT_TRUE(PARSEMARKUP("{}").text.empty());
    EXPECT_TRUE(PARSEMARKUP("{ , ,}").text.empty());
}

TEST(MarkUp, ReadsTheLongestLeadingDecimalNumber) {
    const Marked m = PARSEMARKUP("x{w12.75},h2.5.7,bx,t-3.6,f+7");
    EXPECT_DOUBLE_EQ(CODEVALUE(m, 'W', 0), 12.75);
    EXPECT_EQ(CODEINT(m, 'W', 0), 13);
    EXPECT_DOUBLE_EQ(CODEVALUE(m, 'H', 0), 2.5);
    // An unreadable number reads as 0 and still counts as given.
    EXPECT_EQ(CODEINT(m, 'B', 750), 0);
    EXPECT_EQ(CODEINT(m, 'T', 0), -4);
    EXPECT_EQ(CODEINT(m, 'F', 0), 7);

    const Marked noExponent = PARSEMARKUP("{w1e3,hinf,f.5}");
    EXPECT_DOUBLE_EQ(CODEVALUE(noExponent, 'W', 0), 1);
    EXPECT_DOUBLE_EQ(CODEVALUE(noExponent, 'H', 9), 0);
    EXPECT_DOUBLE_EQ(CODEVALUE(noExponent, 'F', 0), 0.5);

    const Marked huge = PARSEMARKUP("{w99999999999}");
    EXPECT_EQ(CODEINT(huge, 'W', 0), 2147483647);
}

TEST(MarkUp, LaterCodesReplaceEarlierOnes) {
    const Marked m = PARSEMARKUP("x{f6,t4,F10}");
    EXPECT_EQ(CODEINT(m, 'F', 0), 10);
    EXPECT_EQ(CODEINT(m, 'T', 0), 4);
}

TEST(MarkUp, StyleIsTheLastStyleLetter) {
    EXPECT_EQ(PARSEMARKUP("&OK{G,f7}").style, 'G');
    EXPECT_EQ(PARSEMARKUP("&OK{g,3}").style, '3');
    EXPECT_EQ(PARSEMARKUP("&OK{r5,f7}").style, 'R');
    EXPECT_EQ(PARSEMARKUP("&OK{e}").style, 'E');
    EXPECT_EQ(PARSEMARKUP("&OK{C").style, 'C');
    EXPECT_EQ(PARSEMARKUP("&OK{f7,w10,h2,b12,t4}").style, 0);
}

TEST(ButtonList, DefaultsSegmentAppliesToTheButtonsAfterIt) {
    const std::vector<ButtonSpec> yesNo = PARSEBUTTONS("*{G,f7}|&Yes|&No");
    ASSERT_EQ(yesNo.size(), 2u);
    EXPECT_EQ(yesNo[0].caption, "&Yes");
    EXPECT_EQ(yesNo[1].caption, "&No");
    for (const ButtonSpec& button : yesNo) {
        EXPECT_EQ(button.style, 'G');
        EXPECT_EQ(button.font, 7);
        EXPECT_EQ(button.width, 8.0f);
        EXPECT_EQ(button.height, 1.5f);
        EXPECT_EQ(button.face, 750);
        EXPECT_EQ(button.captionColour, 0);
    }

    const std::vector<ButtonSpec> mixed = PARSEBUTTONS("A|*{3,b12,t4,w10,h2}|B|C{R,w6.5,f-1}");
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[0].style, 'C');
    EXPECT_EQ(mixed[0].face, 750);
    EXPECT_EQ(mixed[1].caption, "B");
    EXPECT_EQ(mixed[1].style, '3');
    EXPECT_EQ(mixed[1].face, 12);
    EXPECT_EQ(mixed[1].captionColour, 4);
    EXPECT_EQ(mixed[1].width, 10.0f);
    EXPECT_EQ(mixed[1].height, 2.0f);
    // A button's own codes override the defaults and leave the rest.
    EXPECT_EQ(mixed[2].caption, "C");
    EXPECT_EQ(mixed[2].style, 'R');
    EXPECT_EQ(mixed[2].width, 6.5f);
    EXPECT_EQ(mixed[2].font, -1);
    EXPECT_EQ(mixed[2].face, 12);
    EXPECT_EQ(mixed[2].height, 2.0f);
}

TEST(ButtonList, SegmentsMakeButtons) {
    const std::vector<ButtonSpec> ok = PARSEBUTTONS("&OK{G,f7}");
    ASSERT_EQ(ok.size(), 1u);
    EXPECT_EQ(ok[0].caption, "&OK");
    EXPECT_EQ(ok[0].style, 'G');
    EXPECT_EQ(ok[0].font, 7);

    const std::vector<ButtonSpec> spaced = PARSEBUTTONS("  Yes  ||  No {f6 |");
    ASSERT_EQ(spaced.size(), 2u);
    EXPECT_EQ(spaced[0].caption, "Yes");
    EXPECT_EQ(spaced[0].font, 0);
    EXPECT_EQ(spaced[1].caption, "No");
    EXPECT_EQ(spaced[1].font, 6);

    EXPECT_TRUE(PARSEBUTTONS("").empty());
    EXPECT_TRUE(PARSEBUTTONS(" | *{G} | ").empty());
    const std::vector<ButtonSpec> codesOnly = PARSEBUTTONS("{f6}");
    ASSERT_EQ(codesOnly.size(), 1u);
    EXPECT_EQ(codesOnly[0].caption, "");
}

// A size no screen could show, or below none, is held to what the box can place.
TEST(ButtonList, SizesStayWithinWhatABoxCanHold) {
    const std::vector<ButtonSpec> odd = PARSEBUTTONS("A{w1" + std::string(60, '0') + ",h-2}|B{w-5,h1e9}|C{w12.5,h2}");
    ASSERT_EQ(odd.size(), 3u);
    EXPECT_EQ(odd[0].width, 1000.0f);
    EXPECT_EQ(odd[0].height, 0.0f);
    EXPECT_EQ(odd[1].width, 0.0f);
    EXPECT_EQ(odd[1].height, 1.0f);
    EXPECT_EQ(odd[2].width, 12.5f);
    EXPECT_EQ(odd[2].height, 2.0f);
}

TEST(ButtonList, OnlyTheFirstTenSegmentsCount) {
    const std::vector<ButtonSpec> twelve = PARSEBUTTONS("1|2|3|4|5|6|7|8|9|10|11|12");
    ASSERT_EQ(twelve.size(), 10u);
    for (std::size_t n = 0; n < twelve.size(); ++n) EXPECT_EQ(twelve[n].caption, std::to_string(n + 1));

    const std::vector<ButtonSpec> withDefaults = PARSEBUTTONS("*{E}|1|2|3|4|5|6|7|8|9|10");
    ASSERT_EQ(withDefaults.size(), 9u);
    EXPECT_EQ(withDefaults.back().caption, "9");
    EXPECT_EQ(withDefaults.back().style, 'E');

    // The tenth segment still sets defaults, but nothing after it makes a button.
    const std::vector<ButtonSpec> late = PARSEBUTTONS("1|||||||||*{G}|2");
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].style, 'C');
}
