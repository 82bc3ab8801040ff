// The profile file's text rules: what a read finds, and what a write changes and keeps.
#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

TEST(ProfileText, FirstSectionAndFirstKeyWin) {
    const std::string text =
        "[Options]\nRecall=1\nRecall=2\n[Info]\n1=Acme\n[options]\nRecall=3\nAutoUpdate=0\n";
    EXPECT_EQ(PROFILE_READ(text, "Options", "Recall", "x"), "1");
    EXPECT_EQ(PROFILE_READ(text, "Info", "1", "x"), "Acme");
    // A later section of the same name is not searched.
    EXPECT_EQ(PROFILE_READ(text, "Options", "AutoUpdate", "x"), "x");
    EXPECT_EQ(PROFILE_READ(text, "Info", "Recall", "x"), "x");
    EXPECT_EQ(PROFILE_READ(text, "Update", "Recall", "fallback"), "fallback");
    EXPECT_EQ(PROFILE_READ("", "Options", "Recall", "0"), "0");
    // Keys before the first section belong to none.
    EXPECT_EQ(PROFILE_READ("Recall=5\n[Options]\n", "Options", "Recall", "0"), "0");
}

TEST(ProfileText, NamesIgnoreCaseAndSurroundingBlanks) {
    const std::string text = "  [  oPTIONS ]  \n\t RECALL \t=\t  on and off \t \n[Stations]\nCalls=A, B\n";
    EXPECT_EQ(PROFILE_READ(text, "Options", "recall", ""), "on and off");
    EXPECT_EQ(PROFILE_READ(text, " options ", " Recall", ""), "on and off");
    EXPECT_EQ(PROFILE_READ(text, "STATIONS", "calls", ""), "A, B");
    EXPECT_EQ(PROFILE_READ(text, "Options", "Recal", "none"), "none");
    // Only ASCII letters fold: other bytes must match exactly.
    EXPECT_EQ(PROFILE_READ("[Caf\xC3\xA9]\nk=1\n", "CAF\xC3\xA9", "K", "none"), "1");
    EXPECT_EQ(PROFILE_READ("[Caf\xC3\xA9]\nk=1\n", "Caf\xC3\x89", "k", "none"), "none");
    // The value is everything after the first "=".
    EXPECT_EQ(PROFILE_READ("[a]\nurl = x=1&y=2\nempty=\n", "a", "url", ""), "x=1&y=2");
    EXPECT_EQ(PROFILE_READ("[a]\nurl = x=1&y=2\nempty=\n", "a", "empty", "none"), "");
}

TEST(ProfileText, LineEndingsMarkAndComments) {
    const std::string crlf = "[Options]\r\nRecall=1\r\nAutoUpdate=0\r\n";
    EXPECT_EQ(PROFILE_READ(crlf, "Options", "Recall", ""), "1");
    EXPECT_EQ(PROFILE_READ(crlf, "Options", "AutoUpdate", ""), "0");
    EXPECT_EQ(PROFILE_READ("[Options]\nRecall=1\r", "Options", "Recall", ""), "1");
    // A CR inside a line is part of it.
    EXPECT_EQ(PROFILE_READ("[a]\nk=1\r2\n", "a", "k", ""), "1\r2");

    const std::string marked = "\xEF\xBB\xBF[Options]\nRecall=1\n";
    EXPECT_EQ(PROFILE_READ(marked, "Options", "Recall", ""), "1");
    // Only a mark at the very start is skipped.
    EXPECT_EQ(PROFILE_READ("[a]\n\xEF\xBB\xBFk=1\n", "a", "k", "none"), "none");

    const std::string commented = "; [Options]\n[Options]\n# Recall=7\n;Recall=8\n  ; x\nRecall=1\n";
    EXPECT_EQ(PROFILE_READ(commented, "Options", "Recall", ""), "1");
    EXPECT_EQ(PROFILE_READ("; [Hidden]\nk=1\n", "Hidden", "k", "none"), "none");
}

TEST(ProfileText, ReadIsCutTo3999Bytes) {
    const std::string longValue(5000, 'v');
    EXPECT_EQ(PROFILE_READ("[a]\nk=" + longValue + "\n", "a", "k", ""), std::string(3999, 'v'));
    EXPECT_EQ(PROFILE_READ("", "a", "k", longValue), std::string(3999, 'v'));
    EXPECT_EQ(PROFILE_READ("[a]\nk=" + std::string(3999, 'v'), "a", "k", ""), std::string(3999, 'v'));
    // A two-byte character that would be split is left out whole.
    const std::string accented = std::string(3998, 'v') + "\xC3\xA9" + "tail";
    EXPECT_EQ(PROFILE_READ("[a]\nk=" + accented, "a", "k", ""), std::string(3998, 'v'));
}

TEST(ProfileText, WriteReplacesValueInPlace) {
    const std::string before =
        "; settings\r\n[Options]\r\n  Recall = 0  \r\n# note\r\nAutoUpdate=1\r\n\r\n[Info]\r\nrecall=9\r\n";
    EXPECT_EQ(
        PROFILE_WRITE(before, "options", "RECALL", "1"),
        "; settings\r\n[Options]\r\n  Recall = 1\r\n# note\r\nAutoUpdate=1\r\n\r\n[Info]\r\nrecall=9\r\n");
    // An empty value keeps the key with nothing after "=".
    const std::string cleared = PROFILE_WRITE(before, "Options", "Recall", "");
    EXPECT_EQ(
        cleared,
        "; settings\r\n[Options]\r\n  Recall =\r\n# note\r\nAutoUpdate=1\r\n\r\n[Info]\r\nrecall=9\r\n");
    EXPECT_EQ(PROFILE_READ(cleared, "Options", "Recall", "none"), "");
    EXPECT_EQ(PROFILE_WRITE("[a]\nk =\n", "a", "k", "v"), "[a]\nk =v\n");
    // Only the first key of the first section of the name changes.
    EXPECT_EQ(PROFILE_WRITE("[a]\nk=1\nk=2\n[A]\nk=3\n", "A", "K", "x"), "[a]\nk=x\nk=2\n[A]\nk=3\n");
    // The last line keeps its missing or CR-only ending; the mark stays.
    EXPECT_EQ(PROFILE_WRITE("\xEF\xBB\xBF[a]\nk=1", "a", "k", "22"), "\xEF\xBB\xBF[a]\nk=22");
    EXPECT_EQ(PROFILE_WRITE("[a]\nk=1\r", "a", "k", "22"), "[a]\nk=22\r");
}

TEST(ProfileText, WriteAddsKeyAtEndOfItsSection) {
    EXPECT_EQ(PROFILE_WRITE("[Options]\nRecall=1\n\n\n[Info]\n1=A\n", "options", "AutoUpdate", "0"),
              "[Options]\nRecall=1\nAutoUpdate=0\n\n\n[Info]\n1=A\n");
    EXPECT_EQ(PROFILE_WRITE("[Options]\r\n; last\r\n   \r\n[Info]\r\n", "Options", "Recall", "1"),
              "[Options]\r\n; last\r\nRecall=1\r\n   \r\n[Info]\r\n");
    EXPECT_EQ(PROFILE_WRITE("[Options]\n[Info]\n", "Info", "1", "A"), "[Options]\n[Info]\n1=A\n");
    EXPECT_EQ(PROFILE_WRITE("[Options]", "Options", "Recall", "1"), "[Options]\nRecall=1\n");
    EXPECT_EQ(PROFILE_WRITE("[Options]\r\nRecall=1", "Options", "New", "2"),
              "[Options]\r\nRecall=1\r\nNew=2\r\n");
    EXPECT_EQ(PROFILE_WRITE("[Options]\r\nRecall=1\r", "Options", "New", "2"),
              "[Options]\r\nRecall=1\r\nNew=2\r\n");
    // The key goes to the first section of the name, not to a later one.
    EXPECT_EQ(PROFILE_WRITE("[a]\nx=1\n[b]\n[A]\nk=2\n", "a", "k", "3"), "[a]\nx=1\nk=3\n[b]\n[A]\nk=2\n");
    // Names are written without their surrounding blanks.
    EXPECT_EQ(PROFILE_WRITE("[a]\n", " a ", " k\t", "v"), "[a]\nk=v\n");
}

TEST(ProfileText, WriteAddsSectionAtEnd) {
    EXPECT_EQ(PROFILE_WRITE("", "Options", "Recall", "1"), "[Options]\nRecall=1\n");
    EXPECT_EQ(PROFILE_WRITE("\xEF\xBB\xBF", "Options", "Recall", "1"), "\xEF\xBB\xBF[Options]\nRecall=1\n");
    EXPECT_EQ(PROFILE_WRITE("[Info]\n1=A\n", "Options", "Recall", ""), "[Info]\n1=A\n\n[Options]\nRecall=\n");
    EXPECT_EQ(PROFILE_WRITE("[Info]\n1=A\n\n", "Options", "Recall", "1"),
              "[Info]\n1=A\n\n[Options]\nRecall=1\n");
    EXPECT_EQ(PROFILE_WRITE("[Info]\r\n1=A", "Options", "Recall", "1"),
              "[Info]\r\n1=A\r\n\r\n[Options]\r\nRecall=1\r\n");
    EXPECT_EQ(PROFILE_WRITE("; only a comment", "Options", "Recall", "1"),
              "; only a comment\n\n[Options]\nRecall=1\n");
    // A header that is only a comment does not count.
    EXPECT_EQ(PROFILE_WRITE(";[Options]\n", "Options", "Recall", "1"), ";[Options]\n\n[Options]\nRecall=1\n");
}

TEST(ProfileText, LineBreaksCannotEnterTheFile) {
    const std::string written = PROFILE_WRITE("[a]\nk=1\n", "a", "k", "one\r\ntwo\nthree\r");
    EXPECT_EQ(written, "[a]\nk=one  two three\n");
    const std::string added = PROFILE_WRITE("", "new\nsection", "the\rkey", "x\ny");
    EXPECT_EQ(added, "[new section]\nthe key=x y\n");
    EXPECT_EQ(PROFILE_READ(added, "new section", "the key", ""), "x y");
    EXPECT_EQ(PROFILE_READ(added, "new\nsection", "the\rkey", ""), "x y");
}

// A blank at either end of a value would be read as spacing around "=": the file holds the value
// as it reads back, and writing it again, however often, never adds to the line.
TEST(ProfileText, BlanksAtAValuesEndsNeverGrowTheLine) {
    std::string content = "[a]\nk =\t old\n";
    for (int i = 0; i < 3; ++i) content = PROFILE_WRITE(content, "a", "k", "\tvalue\t ");
    EXPECT_EQ(content, "[a]\nk =\t value\n");
    EXPECT_EQ(PROFILE_READ(content, "a", "k", ""), "value");
    for (int i = 0; i < 3; ++i) content = PROFILE_WRITE(content, "a", "j", "\nline\n");
    EXPECT_EQ(content, "[a]\nk =\t value\nj=line\n");
    EXPECT_EQ(PROFILE_WRITE(content, "a", "k", " \t "), "[a]\nk =\nj=line\n");
}

TEST(ProfileText, DamagedContentNeverBreaksReadOrWrite) {
    const std::string withNul = "[a]\nk=1\0002\n\0[b]\nj=\0\n"s;
    EXPECT_EQ(PROFILE_READ(withNul, "a", "k", ""), "1\0002"s);
    EXPECT_EQ(PROFILE_READ(withNul, "b", "j", "none"), "none");
    EXPECT_EQ(PROFILE_READ(withNul, "a", "j", "none"), "\0"s);

    const std::string huge(5'000'000, 'x');
    EXPECT_EQ(PROFILE_READ("[a]\nk=" + huge, "a", "k", ""), std::string(3999, 'x'));
    EXPECT_EQ(PROFILE_READ("[" + huge, "a", "k", "none"), "none");
    EXPECT_EQ(PROFILE_READ(std::string(5'000'000, '='), "a", "k", "none"), "none");
    EXPECT_EQ(PROFILE_READ(std::string(5'000'000, '\n') + "[a]\nk=1", "a", "k", ""), "1");
    const std::string grown = PROFILE_WRITE("[a]\nbig=" + huge + "\n", "a", "k", "1");
    EXPECT_EQ(grown, "[a]\nbig=" + huge + "\nk=1\n");
}

// Random content built from random bytes and from pieces that matter to the format: after a
// write the written value reads back, and every other value reads as before.
TEST(ProfileText, RandomContentKeepsReadAndWriteConsistent) {
    std::mt19937 random(20240917);
    const std::string pieces[] = {
        "[",    "]",     "=",   ";",       "#",       " ",  "\t",  "\r",           "\n",
        "\r\n", "a",     "A",   "k",       "K",       "ab", "\0"s, "\xEF\xBB\xBF", "\xC3\xA9",
        "[a]",  "[ K ]", "k=1", " a = 2 ", "[ab]\n\n"};
    const std::string names[] = {"a", "A", "k", "K", "ab"};
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1), name(0, 4), length(0, 120);
    std::uniform_int_distribution<int> byte(0, 255), coin(0, 7);
    for (int round = 0; round < 5000; ++round) {
        std::string content;
        for (size_t count = length(random); count > 0; --count) {
            content +=
                coin(random) == 0 ? std::string(1, static_cast<char>(byte(random))) : pieces[piece(random)];
        }
        const std::string section = names[name(random)], key = names[name(random)];
        const std::string value = "v" + std::to_string(round) + " = x";
        const std::string written = PROFILE_WRITE(content, section, key, value);
        ASSERT_EQ(PROFILE_READ(written, section, key, "none"), value) << "round " << round;
        for (const std::string& otherSection : names) {
            for (const std::string& otherKey : names) {
                if (sameName(otherSection, section) && sameName(otherKey, key)) continue;
                ASSERT_EQ(PROFILE_READ(written, otherSection, otherKey, "none"),
                          PROFILE_READ(content, otherSection, otherKey, "none"))
                    << "round " << round << " [" << otherSection << "] " << otherKey;
            }
        }
    }
}
