#include "installer/payload.h"

#include <algorithm>
#include <vector>

#include "installer/replacement.h"
#include "platform/crypto.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/program_names.h"
#include "update/version_file.h"

namespace {

constexpr size_t kBlock = 1 << 16;

// Copies size bytes at offset of one open file to the end of another, feeding them to the digest.
bool copyBytes(int32_t from, int64_t offset, int64_t size, int32_t to, Sha256* digest) {
    std::string block(kBlock, '\0');
    while (size > 0) {
        const size_t count = static_cast<size_t>(std::min<int64_t>(size, kBlock));
        if (!OS_READAT(from, offset, block.data(), count)) return false;
        if (digest) digest->add(std::string_view(block.data(), count));
        if (to && !OS_WRITEFILE(to, block.data(), count)) return false;
        offset += static_cast<int64_t>(count);
        size -= static_cast<int64_t>(count);
    }
    return true;
}

bool writeAll(int32_t file, const std::string& bytes, Sha256& digest) {
    digest.add(bytes);
    return OS_WRITEFILE(file, bytes.data(), bytes.size());
}

}  // namespace

std::optional<Payload> CHECKINSTALLER(const std::string& runFile, std::string& problem) {
    const int32_t file = OS_OPENFORREADING(runFile);
    if (file == 0) {
        problem = "It cannot be read.";
        return std::nullopt;
    }
    auto payload = READPAYLOAD([file](int64_t offset, char* bytes, size_t count) {
        return OS_READAT(file, offset, bytes, count);
    }, OS_OPENFILESIZE(file), problem);
    OS_CLOSEFILE(file);
    return payload;
}

bool UNPACKPAYLOAD(const std::string& runFile, const Payload& payload, const std::string& folder,
                   const std::function<void(const std::string&)>& step) {
    const int32_t from = OS_OPENFORREADING(runFile);
    if (from == 0) return false;
    Sha256 digest;
    int64_t at = payload.offset;
    bool written = true;
    for (const PayloadFile& file : payload.files) {
        const std::string path = folder + "/" + file.name;
        // The bytes before the content (count and entry header) are digested only.
        written = copyBytes(from, at, file.offset - at, 0, &digest) && OS_MAKEFOLDERS(FOLDEROF(path));
        const int32_t to = written ? OS_CREATEPRIVATEFILE(path) : 0;
        written = to != 0 && copyBytes(from, file.offset, file.size, to, &digest) && OS_FINISHFILE(to);
        if (!written || (file.executable && !OS_MAKEEXECUTABLE(path))) {
            written = false;
            break;
        }
        at = file.offset + file.size;
        step(file.name);
    }
    OS_CLOSEFILE(from);
    return written && at == payload.offset + payload.size && payload.sha256 == digest.finish();
}

bool PACKPROGRAM(const std::string& stub, const std::string& programFolder, const std::string& version,
                 const std::string& output, std::string& problem) {
    const std::vector<std::string> names = PROGRAMFILESIN(programFolder);
    if (!VERSIONPARTS(version) || version.size() >= 32) {
        problem = "The version must be four numbers separated by dots.";
        return false;
    }
    if (std::find(names.begin(), names.end(), kProgramExecutable) == names.end()) {
        problem = "The folder " + programFolder + " holds no program.";
        return false;
    }
    const int32_t installer = OS_OPENFORREADING(stub);
    const std::string temporary = output + ".part";
    const int32_t out = installer ? OS_CREATEPRIVATEFILE(temporary) : 0;
    bool written = out != 0;
    const int64_t offset = OS_OPENFILESIZE(installer);
    written = written && copyBytes(installer, 0, offset, out, nullptr);
    OS_CLOSEFILE(installer);
    Sha256 digest;
    int64_t size = 4;
    written = written && writeAll(out, PAYLOADCOUNT(static_cast<uint32_t>(names.size())), digest);
    for (const std::string& name : names) {
        const std::string path = programFolder + "/" + name;
        const int32_t in = written ? OS_OPENFORREADING(path) : 0;
        const int64_t length = OS_OPENFILESIZE(in);
        const std::string entry = PAYLOADENTRY(name, name == kProgramExecutable, length);
        written =
            in != 0 && length >= 0 && writeAll(out, entry, digest) && copyBytes(in, 0, length, out, &digest);
        OS_CLOSEFILE(in);
        size += static_cast<int64_t>(entry.size()) + length;
    }
    const std::string trailer = PAYLOADTRAILER(offset, size, digest.finish(), version);
    written = written && OS_WRITEFILE(out, trailer.data(), trailer.size());
    written = out != 0 && OS_FINISHFILE(out) && written && OS_MAKEEXECUTABLE(temporary) &&
              OS_RENAMEFILE(temporary, output);
    if (!written) {
        OS_DELETEFILE(temporary);
        problem = "The installer " + output + " could not be written.";
    }
    return written;
}

bool COPYWHOLEFILE(const std::string& from, const std::string& to) {
    const std::string temporary = to + ".new";
    const int32_t in = OS_OPENFORREADING(from);
    const int32_t out = in ? OS_CREATEPRIVATEFILE(temporary) : 0;
    const int64_t size = out != 0 ? OS_OPENFILESIZE(in) : -1;
    bool copied = size >= 0 && copyBytes(in, 0, size, out, nullptr);
    if (in) OS_CLOSEFILE(in);
    copied = out != 0 && OS_FINISHFILE(out) && copied && OS_MAKEEXECUTABLE(temporary) &&
             OS_RENAMEFILE(temporary, to);
    if (!copied && out != 0) OS_DELETEFILE(temporary);
    return copied;
}
