#include "msgbox/layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Columns per character: font 7 is narrow, font 10 wide, unknown fonts wider still.
float CHARWIDTH(int32_t font) {
    switch (font) {
        case 0: return 1.0f;
        case 7: return 0.5f;
        case 10: return 1.5f;
        default: return 2.0f;
    }
}

// Fixed-width text: a line is one row high, two in font 10; 8 pixels a column, 16 a row, whole units.
Measurer FIXEDWIDTH() {
    Measurer measure;
    measure.text = [](int32_t font, const std::string& line, float& width, float& height) {
        width = CHARWIDTH(font) * static_cast<float>(line.size());
        height = font == 10 ? 2.0f : 1.0f;
    };
    measure.columns = [](int32_t pixels) { return static_cast<float>(pixels / 8); };
    measure.rows = [](int32_t pixels) { return static_cast<float>(pixels / 16); };
    return measure;
}

BoxLayout LAYOUT(const BoxRequest& request) { return LAYOUTMSGBOX(request, FIXEDWIDTH()); }

BoxRequest HELLO(std::string flags) {
    BoxRequest request;
    request.text1 = "Hello";
    request.buttons = "OK";
    request.flags = std::move(flags);
    return request;
}

}  // namespace

TEST(MsgBoxLayout, ConfirmationBox) {
    BoxRequest request;
    request.title = "Clear This Form?";
    request.text1 = "Remove all information on this form?{f7}";
    request.text2 = "Are you SURE?{f10}";
    request.buttons = "*{G,f7}|&Yes|&No";
    request.result = 2;
    request.flags = "C";
    const BoxLayout box = LAYOUT(request);

    EXPECT_EQ(box.caption, "Clear This Form?");
    EXPECT_EQ(box.background, -1);
    EXPECT_EQ(box.textBackground, 750);
    EXPECT_EQ(box.focusButton, 2);
    EXPECT_FALSE(box.checked);
    EXPECT_FALSE(box.checkbox.present);
    EXPECT_FALSE(box.picture);

    // 36 characters of font 7 = 18 columns + 1; 13 of font 10 = 19.5 + 1, two rows high.
    ASSERT_TRUE(box.text1.present);
    EXPECT_EQ(box.text1.text, "Remove all information on this form?");
    EXPECT_EQ(box.text1.font, 7);
    EXPECT_FLOAT_EQ(box.text1.x, 1.0f);
    EXPECT_FLOAT_EQ(box.text1.y, 0.5f);
    EXPECT_FLOAT_EQ(box.text1.width, 20.5f);
    EXPECT_FLOAT_EQ(box.text1.height, 1.0f);
    EXPECT_EQ(box.text1.align, "C");
    ASSERT_TRUE(box.text2.present);
    EXPECT_EQ(box.text2.font, 10);
    EXPECT_FLOAT_EQ(box.text2.y, 1.5f);
    EXPECT_FLOAT_EQ(box.text2.width, 20.5f);
    EXPECT_FLOAT_EQ(box.text2.height, 2.0f);

    EXPECT_FLOAT_EQ(box.width, 22.5f);
    EXPECT_FLOAT_EQ(box.height, 6.0f);

    // Row of 8 + 1 + 8 centred in the content column: 1 + 20.5 / 2 - 17 / 2.
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].parsed.caption, "&Yes");
    EXPECT_EQ(box.buttons[1].parsed.style, 'G');
    EXPECT_EQ(box.buttons[1].parsed.font, 7);
    EXPECT_FLOAT_EQ(box.buttons[0].x, 2.75f);
    EXPECT_FLOAT_EQ(box.buttons[1].x, 11.75f);
    for (const PlacedButton& button : box.buttons) {
        EXPECT_FLOAT_EQ(button.y, 4.0f);
        EXPECT_FLOAT_EQ(button.width, 8.0f);
        EXPECT_FLOAT_EQ(button.height, 1.5f);
    }
}

TEST(MsgBoxLayout, TitleCodes) {
    BoxRequest request = HELLO("");
    request.title = "Notice{B3}";
    const BoxLayout coloured = LAYOUT(request);
    EXPECT_EQ(coloured.caption, "Notice");
    EXPECT_EQ(coloured.background, 3);
    EXPECT_EQ(coloured.textBackground, 3);

    request.title = "Status Change";
    const BoxLayout plain = LAYOUT(request);
    EXPECT_EQ(plain.caption, "Status Change");
    EXPECT_EQ(plain.background, -1);
    EXPECT_EQ(plain.textBackground, 750);
}

TEST(MsgBoxLayout, ButtonWidthsFollowTheirCaptions) {
    BoxRequest request;
    request.buttons = "Download Now|OK|Seven77|Eight888|Configure{f-3}";
    const BoxLayout box = LAYOUT(request);
    ASSERT_EQ(box.buttons.size(), 5u);
    EXPECT_FLOAT_EQ(box.buttons[0].width, 13.0f);
    EXPECT_FLOAT_EQ(box.buttons[1].width, 8.0f);
    EXPECT_FLOAT_EQ(box.buttons[2].width, 8.0f);
    EXPECT_FLOAT_EQ(box.buttons[3].width, 9.0f);
    // A negative font is measured as font 0.
    EXPECT_FLOAT_EQ(box.buttons[4].width, 10.0f);
    // Left-aligned row, one column between buttons.
    EXPECT_FLOAT_EQ(box.buttons[0].x, 1.0f);
    EXPECT_FLOAT_EQ(box.buttons[1].x, 15.0f);
    EXPECT_FLOAT_EQ(box.buttons[4].x, 43.0f);
    // Row 13 + 8 + 8 + 9 + 10 + 4 gaps = 52; no texts, so the row sits one margin below the top gap.
    EXPECT_FLOAT_EQ(box.width, 54.0f);
    EXPECT_FLOAT_EQ(box.height, 3.0f);
    EXPECT_FLOAT_EQ(box.buttons[0].y, 1.0f);

    request.flags = "w";
    const BoxLayout equal = LAYOUT(request);
    for (const PlacedButton& button : equal.buttons) EXPECT_FLOAT_EQ(button.width, 13.0f);
    EXPECT_FLOAT_EQ(equal.buttons[4].x, 57.0f);
    EXPECT_FLOAT_EQ(equal.width, 71.0f);
}

TEST(MsgBoxLayout, ButtonsShareTheBaseline) {
    BoxRequest request;
    request.buttons = "A{h1.5}|B{h3}|C{h2}";
    const BoxLayout box = LAYOUT(request);
    ASSERT_EQ(box.buttons.size(), 3u);
    // Row as tall as the tallest: height 3 + top gap 0.5 + two margins.
    EXPECT_FLOAT_EQ(box.height, 4.5f);
    EXPECT_FLOAT_EQ(box.buttons[0].y, 2.5f);
    EXPECT_FLOAT_EQ(box.buttons[1].y, 1.0f);
    EXPECT_FLOAT_EQ(box.buttons[2].y, 2.0f);
    for (const PlacedButton& button : box.buttons) {
        EXPECT_FLOAT_EQ(button.y + button.height, box.height - 0.5f);
    }
    EXPECT_FLOAT_EQ(box.buttons[2].height, 2.0f);
    EXPECT_FLOAT_EQ(box.width, 28.0f);
}

TEST(MsgBoxLayout, EmptyBlocksTakeNoSpace) {
    BoxRequest request = HELLO("");
    const BoxLayout one = LAYOUT(request);
    EXPECT_FALSE(one.text2.present);
    EXPECT_FLOAT_EQ(one.height, 4.0f);
    EXPECT_FLOAT_EQ(one.width, 10.0f);

    request.text2 = "{f10}";
    const BoxLayout codesOnly = LAYOUT(request);
    EXPECT_FALSE(codesOnly.text2.present);
    EXPECT_FLOAT_EQ(codesOnly.height, 4.0f);

    // A leading "|" is an empty first line, measured like any other; labels span the content column.
    request.text2 = "|Second";
    const BoxLayout broken = LAYOUT(request);
    ASSERT_TRUE(broken.text2.present);
    EXPECT_EQ(broken.text2.text, "|Second");
    EXPECT_FLOAT_EQ(broken.text2.y, 1.5f);
    EXPECT_FLOAT_EQ(broken.text2.height, 2.0f);
    EXPECT_FLOAT_EQ(broken.text2.width, 8.0f);
    EXPECT_FLOAT_EQ(broken.height, 6.0f);

    // Without a first block the second starts at the top margin.
    request.text1 = "";
    const BoxLayout secondOnly = LAYOUT(request);
    EXPECT_FALSE(secondOnly.text1.present);
    EXPECT_FLOAT_EQ(secondOnly.text2.y, 0.5f);
    EXPECT_FLOAT_EQ(secondOnly.height, 5.0f);

    // Without buttons the widest line, "Second" + 1, sets the content width.
    request.buttons = "";
    const BoxLayout noButtons = LAYOUT(request);
    EXPECT_TRUE(noButtons.buttons.empty());
    EXPECT_FLOAT_EQ(noButtons.text2.width, 7.0f);
    EXPECT_FLOAT_EQ(noButtons.width, 9.0f);
    EXPECT_FLOAT_EQ(noButtons.height, 3.5f);
}

TEST(MsgBoxLayout, TitleWidthStretchesTheContent) {
    BoxRequest request = HELLO("C");
    request.title = "{w40}";
    const BoxLayout wide = LAYOUT(request);
    EXPECT_EQ(wide.caption, "");
    EXPECT_FLOAT_EQ(wide.width, 40.0f);
    EXPECT_FLOAT_EQ(wide.text1.width, 38.0f);
    EXPECT_FLOAT_EQ(wide.buttons[0].x, 16.0f);

    request.title = "{w5}";
    const BoxLayout narrow = LAYOUT(request);
    EXPECT_FLOAT_EQ(narrow.width, 10.0f);
    EXPECT_FLOAT_EQ(narrow.text1.width, 8.0f);
    EXPECT_FLOAT_EQ(narrow.buttons[0].x, 1.0f);
}

TEST(MsgBoxLayout, TitleHeightCentresTheBlocks) {
    BoxRequest request = HELLO("");
    request.title = "{h20}";
    request.checkText = "Remember";
    const BoxLayout tall = LAYOUT(request);
    // Computed height 5.5, so every block moves down by (20 - 5.5) / 2.
    EXPECT_FLOAT_EQ(tall.height, 20.0f);
    EXPECT_FLOAT_EQ(tall.text1.y, 7.75f);
    EXPECT_FLOAT_EQ(tall.checkbox.y, 8.75f);
    EXPECT_FLOAT_EQ(tall.buttons[0].y, 18.0f);

    request.title = "{h3}";
    const BoxLayout kept = LAYOUT(request);
    EXPECT_FLOAT_EQ(kept.height, 5.5f);
    EXPECT_FLOAT_EQ(kept.text1.y, 0.5f);
    EXPECT_FLOAT_EQ(kept.checkbox.y, 1.5f);
    EXPECT_FLOAT_EQ(kept.buttons[0].y, 3.5f);
}

TEST(MsgBoxLayout, RowAlignment) {
    BoxRequest request = HELLO("cj");
    request.text1 = "A much longer line here";
    request.buttons = "OK|Cancel";
    const BoxLayout right = LAYOUT(request);
    EXPECT_FLOAT_EQ(right.width, 26.0f);
    EXPECT_FLOAT_EQ(right.buttons[0].x, 8.0f);
    EXPECT_FLOAT_EQ(right.buttons[1].x + right.buttons[1].width, right.width - 1.0f);
    EXPECT_EQ(right.text1.align, "C");

    request.flags = "C";
    const BoxLayout centred = LAYOUT(request);
    EXPECT_FLOAT_EQ(centred.buttons[0].x, 4.5f);

    request.flags = "";
    const BoxLayout left = LAYOUT(request);
    EXPECT_FLOAT_EQ(left.buttons[0].x, 1.0f);
    EXPECT_FLOAT_EQ(left.buttons[1].x, 10.0f);
    EXPECT_EQ(left.text1.align, "L");
}

TEST(MsgBoxLayout, LargerMargins) {
    const BoxLayout large = LAYOUT(HELLO("l"));
    EXPECT_FLOAT_EQ(large.text1.x, 2.0f);
    EXPECT_FLOAT_EQ(large.text1.y, 1.0f);
    EXPECT_FLOAT_EQ(large.width, 12.0f);
    EXPECT_FLOAT_EQ(large.height, 5.5f);
    EXPECT_FLOAT_EQ(large.buttons[0].x, 2.0f);
    EXPECT_FLOAT_EQ(large.buttons[0].y, 3.0f);

    const BoxLayout normal = LAYOUT(HELLO(""));
    EXPECT_FLOAT_EQ(normal.text1.x, 1.0f);
    EXPECT_FLOAT_EQ(normal.text1.y, 0.5f);
    EXPECT_FLOAT_EQ(normal.height, 4.0f);
    EXPECT_FLOAT_EQ(normal.buttons[0].y, 2.0f);
}

TEST(MsgBoxLayout, CheckboxAndDefault) {
    BoxRequest request = HELLO("C");
    request.text1 = "Your settings were saved.";
    request.checkText = "Don't ask again";
    request.result = -1;
    const BoxLayout box = LAYOUT(request);
    ASSERT_TRUE(box.checkbox.present);
    EXPECT_EQ(box.checkbox.text, "Don't ask again");
    EXPECT_TRUE(box.checked);
    EXPECT_EQ(box.focusButton, 1);
    // 15 characters + 3 wide, one row + 0.5 high, centred in a 26-column content column.
    EXPECT_FLOAT_EQ(box.checkbox.width, 18.0f);
    EXPECT_FLOAT_EQ(box.checkbox.height, 1.5f);
    EXPECT_FLOAT_EQ(box.checkbox.x, 5.0f);
    EXPECT_FLOAT_EQ(box.checkbox.y, 1.5f);
    EXPECT_FLOAT_EQ(box.height, 5.5f);

    request.flags = "";
    EXPECT_FLOAT_EQ(LAYOUT(request).checkbox.x, 1.0f);

    request.checkText = "Remember{f10,t4}";
    const BoxLayout styled = LAYOUT(request);
    EXPECT_EQ(styled.checkbox.font, 10);
    EXPECT_EQ(styled.checkbox.colour, 4);
    EXPECT_FLOAT_EQ(styled.checkbox.width, 15.0f);
    EXPECT_FLOAT_EQ(styled.checkbox.height, 2.5f);

    for (const int32_t unfocused : {0, 11, -11}) {
        request.result = unfocused;
        const BoxLayout none = LAYOUT(request);
        EXPECT_EQ(none.focusButton, 0) << unfocused;
        EXPECT_EQ(none.checked, unfocused < 0) << unfocused;
    }
    request.result = 10;
    EXPECT_EQ(LAYOUT(request).focusButton, 10);

    // Without a checkbox nothing can start ticked.
    request.checkText = "";
    request.result = -1;
    const BoxLayout unticked = LAYOUT(request);
    EXPECT_FALSE(unticked.checked);
    EXPECT_EQ(unticked.focusButton, 1);
}

TEST(MsgBoxLayout, Picture) {
    BoxRequest request = HELLO("sRf");
    request.pictureWidthPx = 160;
    request.pictureHeightPx = 64;
    const BoxLayout box = LAYOUT(request);
    ASSERT_TRUE(box.picture);
    EXPECT_EQ(box.pictureProps, "FRS");
    EXPECT_FLOAT_EQ(box.pictureX, 1.0f);
    EXPECT_FLOAT_EQ(box.pictureY, 0.5f);
    EXPECT_FLOAT_EQ(box.pictureWidth, 22.0f);
    EXPECT_FLOAT_EQ(box.pictureHeight, 4.0f);
    EXPECT_FLOAT_EQ(box.text1.x, 23.0f);
    EXPECT_FLOAT_EQ(box.buttons[0].x, 23.0f);
    EXPECT_FLOAT_EQ(box.width, 32.0f);
    // The picture is taller than the texts and buttons.
    EXPECT_FLOAT_EQ(box.height, 5.0f);
    EXPECT_FLOAT_EQ(box.buttons[0].y, 3.0f);

    // Seven pixels make no whole column: no picture, but its two columns stay.
    request.pictureWidthPx = 7;
    request.pictureHeightPx = 32;
    const BoxLayout tiny = LAYOUT(request);
    EXPECT_FALSE(tiny.picture);
    EXPECT_EQ(tiny.pictureProps, "");
    EXPECT_FLOAT_EQ(tiny.text1.x, 3.0f);
    EXPECT_FLOAT_EQ(tiny.width, 12.0f);
    EXPECT_FLOAT_EQ(tiny.height, 4.0f);

    request.pictureWidthPx = 0;
    request.pictureHeightPx = 0;
    const BoxLayout none = LAYOUT(request);
    EXPECT_FALSE(none.picture);
    EXPECT_FLOAT_EQ(none.text1.x, 1.0f);
    EXPECT_FLOAT_EQ(none.width, 10.0f);
}

TEST(MsgBoxLayout, WrappedBlock) {
    BoxRequest request = HELLO("");
    request.text1 = "The quick brown fox jumps over the lazy dog{w10}";
    const BoxLayout box = LAYOUT(request);
    EXPECT_EQ(box.text1.text, "The quick|brown fox|jumps over|the lazy|dog|");
    // Five lines and the empty one after the final "|"; the widest is "jumps over".
    EXPECT_FLOAT_EQ(box.text1.height, 6.0f);
    EXPECT_FLOAT_EQ(box.text1.width, 11.0f);
}

TEST(WrapText, BreaksAtSpacesWithinTheWidth) {
    const Measurer measure = FIXEDWIDTH();
    EXPECT_EQ(WRAPTEXT("The quick brown fox jumps over the lazy dog", 10, 0, measure),
              "The quick|brown fox|jumps over|the lazy|dog|");
    EXPECT_EQ(WRAPTEXT("One two three|Four", 7, 0, measure), "One two|three|Four|");
    EXPECT_EQ(WRAPTEXT("Short", 10, 0, measure), "Short|");
    EXPECT_EQ(WRAPTEXT("a  b", 10, 0, measure), "a  b|");
    EXPECT_EQ(WRAPTEXT("a|", 10, 0, measure), "a||");

    // Measured in the block's font.
    EXPECT_EQ(WRAPTEXT("aa bb cc", 6, 10, measure), "aa|bb|cc|");
    EXPECT_EQ(WRAPTEXT("aa bb cc", 6, 0, measure), "aa bb|cc|");
}

TEST(WrapText, WordsWiderThanTheLine) {
    const Measurer measure = FIXEDWIDTH();
    // A first word that is already too wide leaves an empty line before it.
    EXPECT_EQ(WRAPTEXT("Supercalifragilistic is long", 5, 0, measure), "|Supercalifragilistic|is|long|");
    EXPECT_EQ(WRAPTEXT("Supercalifragilistic", 5, 0, measure), "|Supercalifragilistic|");
}

// The caption is measured in the title bar's bold face, with room for the window's icon and
// buttons: a title wider than the content widens the box and centres the content in it.
TEST(MsgBoxLayout, TheBoxIsNeverNarrowerThanItsCaption) {
    BoxRequest request = HELLO("C");
    request.title = "A Title Much Wider Than Its Text";
    const BoxLayout wide = LAYOUT(request);
    EXPECT_EQ(wide.caption, "A Title Much Wider Than Its Text");
    EXPECT_FLOAT_EQ(wide.width, 32 * 0.5f + 10.0f);
    EXPECT_FLOAT_EQ(wide.text1.width, wide.width - 2.0f);
    EXPECT_FLOAT_EQ(wide.buttons[0].x + wide.buttons[0].width / 2, wide.width / 2);
    request.title = "Hi{w30}";
    EXPECT_FLOAT_EQ(LAYOUT(request).width, 30.0f);
    request.title = "Hi";
    EXPECT_FLOAT_EQ(LAYOUT(request).width, 11.0f);
    request.text1 = std::string(60, 'x');
    EXPECT_FLOAT_EQ(LAYOUT(request).width, 60 + 1.0f + 2.0f);
}
