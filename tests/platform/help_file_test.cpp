// The compiled help file as the build makes it, and the formats read out of help files.
#include "platform/help_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/support/scratch_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kHelpFile = TARVEX_HELP_FILE;
const fs::path kHelpSources = fs::path(__FILE__).parent_path().parent_path().parent_path() / "resources/help";

// The topics that the program opens by context number.
const std::map<uint32_t, std::string> kTopics = {
    {100, "/calculator.htm"}, {102, "/getting_started.htm"}, {105, "/results.htm"},  {110, "/inputs.htm"},
    {115, "/comments.htm"},   {120, "/buttons.htm"},         {130, "/printing.htm"}, {135, "/station_editor.htm"},
    {145, "/station_rows.htm"}, {150, "/saving.htm"},        {155, "/opening.htm"},  {160, "/comparing.htm"},
    {165, "/exporting.htm"},  {170, "/updating.htm"}};

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void flatten(const std::vector<help::ContentsEntry>& entries, std::vector<const help::ContentsEntry*>& out) {
    for (const help::ContentsEntry& entry : entries) {
        out.push_back(&entry);
        flatten(entry.children, out);
    }
}

std::vector<const help::ContentsEntry*> flattened(const std::vector<help::ContentsEntry>& entries) {
    std::vector<const help::ContentsEntry*> out;
    flatten(entries, out);
    return out;
}

std::string le32(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

std::string le16(uint16_t value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }

// A "#STRINGS" file and the "#IVB" entries pointing into it, as a help compiler lays them out.
struct ContextMapBytes {
    std::string strings = std::string(1, '\0');
    std::string entries;

    void add(uint32_t number, const std::string& target) {
        entries += le32(number) + le32(static_cast<uint32_t>(strings.size()));
        strings += target + '\0';
    }
    std::string ivb() const { return le32(static_cast<uint32_t>(entries.size())) + entries; }
};

// A folder of its own for the damaged copies, removed afterwards; its name is no ASCII, as a
// user's folder may be.
class HelpFileCopies : public testing::Test {
protected:
    void SetUp() override {
        folder = scratchFolder("help-copies-é");
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST(HelpFile, TheBuiltFileOpensAtItsDefaultPageAndHoldsEveryPage) {
    ASSERT_TRUE(fs::exists(kHelpFile)) << kHelpFile;
    auto file = help::HelpFile::open(kHelpFile);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), "Tarvex Help");
    EXPECT_EQ(file->defaultPage(), "/getting_started.htm");
    EXPECT_EQ(file->contentsFile(), "/contents.hhc");

    // Every source file is inside, byte for byte, under its path in the sources folder.
    for (const auto& source : fs::recursive_directory_iterator(kHelpSources)) {
        std::string name = source.path().lexically_relative(kHelpSources).generic_string();
        if (!source.is_regular_file() || source.path().extension() == ".hhp") continue;
        std::optional<std::string> bytes = file->read("/" + name);
        ASSERT_TRUE(bytes) << name;
        EXPECT_EQ(*bytes, contentsOf(source.path())) << name;
        EXPECT_NE(std::find(file->files().begin(), file->files().end(), "/" + name), file->files().end())
            << name;
    }
    EXPECT_FALSE(file->read("/no_such_page.htm"));
}

TEST(HelpFile, EveryContextNumberOpensItsOwnTopic) {
    auto file = help::HelpFile::open(kHelpFile);
    ASSERT_TRUE(file);
    for (const auto& [number, page] : kTopics) {
        EXPECT_EQ(file->topicFile(number), page) << number;
        EXPECT_TRUE(file->read(page)) << page;
    }
    for (uint32_t unknown : {0u, 1u, 99u, 101u, 999u, 0xFFFFFFFFu}) EXPECT_EQ(file->topicFile(unknown), "");

    // The compiler stores each target as the absolute path the page had when it was built.
    auto map = help::parseContextMap(*file->read("/#IVB"), *file->read("/#STRINGS"));
    ASSERT_TRUE(map);
    ASSERT_EQ(map->size(), kTopics.size());
    for (const help::ContextEntry& entry : *map) {
        ASSERT_TRUE(kTopics.count(entry.number)) << entry.number;
        EXPECT_EQ(entry.target.front(), '/') << entry.target;
        EXPECT_TRUE(entry.target.ends_with(kTopics.at(entry.number))) << entry.target;
    }
}

TEST(HelpFile, TheContentsListEveryTopic) {
    auto file = help::HelpFile::open(kHelpFile);
    ASSERT_TRUE(file);
    std::vector<help::ContentsEntry> contents = file->contents();
    std::set<std::string> listed;
    for (const help::ContentsEntry* entry : flattened(contents)) {
        EXPECT_FALSE(entry->name.empty());
        if (entry->file.empty()) {
            EXPECT_FALSE(entry->children.empty()) << entry->name << " is a heading with nothing under it";
        } else {
            EXPECT_TRUE(file->read(entry->file)) << entry->file;
            listed.insert(entry->file);
        }
    }
    std::set<std::string> pages;
    for (const std::string& name : file->files())
        if (name.ends_with(".htm")) pages.insert(name);
    EXPECT_EQ(listed, pages);
    EXPECT_EQ(contents.front().file, file->defaultPage());
}

TEST(HelpFile, AFileThatNamesNoPagesFallsBackOnWhatItHolds) {
    auto file = help::HelpFile::open(BARE_HELP_FILE);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), "");
    // The contents are the one contents file inside; the default page is their first page.
    EXPECT_EQ(file->contentsFile(), "/toc.hhc");
    ASSERT_EQ(file->contents().size(), 1u);
    EXPECT_EQ(file->contents()[0].children.size(), 2u);
    EXPECT_EQ(file->defaultPage(), "/two.htm");
    // Without a context map no number leads anywhere.
    EXPECT_FALSE(file->read("/#IVB"));
    EXPECT_EQ(file->topicFile(100), "");
}

TEST_F(HelpFileCopies, MissingTruncatedAndGarbageFilesFailCleanly) {
    EXPECT_FALSE(help::HelpFile::open(utf8(folder / "missing.chm")));
    EXPECT_FALSE(help::HelpFile::open(utf8(folder)));
    writeFile(folder / "empty.chm", "");
    EXPECT_FALSE(help::HelpFile::open(utf8(folder / "empty.chm")));

    std::mt19937 random(20240601);
    std::string garbage(30000, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random());
    writeFile(folder / "garbage.chm", garbage);
    EXPECT_FALSE(help::HelpFile::open(utf8(folder / "garbage.chm")));

    // A cut-off copy does not open, wherever it was cut: its pages would read as zeros.
    const std::string whole = contentsOf(fromUtf8(kHelpFile));
    const fs::path copy = folder / "copy.chm";
    for (size_t length = 0; length < whole.size(); length += 97) {
        writeFile(copy, whole.substr(0, length));
        EXPECT_FALSE(help::HelpFile::open(utf8(copy))) << "the first " << length << " bytes";
    }
    writeFile(copy, whole.substr(0, whole.size() - 1));
    EXPECT_FALSE(help::HelpFile::open(utf8(copy)));

    // Bytes after the declared end do no harm: every page reads as in the original. (The copy is
    // closed before it is written again: Windows lets no one write a file that chmlib holds open.)
    writeFile(copy, whole + garbage.substr(0, 100));
    {
        auto padded = help::HelpFile::open(utf8(copy));
        auto intact = help::HelpFile::open(kHelpFile);
        ASSERT_TRUE(padded);
        ASSERT_TRUE(intact);
        EXPECT_EQ(padded->files(), intact->files());
        for (const std::string& name : intact->files()) EXPECT_EQ(padded->read(name), intact->read(name)) << name;
        EXPECT_EQ(padded->topicFile(130), "/printing.htm");
    }

    // A sound header in front of garbage opens no file.
    writeFile(copy, whole.substr(0, 0x78) + garbage);
    EXPECT_FALSE(help::HelpFile::open(utf8(copy)));
}

TEST(HelpSitemap, NestedListsBecomeATree) {
    const std::string html = R"(<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">
<HTML><BODY>
<OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>
<!-- <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Commented out"></OBJECT></UL> -->
<UL>
  <LI> <OBJECT type="text/sitemap">
      <param name="Name" value="Start &amp; Overview">
      <param name="Local" value="start.htm">
      </OBJECT>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Calculator"></OBJECT>
  <UL>
    <li><object TYPE='TEXT/SITEMAP'><PARAM NAME='name' VALUE='Inputs'><param name=local value=sub\inputs.htm></object>
    <LI><OBJECT type="text/sitemap"><param name="Name" value="Results">
        <param name="Local" value="ms-its:Tarvex Help.chm::/results.htm#example">
        <param name="Local" value="other.htm"></OBJECT>
      <UL>
        <LI><OBJECT type="text/sitemap"><param name="Name" value="Caf&#233; &#x2014; sales"><param name="Local" value="/deep.htm"></OBJECT>
      </UL>
  </UL>
  <LI><OBJECT type="application/x-oleobject"><param name="Name" value="Not an entry"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Last"><param name="Local" value="last.htm"></OBJECT>
</UL>
</BODY></HTML>)";
    std::vector<help::ContentsEntry> tree = help::parseSitemap(html);
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].name, "Start & Overview");
    EXPECT_EQ(tree[0].file, "/start.htm");
    EXPECT_TRUE(tree[0].children.empty());
    EXPECT_EQ(tree[1].name, "Calculator");
    EXPECT_EQ(tree[1].file, "");
    ASSERT_EQ(tree[1].children.size(), 2u);
    EXPECT_EQ(tree[1].children[0].name, "Inputs");
    EXPECT_EQ(tree[1].children[0].file, "/sub/inputs.htm");
    EXPECT_EQ(tree[1].children[1].name, "Results");
    EXPECT_EQ(tree[1].children[1].file, "/results.htm#example");
    ASSERT_EQ(tree[1].children[1].children.size(), 1u);
    EXPECT_EQ(tree[1].children[1].children[0].name, "Caf\xC3\xA9 \xE2\x80\x94 sales");
    EXPECT_EQ(tree[1].children[1].children[0].file, "/deep.htm");
    EXPECT_EQ(tree[2].name, "Last");

    EXPECT_TRUE(help::parseSitemap("").empty());
    EXPECT_TRUE(help::parseSitemap("no tags at all").empty());
}

// Lists nested a hundred thousand deep would make a tree too deep to walk: entries beyond the
// deepest level kept join that level, and none is lost.
TEST(HelpSitemap, ListsNestedBeyondAnyContentsStopDeepening) {
    const std::string entry = R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="x"></OBJECT>)";
    std::string html;
    for (int level = 0; level < 100000; ++level) html += "<UL>" + entry;
    const std::vector<help::ContentsEntry> tree = help::parseSitemap(html);
    EXPECT_EQ(flattened(tree).size(), 100000u);
    size_t depth = 0;
    for (const std::vector<help::ContentsEntry>* level = &tree; !level->empty(); level = &level->back().children)
        ++depth;
    EXPECT_EQ(depth, 64u);
}

TEST(HelpSitemap, ACutOffSitemapGivesTheEntriesCompleteSoFar) {
    auto file = help::HelpFile::open(kHelpFile);
    ASSERT_TRUE(file);
    const std::string html = *file->read(file->contentsFile());
    const size_t all = flattened(help::parseSitemap(html)).size();
    ASSERT_GT(all, 0u);
    size_t before = 0;
    for (size_t length = 0; length <= html.size(); ++length) {
        size_t now = flattened(help::parseSitemap(std::string_view(html).substr(0, length))).size();
        ASSERT_GE(now, before) << "at " << length;
        ASSERT_LE(now, all) << "at " << length;
        before = now;
    }
    EXPECT_EQ(before, all);
}

TEST(HelpSitemap, PathsBecomeTheHelpFilesOwn) {
    EXPECT_EQ(help::normalizePath("page.htm"), "/page.htm");
    EXPECT_EQ(help::normalizePath("/page.htm"), "/page.htm");
    EXPECT_EQ(help::normalizePath("images\\a.png"), "/images/a.png");
    EXPECT_EQ(help::normalizePath("mk:@MSITStore:C:\\Help\\x.chm::/page.htm"), "/page.htm");
    EXPECT_EQ(help::normalizePath("page.htm#part"), "/page.htm#part");
    EXPECT_EQ(help::normalizePath("https://example.com/a"), "https://example.com/a");
    EXPECT_EQ(help::normalizePath("C:\\Help\\page.htm"), "/C:/Help/page.htm");
    EXPECT_EQ(help::normalizePath(""), "");
}

TEST(HelpContextMap, NumbersLeadToTheirTargetsWhereverTheyWereBuilt) {
    ContextMapBytes bytes;
    bytes.add(100, "/home/someone/build/resources/help/calculator.htm");
    bytes.add(105, "results.htm");
    bytes.add(130, "C:\\Work\\Help\\printing.htm");
    bytes.add(145, "/tmp/images/station_rows.htm#tip");
    auto map = help::parseContextMap(bytes.ivb(), bytes.strings);
    ASSERT_TRUE(map);
    ASSERT_EQ(map->size(), 4u);
    EXPECT_EQ((*map)[0].number, 100u);
    EXPECT_EQ((*map)[0].target, "/home/someone/build/resources/help/calculator.htm");
    EXPECT_EQ((*map)[2].target, "C:\\Work\\Help\\printing.htm");

    const std::vector<std::string> files = {"/calculator.htm", "/results.htm", "/printing.htm",
                                            "/station_rows.htm", "/images/station_rows.htm"};
    EXPECT_EQ(help::resolveTarget((*map)[0].target, files), "/calculator.htm");
    EXPECT_EQ(help::resolveTarget((*map)[1].target, files), "/results.htm");
    EXPECT_EQ(help::resolveTarget((*map)[2].target, files), "/printing.htm");
    // The longest file path that ends the target wins; a fragment stays with it.
    EXPECT_EQ(help::resolveTarget((*map)[3].target, files), "/images/station_rows.htm#tip");
    EXPECT_EQ(help::resolveTarget("/build/station_rows.htm", files), "/station_rows.htm");
    EXPECT_EQ(help::resolveTarget("/BUILD/Calculator.HTM", files), "/calculator.htm");
    // Only whole names match: a longer name that ends the same way is another file.
    EXPECT_EQ(help::resolveTarget("/build/mycalculator.htm", files), "");
    EXPECT_EQ(help::resolveTarget("", files), "");

    auto empty = help::parseContextMap(le32(0), std::string(1, '\0'));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(HelpContextMap, MapsThatDoNotFitTogetherAreRefused) {
    ContextMapBytes bytes;
    bytes.add(100, "/a/calculator.htm");
    bytes.add(105, "/a/results.htm");
    const std::string ivb = bytes.ivb();
    ASSERT_TRUE(help::parseContextMap(ivb, bytes.strings));

    EXPECT_FALSE(help::parseContextMap("", bytes.strings));
    EXPECT_FALSE(help::parseContextMap(ivb.substr(0, 3), bytes.strings));
    EXPECT_FALSE(
        help::parseContextMap(ivb.substr(0, ivb.size() - 1), bytes.strings));      // count beyond the data
    EXPECT_FALSE(help::parseContextMap(le32(12) + bytes.entries, bytes.strings));  // not whole entries
    EXPECT_FALSE(help::parseContextMap(ivb, ""));
    // The last string cut before its end, and an offset past the end of the strings.
    EXPECT_FALSE(help::parseContextMap(ivb, bytes.strings.substr(0, bytes.strings.size() - 1)));
    EXPECT_FALSE(help::parseContextMap(le32(8) + le32(100) + le32(5000), bytes.strings));
}

TEST(HelpSystemFile, NamesTheTitleTheDefaultPageAndTheContents) {
    auto record = [](uint16_t code, const std::string& text) {
        return le16(code) + le16(static_cast<uint16_t>(text.size() + 1)) + text + '\0';
    };
    const std::string system = le32(3) + record(9, "Compiler 1.0") + record(2, "start.htm") +
                               record(3, "Some Help") + record(0, "toc.hhc") + record(1, "index.hhk");
    help::SystemInfo info = help::parseSystem(system);
    EXPECT_EQ(info.title, "Some Help");
    EXPECT_EQ(info.defaultTopic, "start.htm");
    EXPECT_EQ(info.contentsFile, "toc.hhc");

    // A record that runs past the end stops the reading; what came before it stays.
    const std::string cut = le32(3) + record(2, "start.htm") + le16(3) + le16(200) + "Some";
    help::SystemInfo partial = help::parseSystem(cut);
    EXPECT_EQ(partial.defaultTopic, "start.htm");
    EXPECT_EQ(partial.title, "");
    EXPECT_EQ(help::parseSystem("").defaultTopic, "");
}

}  // namespace
