// The help viewer: one window owned by no form, showing a compiled help file's table of contents
// and its pages. It is created on the first request and raised again by every later one.
#pragma once

#include <cstdint>
#include <string>

// The SHA-256 digest (lowercase hexadecimal) of the help file the build compiled. chmlib reads
// damaged help files out of bounds and loops on some, so the viewer opens no other file: any
// other is reported as damaged, as a missing one is reported as missing.
extern const char* const OS_BUILTHELPDIGEST;

// Opens the viewer at the help file's default page.
void OS_SHOWHELPCONTENTS(const std::string& helpFile);
// Opens the viewer at the page of a context number; for 0 or a number the file lacks, at the
// default page under a line saying that there is no help for that item. A missing or damaged
// help file is reported inside the viewer.
void OS_SHOWHELPTOPIC(const std::string& helpFile, int32_t topic);

// For tests: the page shown ("/page.htm", empty when none), its plain text, whether the window
// is on screen, how many viewer windows were ever created, and closing the window.
std::string OS_HELPPAGE();
std::string OS_HELPTEXT();
bool OS_HELPVISIBLE();
int OS_HELPWINDOWCOUNT();
void OS_HELPCLOSE();
