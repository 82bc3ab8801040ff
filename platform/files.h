// Plain files of the program folder: whether one exists, its bytes, its removal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// True when a regular file of that name exists.
bool OS_FILEEXISTS(const std::string& path);

// The whole content of a regular file of at most maxBytes; nothing when there is no such file,
// it cannot be read, or it is larger. Never waits on a pipe or a device.
std::optional<std::string> OS_READFILE(const std::string& path, int64_t maxBytes);

// Removes the file; true when it is gone afterwards.
bool OS_DELETEFILE(const std::string& path);

// A new file that only its owner may read and write, replacing any file or link of that name;
// its handle, or 0 when it cannot be created.
int32_t OS_CREATEPRIVATEFILE(const std::string& path);
// Appends the bytes; false when the disk refuses them.
bool OS_WRITEFILE(int32_t file, const char* bytes, size_t count);
// Flushes the file to the disk and closes it; false when that fails.
bool OS_FINISHFILE(int32_t file);
// Closes a file without caring whether its content reached the disk.
void OS_CLOSEFILE(int32_t file);
// Renames from over to in one step; false when it cannot be done.
bool OS_RENAMEFILE(const std::string& from, const std::string& to);

// True when the user may make new files in the folder. A folder whose mode gives nobody the
// right to write counts as read-only even for root, as an installed program's folder does.
bool OS_FOLDERTAKESFILES(const std::string& folder);
// True when the regular file exists and the user may write it, by the same rule.
bool OS_FILEWRITABLE(const std::string& path);
// The user's own folder for a program's settings: $XDG_CONFIG_HOME/<programName>, by default
// ~/.config/<programName>, made when missing, open to its owner alone.
std::string OS_USERCONFIGFOLDER(const std::string& programName);
// The user's own folder for a program's data: $XDG_DATA_HOME/<programName>, by default
// ~/.local/share/<programName>, made when missing, open to its owner alone.
std::string OS_USERDATAFOLDER(const std::string& programName);
// The system's folder for temporary files: $TMPDIR, by default /tmp; %TEMP% (GetTempPath) on Windows.
std::string OS_TEMPFOLDER();
// The absolute form of a path: links resolved, "." and ".." removed; empty when the path's first
// component does not exist.
std::string OS_FULLPATH(const std::string& path);

// Whether anything (a file, a folder, a link) has that name; links are not followed.
bool OS_PATHEXISTS(const std::string& path);
// True when path is a folder afterwards, made with its missing parents when needed.
bool OS_MAKEFOLDERS(const std::string& path);
// The names of the regular files in a folder (no links, no folders), sorted; empty when unreadable.
std::vector<std::string> OS_LISTFILES(const std::string& folder);
// Flushes a folder's entries (new, renamed and removed names) to the disk.
bool OS_SYNCFOLDER(const std::string& folder);
// Removes a folder when it is empty; true when it is gone afterwards.
bool OS_REMOVEEMPTYFOLDER(const std::string& path);
// Removes a file, or a folder with everything in it; links are removed, never followed.
bool OS_REMOVETREE(const std::string& path);

// A regular file opened for reading at any offset; its handle, or 0.
int32_t OS_OPENFORREADING(const std::string& path);
// The size of an open file; -1 when it is unknown.
int64_t OS_OPENFILESIZE(int32_t file);
// Exactly count bytes at offset, or false.
bool OS_READAT(int32_t file, int64_t offset, char* bytes, size_t count);
