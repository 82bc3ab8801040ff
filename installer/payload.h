// The payload of a .run file on disk: checking it, unpacking it, making a .run (pack mode), copying one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "installer/payload_format.h"

// The checked payload of the .run file; nothing, and the reason in problem, when it is damaged.
std::optional<Payload> CHECKINSTALLER(const std::string& runFile, std::string& problem);

// Writes every file of the payload under folder, each flushed to the disk, and digests the payload
// again on the way: false when the .run changed since it was checked, or a file cannot be written.
// step is told the name of each file written.
bool UNPACKPAYLOAD(const std::string& runFile, const Payload& payload, const std::string& folder,
                   const std::function<void(const std::string&)>& step);

// Makes a .run at output: the installer program (stub) followed by the program's own files found
// in programFolder and the trailer for version. False, with the reason in problem, on failure.
bool PACKPROGRAM(const std::string& stub, const std::string& programFolder, const std::string& version,
                 const std::string& output, std::string& problem);

// Copies the file whole to a new name, atomically: the copy is there entire or not at all.
bool COPYWHOLEFILE(const std::string& from, const std::string& to);
