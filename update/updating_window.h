// The "Updating..." window, form "ZD": the progress of the installer's download, what has
// arrived, and a Cancel button that ends the transfer.
#pragma once

#include <cstdint>
#include <string>

// Set when the user cancels; the download reads it between its steps.
extern bool DownloadCancelled;
// Set while a transfer runs: closing the window then cancels it instead.
extern bool DownloadActive;

void EZ_ZD_Display(const std::string& parent);
void EZ_ZD_Design();
void EZ_ZD_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
// The bar and the line under it: received of total bytes, total 0 when no length was announced,
// and whether the download is waiting for the server.
void ZD_SHOWPROGRESS(int64_t received, int64_t total, bool waiting);
// The bar full at the end of the transfer.
void ZD_SHOWDONE();
