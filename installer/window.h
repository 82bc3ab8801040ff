// The installer's own window, for a run without switches: what it installs where, Install or
// Cancel, the progress and the outcome.
#pragma once

#include <cstdint>
#include <string>

// Checks the .run file, then opens the window for it: replacing the copy in the folder the file
// lies in, installing a fresh copy into a folder the user chooses, or saying that it is damaged.
void EZ_IN_Display(const std::string& runFile);
void EZ_IN_Design();
void EZ_IN_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);

// The installer's start-up, design and event callbacks for EZ_GUIRUN.
void INSTALLER_START(int32_t);
void INSTALLER_DESIGN(const std::string& form);
void INSTALLER_EVENTS(const std::string& form, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
