// The maker's tool for signed updates: makes the key pair, writes a signed version file for an
// installer, and checks one. The program believes only version files signed with this key.
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "base/text.h"
#include "platform/crypto.h"
#include "platform/files.h"
#include "update/base64.h"
#include "update/signature.h"
#include "update/version_file.h"

namespace {

const char* kUsage =
    "Usage:\n"
    "  tarvex-sign keygen SECRET-KEY-FILE\n"
    "      Makes a key pair: the secret key goes to SECRET-KEY-FILE (readable by you alone), the\n"
    "      public key is printed, to be built in with -DTARVEX_UPDATE_PUBLIC_KEY=...\n"
    "  tarvex-sign make SECRET-KEY-FILE HOST PATH FILE-NAME INSTALLER VERSION\n"
    "      Prints a signed version file: the installer at http://HOST/PATH, stored as FILE-NAME,\n"
    "      with its size and SHA-256, for VERSION (four numbers: 3.0.2.0).\n"
    "  tarvex-sign verify PUBLIC-KEY VERSION-FILE [INSTALLER]\n"
    "      Checks the signature of a version file and, given the installer, its size and digest.\n";

int fail(const std::string& message) {
    std::cerr << "tarvex-sign: " << message << "\n";
    return 1;
}

int keygen(const std::string& secretFile) {
    SigningKeys keys = OS_MAKESIGNINGKEYS();
    if (keys.secretKey.empty()) return fail("no random source for a key");
    const mode_t previous = ::umask(077);
    std::ofstream out(secretFile, std::ios::binary | std::ios::trunc);
    ::umask(previous);
    std::string secretText = GET_BASE64(keys.secretKey);
    const bool written = static_cast<bool>(out << secretText << "\n");
    OS_FORGETSECRET(secretText);
    OS_FORGETSECRET(keys.secretKey);
    if (!written) return fail("cannot write " + secretFile);
    std::cout << GET_BASE64(keys.publicKey) << "\n";
    return 0;
}

std::optional<std::string> secretKey(const std::string& secretFile) {
    std::optional<std::string> text = OS_READFILE(secretFile, INT64_MAX);
    if (!text) return std::nullopt;
    while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
    std::optional<std::string> key = FROM_BASE64(*text);
    if (!key || key->size() != kSignSecretKeyBytes) return std::nullopt;
    return key;
}

// The installer's lines: its SHA-256 digest and its size.
std::optional<std::string> describe(const std::string& installer) {
    std::optional<std::string> bytes = OS_READFILE(installer, INT64_MAX);
    if (!bytes) return std::nullopt;
    return "sha256 " + HEXTEXT(OS_SHA256(*bytes)) + "\r\nsize " + std::to_string(bytes->size()) + "\r\n";
}

int make(char** argv) {
    std::optional<std::string> key = secretKey(argv[2]);
    if (!key) return fail(std::string("no secret key in ") + argv[2]);
    const std::string host = argv[3], path = argv[4], name = argv[5], version = argv[7];
    if (!DOWNLOADHOST(host)) return fail("not a host name or address: " + host);
    if (!DOWNLOADPATH(path)) return fail("a path starts with \"/\" and holds no spaces: " + path);
    if (!PLAINFILENAME(name)) return fail("not a plain file name: " + name);
    if (!VERSIONPARTS(version)) return fail("not a version of four numbers, 3.0.1.0: " + version);
    std::optional<std::string> lines = describe(argv[6]);
    if (!lines) return fail(std::string("cannot read ") + argv[6]);
    const std::string head = host + " " + path + " " + name + "\r\n" + *lines;
    std::cout << head << "signature " << SIGNVERSIONTEXT(head + version, *key) << "\r\n" << version;
    return 0;
}

int verify(int argc, char** argv) {
    std::optional<std::string> text = OS_READFILE(argv[3], INT64_MAX);
    if (!text) return fail(std::string("cannot read ") + argv[3]);
    if (!SIGNEDBYMAKER(*text, argv[2])) return fail("the signature does not match this key");
    VersionFile file = READVERSIONFILE(*text);
    std::cout << "signed: " << file.host << " " << file.path << " " << file.fileName << ", version "
              << file.version << "\n";
    if (argc < 5) return 0;
    std::optional<std::string> lines = describe(argv[4]);
    if (!lines || !file.sha256 || !file.size ||
        *lines != "sha256 " + *file.sha256 + "\r\nsize " + std::to_string(*file.size) + "\r\n")
        return fail("the installer is not the one the version file names");
    std::cout << "the installer matches\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "keygen" && argc == 3) return keygen(argv[2]);
    if (command == "make" && argc == 8) return make(argv);
    if (command == "verify" && (argc == 4 || argc == 5)) return verify(argc, argv);
    std::cerr << kUsage;
    return 2;
}
