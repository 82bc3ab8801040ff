// A compiled HTML help file (.chm) read with chmlib: its files, its default page, its table of
// contents and its context numbers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/help_formats.h"

struct chmFile;

namespace help {

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
