// The rich-text view's RTF reader on files as three editors write them, on damaged files, and on
// thousands of random and mutated inputs.
#include "gui/rtf_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string corpusFile(const std::string& name) {
    std::ifstream in(std::string(RTF_CORPUS) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The run that holds the text; fails the test when none does.
const rtf::Run& runWith(const rtf::Document& document, const std::string& text) {
    for (const rtf::Paragraph& paragraph : document.paragraphs)
        for (const rtf::Run& run : paragraph.runs)
            if (run.text.find(text) != std::string::npos) return run;
    ADD_FAILURE() << "no run holds \"" << text << "\"";
    static const rtf::Run none;
    return none;
}

const rtf::Paragraph& paragraphWith(const rtf::Document& document, const std::string& text) {
    for (const rtf::Paragraph& paragraph : document.paragraphs)
        for (const rtf::Run& run : paragraph.runs)
            if (run.text.find(text) != std::string::npos) return paragraph;
    ADD_FAILURE() << "no paragraph holds \"" << text << "\"";
    static const rtf::Paragraph none;
    return none;
}

std::optional<rtf::Colour> rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return rtf::Colour{red, green, blue};
}

bool validUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

TEST(RtfReader, WordPadFileKeepsItsTextRunsAndParagraphs) {
    rtf::Document document = rtf::readRtf(corpusFile("wordpad.rtf"));
    EXPECT_EQ(rtf::plainText(document),
              "Station Report\nPlain text with italic and underlined words.\nRed words then big blue text.\n"
              "\u2022\tCaf\u00e9 na\u00efve \u201cquoted\u201d \u2014 dash\nCentred line\nRight\taligned\n"
              "second line");
    const rtf::Run& heading = runWith(document, "Station Report");
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.halfPoints, 22);
    EXPECT_EQ(heading.font, "Calibri");
    EXPECT_FALSE(runWith(document, "Plain text").bold);
    EXPECT_TRUE(runWith(document, "italic").italic);
    EXPECT_FALSE(runWith(document, " and ").italic);
    EXPECT_TRUE(runWith(document, "underlined").underline);
    EXPECT_FALSE(runWith(document, " words.").underline);
    EXPECT_EQ(runWith(document, "Red words").colour, rgb(255, 0, 0));
    EXPECT_EQ(runWith(document, " then ").colour, std::nullopt);
    EXPECT_EQ(runWith(document, "big blue").colour, rgb(0, 112, 192));
    EXPECT_EQ(runWith(document, "big blue").halfPoints, 28);
    EXPECT_EQ(runWith(document, " text.").halfPoints, 22);
    const rtf::Paragraph& item = paragraphWith(document, "Caf");
    EXPECT_EQ(item.leftIndent, 720);
    EXPECT_EQ(item.firstIndent, -360);
    EXPECT_EQ(paragraphWith(document, "Centred").align, rtf::Align::Centre);
    EXPECT_EQ(paragraphWith(document, "Centred").leftIndent, 0);
    EXPECT_EQ(paragraphWith(document, "Right").align, rtf::Align::Right);
    EXPECT_EQ(document.paragraphs.size(), 6u);
}

TEST(RtfReader, LibreOfficeFileSkipsItsTablesAndShowsFieldResults) {
    rtf::Document document = rtf::readRtf(corpusFile("libreoffice.rtf"));
    EXPECT_EQ(rtf::plainText(document),
              "Quarterly Figures\nGr\u00fc\u00df Gott from M\u00fcnchen in italics\n\u2022\tMaroon item\n"
              "Linked text");
    const rtf::Run& heading = runWith(document, "Quarterly Figures");
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.halfPoints, 28);
    EXPECT_EQ(heading.font, "Liberation Sans");
    EXPECT_EQ(paragraphWith(document, "Quarterly").spaceBefore, 240);
    EXPECT_EQ(paragraphWith(document, "Quarterly").spaceAfter, 120);
    const rtf::Run& greeting = runWith(document, "Gott");
    EXPECT_FALSE(greeting.bold);
    EXPECT_FALSE(greeting.italic);
    EXPECT_EQ(greeting.font, "Liberation Serif");
    EXPECT_TRUE(runWith(document, "in italics").italic);
    EXPECT_EQ(runWith(document, "Maroon").colour, rgb(128, 0, 0));
    EXPECT_EQ(paragraphWith(document, "Maroon").leftIndent, 720);
    EXPECT_EQ(paragraphWith(document, "Maroon").firstIndent, -360);
    const rtf::Run& link = runWith(document, "Linked text");
    EXPECT_TRUE(link.underline);
    EXPECT_EQ(link.colour, rgb(0, 0, 255));
    EXPECT_EQ(paragraphWith(document, "Linked").align, rtf::Align::Centre);
}

TEST(RtfReader, TextEditFileBreaksParagraphsAtEscapedLineEnds) {
    rtf::Document document = rtf::readRtf(corpusFile("textedit.rtf"));
    EXPECT_EQ(rtf::plainText(document),
              "Plain Helvetica line\n\nBold heading\nOblique words and red \u201cquoted\u201d\n"
              "Euro \u20ac sign");
    EXPECT_EQ(runWith(document, "Plain").font, "Helvetica");
    EXPECT_EQ(runWith(document, "Plain").halfPoints, 24);
    EXPECT_TRUE(runWith(document, "Bold heading").bold);
    EXPECT_EQ(runWith(document, "Bold heading").font, "Helvetica-Bold");
    EXPECT_TRUE(runWith(document, "Oblique").italic);
    EXPECT_EQ(runWith(document, "red").colour, rgb(251, 2, 7));
    EXPECT_EQ(runWith(document, "quoted").colour, std::nullopt);
}

TEST(RtfReader, EscapesUnicodeAndCodePage) {
    auto text = [](const std::string& rtf) { return rtf::plainText(rtf::readRtf(rtf)); };
    EXPECT_EQ(text("{\\rtf1 a\\{b\\}c\\\\d}"), "a{b}c\\d");
    EXPECT_EQ(text("{\\rtf1 \\'80\\'8a\\'97\\'9f\\'e9\\'81}"), "\u20ac\u0160\u2014\u0178\u00e9\ufffd");
    EXPECT_EQ(text("{\\rtf1 \\'80\\'9F\\'E9}"), "\u20ac\u0178\u00e9");
    // Negative numbers stand for units above 32767; each \u is followed by \uc stand-ins.
    EXPECT_EQ(text("{\\rtf1 \\u-3913?x}"), "\uf0b7x");
    EXPECT_EQ(text("{\\rtf1\\uc2 \\u233 xyz}"), "\u00e9z");
    EXPECT_EQ(text("{\\rtf1\\uc0 \\u233 xyz}"), "\u00e9xyz");
    EXPECT_EQ(text("{\\rtf1 \\u233\\'e9 done}"), "\u00e9 done");
    EXPECT_EQ(text("{\\rtf1 {\\uc3 \\u233 abcd}\\u233 ef}"), "\u00e9d\u00e9f");
    EXPECT_EQ(text("{\\rtf1 \\u-10179?\\u-8704?!}"), "\U0001F600!");
    EXPECT_EQ(text("{\\rtf1 \\u55357?x}"), "\ufffdx");
    EXPECT_EQ(text("{\\rtf1 \\u56832?x}"), "\ufffdx");
    EXPECT_EQ(text("{\\rtf1 \\u70000?x}"), "\ufffdx");
    EXPECT_EQ(text("{\\rtf1 a\\~b\\_c\\-d\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}"),
              "a\u00a0b\u2011cd\u2014\u2013\u2022\u2018\u2019\u201c\u201d");
    EXPECT_EQ(text("{\\rtf1 one\\line two\\tab three\\par four}"), "one\ntwo\tthree\nfour");
}

TEST(RtfReader, FormatsFollowGroupsAndSwitches) {
    rtf::Document document = rtf::readRtf(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f0\\fs20 plain {\\b bold {\\i both}} "
        "\\ul under\\ul0  off \\i\\b on\\plain  reset \\f1 mono \\fs-5 tiny \\fs99999999999999 big}");
    EXPECT_TRUE(runWith(document, "bold").bold);
    EXPECT_FALSE(runWith(document, "bold").italic);
    EXPECT_TRUE(runWith(document, "both").bold);
    EXPECT_TRUE(runWith(document, "both").italic);
    EXPECT_TRUE(runWith(document, "under").underline);
    EXPECT_FALSE(runWith(document, " off ").underline);
    EXPECT_TRUE(runWith(document, "on").bold);
    EXPECT_TRUE(runWith(document, "on").italic);
    EXPECT_FALSE(runWith(document, " reset").bold);
    EXPECT_EQ(runWith(document, " reset").halfPoints, 24);
    EXPECT_EQ(runWith(document, " reset").font, "Arial");
    EXPECT_EQ(runWith(document, "plain").halfPoints, 20);
    EXPECT_EQ(runWith(document, "mono").font, "Courier New");
    EXPECT_EQ(runWith(document, "tiny").halfPoints, 2);
    EXPECT_EQ(runWith(document, "big").halfPoints, 400);
    // A font or colour the tables lack is the view's own, never an index into anything.
    rtf::Document unknown =
        rtf::readRtf("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\f77\\cf99 a\\cf1 b\\cf-4 c}");
    EXPECT_EQ(runWith(unknown, "a").font, "");
    EXPECT_EQ(runWith(unknown, "a").colour, std::nullopt);
    EXPECT_EQ(runWith(unknown, "b").colour, rgb(1, 2, 3));
    EXPECT_EQ(runWith(unknown, "c").colour, std::nullopt);
    rtf::Document indents = rtf::readRtf("{\\rtf1\\li99999999\\fi-99999999\\sb-5 wide\\par}");
    EXPECT_EQ(indents.paragraphs[0].leftIndent, 14400);
    EXPECT_EQ(indents.paragraphs[0].firstIndent, -14400);
    EXPECT_EQ(indents.paragraphs[0].spaceBefore, 0);
}

TEST(RtfReader, DestinationsPicturesAndBinaryDataAreNotText) {
    auto text = [](const std::string& rtf) { return rtf::plainText(rtf::readRtf(rtf)); };
    EXPECT_EQ(text("{\\rtf1 {\\*\\unknownthing secret}visible}"), "visible");
    EXPECT_EQ(text("{\\rtf1 {\\info{\\title secret}{\\author me}}visible}"), "visible");
    EXPECT_EQ(text("{\\rtf1 {\\stylesheet{\\s0 Normal;}}a{\\pict\\pngblip 89504e47}b}"), "ab");
    EXPECT_EQ(text("{\\rtf1 a{\\header page head}{\\footnote note}b}"), "ab");
    EXPECT_EQ(text("{\\rtf1 A\\bin3 {}}B}"), "AB");
    EXPECT_EQ(text("{\\rtf1 A\\bin999999 BCD}"), "A");
    EXPECT_EQ(text("{\\rtf1 {\\upr{ansi}{\\*\\ud{unicode}}}}"), "ansi");
    // The file ends with its top group; what follows is not shown.
    EXPECT_EQ(text("{\\rtf1 shown}hidden{\\rtf1 more}"), "shown");
}

TEST(RtfReader, DamagedFilesGiveWhatTheyHold) {
    auto text = [](const std::string& rtf) { return rtf::plainText(rtf::readRtf(rtf)); };
    rtf::Document cut = rtf::readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b wor");
    EXPECT_EQ(rtf::plainText(cut), "Hello wor");
    EXPECT_TRUE(runWith(cut, "wor").bold);
    EXPECT_EQ(text("{\\rtf1{\\fonttbl{\\f0 Ari"), "");
    EXPECT_EQ(text("{\\rtf1 text {\\pict 0102"), "text ");
    EXPECT_EQ(text("{\\rtf1 A}}}} B"), "A");
    EXPECT_EQ(text("{\\rtf1 }}}a"), "");
    EXPECT_EQ(text("{\\rtf1 bad \\'zz hex \\'4"), "bad zz hex 4");
    EXPECT_EQ(text("{\\rtf1 end\\"), "end");
    EXPECT_EQ(text("{\\rtf1 \\u"), "");
    EXPECT_EQ(text("{\\rtf1 \\fs99999999999999999999999999 x}"), "x");
    std::string letters(100, 'q');
    EXPECT_EQ(text("{\\rtf1 \\" + letters + " z}"), std::string(100 - 32, 'q') + " z");
    // Nesting far deeper than any editor writes is read without growing a stack for it.
    std::string deep = "{\\rtf1 " + std::string(200000, '{') + "x" + std::string(200000, '}') + "y}";
    EXPECT_EQ(text(deep), "xy");
}

TEST(RtfReader, TextThatIsNotRtfIsShownAsItStands) {
    EXPECT_FALSE(rtf::isRtf("plain"));
    EXPECT_TRUE(rtf::isRtf("  \r\n{\\rtf1}"));
    EXPECT_EQ(rtf::plainText(rtf::readRtf("line one\r\nline two\nthree")), "line one\nline two\nthree");
    EXPECT_EQ(rtf::plainText(rtf::readRtf("caf\xe9 \x93ok\x94")), "caf\u00e9 \u201cok\u201d");
    EXPECT_EQ(rtf::plainText(rtf::readRtf("caf\u00e9")), "caf\u00e9");
    EXPECT_EQ(rtf::plainText(rtf::readPlainText("{\\rtf1 \\b raw}")), "{\\rtf1 \\b raw}");
    EXPECT_EQ(rtf::plainText(rtf::readRtf("")), "");
}

// Any bytes give a document whose text is valid UTF-8 and no larger than the input allows.
TEST(RtfReader, RandomAndMutatedInputsAlwaysReturn) {
    std::mt19937 random(20261208);
    const std::string seeds[] = {corpusFile("wordpad.rtf"), corpusFile("libreoffice.rtf"),
                                 corpusFile("textedit.rtf")};
    const std::string pieces[] = {"{",      "}",   "\\",        "\\'",        "\\u",  "\\uc",      "\\bin",
                                  "\\par",  "\\*", "\\fonttbl", "\\colortbl", "\\f",  "\\cf",      "\\fs",
                                  "-",      "9",   "65535",     ";",          " ",    "\\'ff",     "\\red",
                                  "\\pict", "\\b", "x",         "\xe9",       "\r\n", "\\u-10179", "?"};
    for (int round = 0; round < 4000; ++round) {
        std::string input;
        switch (round % 4) {
            case 0:
                for (int i = std::uniform_int_distribution<int>(0, 400)(random); i > 0; --i)
                    input += static_cast<char>(random() & 0xFF);
                break;
            case 1:
                input = "{\\rtf1 ";
                for (int i = std::uniform_int_distribution<int>(0, 200)(random); i > 0; --i)
                    input += pieces[random() % std::size(pieces)];
                break;
            default: {
                input = seeds[random() % std::size(seeds)];
                for (int i = std::uniform_int_distribution<int>(1, 8)(random); i > 0; --i) {
                    size_t at = random() % input.size();
                    switch (random() % 3) {
                        case 0: input[at] = static_cast<char>(random() & 0xFF); break;
                        case 1: input.erase(at, random() % 40); break;
                        default: input.insert(at, pieces[random() % std::size(pieces)]); break;
                    }
                    if (input.empty()) input = "{";
                }
                if (random() % 3 == 0) input.resize(random() % input.size());
            }
        }
        rtf::Document document = rtf::readRtf(input);
        std::string shown = rtf::plainText(document);
        ASSERT_TRUE(validUtf8(shown)) << "round " << round;
        ASSERT_LE(document.paragraphs.size(), input.size() + 1) << "round " << round;
        ASSERT_LE(shown.size(), 4 * input.size() + 1) << "round " << round;
    }
}

}  // namespace
