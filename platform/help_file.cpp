// Reading a compiled HTML help file with chmlib.
#include "platform/help_file.h"

#include <chm_lib.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/help_file_open.h"

namespace help {
namespace {

// No page, picture or internal file of a help file comes near this; a larger length is damage.
constexpr LONGUINT64 kLargestFile = 64 * 1024 * 1024;

// chmlib reads the missing end of a cut-off file as zeros, so a file shorter than the size that
// its header declares is refused before chmlib sees it.
bool complete(const std::string& path) {
    const int32_t file = OS_OPENFORREADING(path);
    if (!file) return false;
    const int64_t actual = OS_OPENFILESIZE(file);
    std::string start(size_t(std::clamp<int64_t>(actual, 0, 4096)), '\0');
    const bool read = actual >= 0 && OS_READAT(file, 0, start.data(), start.size());
    OS_CLOSEFILE(file);
    std::optional<uint64_t> declared = read ? declaredFileSize(start) : std::nullopt;
    return declared && *declared <= static_cast<uint64_t>(actual);
}

// A help file holds a few dozen entries; one that lists more than this many is damaged, and a
// damaged listing may never end.
constexpr size_t kMostEntries = 20000;

struct Listing {
    std::vector<std::string>& files;
    size_t entries = 0;
};

int collectFile(chmFile*, chmUnitInfo* unit, void* context) {
    auto* listing = static_cast<Listing*>(context);
    if ((unit->flags & CHM_ENUMERATE_NORMAL) && (unit->flags & CHM_ENUMERATE_FILES))
        listing->files.push_back(unit->path);
    return ++listing->entries < kMostEntries ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_FAILURE;
}

void firstPage(const std::vector<ContentsEntry>& entries, std::string& found) {
    for (const ContentsEntry& entry : entries) {
        if (!found.empty()) return;
        if (!entry.file.empty()) found = entry.file;
        firstPage(entry.children, found);
    }
}

}  // namespace

std::unique_ptr<HelpFile> HelpFile::open(const std::string& path) {
    if (!complete(path)) return nullptr;
    chmFile* handle = openChm(path);
    if (!handle) return nullptr;
    std::unique_ptr<HelpFile> file(new HelpFile(handle));
    Listing listing{file->files_};
    if (!chm_enumerate(handle, CHM_ENUMERATE_ALL, collectFile, &listing) || file->files_.empty())
        return nullptr;
    if (auto system = file->read("/#SYSTEM")) file->system_ = parseSystem(*system);
    return file;
}

HelpFile::HelpFile(chmFile* handle) : handle_(handle) {}

HelpFile::~HelpFile() { chm_close(handle_); }

std::optional<std::string> HelpFile::read(const std::string& path) const {
    chmUnitInfo unit;
    if (chm_resolve_object(handle_, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (unit.length > kLargestFile) return std::nullopt;
    std::string bytes(unit.length, '\0');
    if (unit.length == 0) return bytes;
    LONGINT64 got =
        chm_retrieve_object(handle_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, unit.length);
    if (got != static_cast<LONGINT64>(unit.length)) return std::nullopt;
    return bytes;
}

std::string HelpFile::defaultPage() const {
    if (!system_.defaultTopic.empty()) return normalizePath(system_.defaultTopic);
    std::string page;
    firstPage(contents(), page);
    return page;
}

std::string HelpFile::contentsFile() const {
    if (!system_.contentsFile.empty()) return normalizePath(system_.contentsFile);
    for (const std::string& file : files_)
        if (endsWithNoCase(file, ".hhc")) return file;
    return {};
}

std::vector<ContentsEntry> HelpFile::contents() const {
    std::string file = contentsFile();
    if (file.empty()) return {};
    std::optional<std::string> html = read(file);
    return html ? parseSitemap(*html) : std::vector<ContentsEntry>{};
}

std::vector<ContentsEntry> HelpFile::index() const {
    std::string file = system_.indexFile.empty() ? "" : normalizePath(system_.indexFile);
    for (size_t i = 0; file.empty() && i < files_.size(); ++i)
        if (endsWithNoCase(files_[i], ".hhk")) file = files_[i];
    if (file.empty()) return {};
    std::optional<std::string> html = read(file);
    return html ? parseSitemap(*html) : std::vector<ContentsEntry>{};
}

std::string HelpFile::topicFile(uint32_t context) const {
    std::optional<std::string> ivb = read("/#IVB");
    std::optional<std::string> strings = read("/#STRINGS");
    if (!ivb || !strings) return {};
    std::optional<std::vector<ContextEntry>> map = parseContextMap(*ivb, *strings);
    if (!map) return {};
    for (const ContextEntry& entry : *map)
        if (entry.number == context) return resolveTarget(entry.target, files_);
    return {};
}

}  // namespace help
