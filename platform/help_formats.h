// The small formats stored inside a compiled HTML help file: the contents and index sitemaps, the
// context map, the "#SYSTEM" records and the header that declares the file's size. They work on
// bytes alone, so they are tested and fuzzed without a file and without chmlib.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace help {

// One entry of the table of contents: its title, the page it opens ("/page.htm", empty for a
// heading that only groups others) and the entries nested under it.
struct ContentsEntry {
    std::string name;
    std::string file;
    std::vector<ContentsEntry> children;
};

// One context number and the target that the help project mapped it to, as the file stores it.
struct ContextEntry {
    uint32_t number = 0;
    std::string target;
};

// What the "#SYSTEM" file tells about the help file; empty texts where it says nothing.
struct SystemInfo {
    std::string title;
    std::string defaultTopic;
    std::string contentsFile;
    std::string indexFile;
};

// A link or path as the help file's own absolute path: "ms-its:x.chm::/a.htm", "a.htm" and
// "\a.htm" all become "/a.htm". A fragment ("#part") is kept.
std::string normalizePath(std::string_view path);

// The table of contents from sitemap HTML: nested <UL> lists of <OBJECT type="text/sitemap">
// entries with "Name" and "Local" parameters. Anything it cannot read is skipped.
std::vector<ContentsEntry> parseSitemap(std::string_view html);

// The context map from the "#IVB" file (a byte count, then pairs of context number and offset
// into "#STRINGS") and the "#STRINGS" file; nothing when the two do not fit together.
std::optional<std::vector<ContextEntry>> parseContextMap(std::string_view ivb, std::string_view strings);

// The records of the "#SYSTEM" file that name the title, the default page, the contents file and
// the index file.
SystemInfo parseSystem(std::string_view system);

// The file of the help file that a context map target names. The compiler may store the target
// as the path it had on the building machine, so the longest file path that ends the target wins;
// empty when none does.
std::string resolveTarget(std::string_view target, const std::vector<std::string>& files);

// The size that a help file's header declares for the whole file, read from its first bytes;
// nothing when they are no help file's header.
std::optional<uint64_t> declaredFileSize(std::string_view head);

// True when text ends with tail, ASCII letters compared without regard to case.
bool endsWithNoCase(std::string_view text, std::string_view tail);

}  // namespace help
