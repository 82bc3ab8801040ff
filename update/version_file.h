// The version file on the maker's server, read without any network or settings: its first line
// (where the installer is), its last line (the newest version), the middle lines that a signed
// file carries, and the checks that what it says is safe to act on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct VersionFile {
    std::string host, path, fileName;  // the first line's three fields
    std::string version;               // the last line
    std::optional<std::string> sha256;  // the installer's digest, 64 lowercase hexadecimal digits
    std::optional<int64_t> size;        // the installer's size in bytes
    std::optional<std::string> signature;  // Base64 of the Ed25519 signature
    int signatureLines = 0;             // more than one is no signed file
};

// Lines are separated by CR LF; the middle lines "sha256 <hex>", "size <bytes>" and
// "signature <base64>" are read, any other middle line is ignored.
VersionFile READVERSIONFILE(std::string_view text);

// What the signature covers: the text without its signature line and that line's CR LF.
std::string SIGNEDTEXT(std::string_view text);

// The number that settings written by earlier versions keep for an ignored version: the text
// without its dots, read as a whole number; 0 for a text without one and for a number too long
// for 64 bits.
int64_t VERSIONNUMBER(std::string_view version);

// A version as four numbers, "3.0.10.0"; nothing for a text that is not four dot-separated
// numbers of one to nine digits.
std::optional<std::array<uint32_t, 4>> VERSIONPARTS(std::string_view version);

// True when candidate is newer than running, compared part by part ("3.0.10.0" is newer than
// "3.0.9.0", "2.10.0.0" older than "3.0.1.0"); never for a candidate that is not a version.
bool NEWERVERSION(std::string_view candidate, std::string_view running);

// The major number: the first of the four; 0 for a text that is not a version.
int32_t MAJORNUMBER(std::string_view version);

// A version text as it may stand in a message: without the message mark-up's "{", "}" and "|",
// without control characters, at most 40 characters.
std::string SHOWNVERSION(std::string_view version);

// A plain file name to store in the program folder: not empty, no "/" or "\", not "." or "..",
// no leading dot, no control character.
bool PLAINFILENAME(std::string_view name);

// A host name (letters, digits, "-" and "." in labels) or an address, with an optional port.
bool DOWNLOADHOST(std::string_view host);

// A request path: starts with "/", printable characters only, no spaces.
bool DOWNLOADPATH(std::string_view path);
