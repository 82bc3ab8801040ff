// The help file's own formats on any bytes that its reader may return: the header, the "#SYSTEM"
// records, the context map with the pages its targets name, and the contents and index sitemaps.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "platform/help_formats.h"
#include "tests/fuzz/require.h"

namespace {

// The pages the entries open, depth first, with a count of the entries seen.
void collect(const std::vector<help::ContentsEntry>& entries, std::vector<std::string>& files, size_t& count) {
    for (const help::ContentsEntry& entry : entries) {
        ++count;
        REQUIRE(entry.file.empty() || entry.file[0] == '/' || entry.file.find(':') != std::string::npos);
        if (!entry.file.empty()) files.push_back(entry.file.substr(0, entry.file.find('#')));
        collect(entry.children, files, count);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string head = input.ConsumeRandomLengthString(512);
    const std::string system = input.ConsumeRandomLengthString(8192);
    const std::string ivb = input.ConsumeRandomLengthString(1024);
    const std::string strings = input.ConsumeRandomLengthString(2048);
    const std::string sitemap = input.ConsumeRemainingBytesAsString();

    help::declaredFileSize(head);
    const help::SystemInfo info = help::parseSystem(system);
    REQUIRE(info.title.size() <= system.size() && info.defaultTopic.size() <= system.size());
    help::normalizePath(info.defaultTopic);

    const std::vector<help::ContentsEntry> contents = help::parseSitemap(sitemap);
    std::vector<std::string> files;
    size_t count = 0;
    collect(contents, files, count);
    REQUIRE(count <= sitemap.size());

    const auto map = help::parseContextMap(ivb, strings);
    if (!map) return 0;
    REQUIRE(map->size() * 8 <= ivb.size());
    for (const help::ContextEntry& entry : *map) {
        REQUIRE(entry.target.size() <= strings.size());
        const std::string page = help::resolveTarget(entry.target, files);
        if (page.empty()) continue;
        const std::string file = page.substr(0, page.find('#'));
        bool listed = false;
        for (const std::string& candidate : files) listed = listed || candidate == file;
        REQUIRE(listed);
        REQUIRE(help::endsWithNoCase(help::normalizePath(entry.target).substr(0, help::normalizePath(entry.target).find('#')), file));
    }
    return 0;
}
