// A compiled HTML help file (.chm) read with chmlib: its files, its default page, its table of
// contents and its context numbers. The parsers work on bytes alone, so they are tested without a file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

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

class HelpFile {
public:
    // The opened file, or nothing when it is missing or is no help file.
    static std::unique_ptr<HelpFile> open(const std::string& path);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    // The pages, pictures and other ordinary files, as absolute paths ("/page.htm").
    const std::vector<std::string>& files() const { return files_; }
    // A file's bytes, any internal file included ("/#SYSTEM"); nothing when it cannot be read whole.
    std::optional<std::string> read(const std::string& path) const;

    const std::string& title() const { return system_.title; }
    // The page the file names as its first, else the first page of its contents.
    std::string defaultPage() const;
    // The contents file the file names, else the first one inside it.
    std::string contentsFile() const;
    std::vector<ContentsEntry> contents() const;
    // The keywords of the index, each with the page it opens, from the index file the file
    // names, else the first one inside it; nested keywords follow their parent.
    std::vector<ContentsEntry> index() const;
    // The page a context number opens; empty when the file maps no such number.
    std::string topicFile(uint32_t context) const;

private:
    explicit HelpFile(chmFile* handle);

    chmFile* handle_;
    std::vector<std::string> files_;
    SystemInfo system_;
};

}  // namespace help
