// What both programs ask Windows about the display: the monitors, each in
// real pixels once the program has declared itself DPI-aware, and the
// primary's refresh rate.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "saver/common/monitors.h"

namespace tremblix {

// Every monitor in virtual-screen coordinates, the primary marked; the
// primary screen alone where Windows lists none.
std::vector<Monitor> ListMonitors();

// The saver's file of picture sets in the pictures' folder; nothing when it
// is missing, unreadable or not such a file.
std::optional<MonitorsFile> ReadMonitorsFile(const std::wstring& folder);

// Writes the file whole beside itself, then puts it in place; where that
// fails, no earlier file is left to tell of sets that may be gone.
bool WriteMonitorsFile(const std::wstring& folder, const MonitorsFile& file);

// The primary's refresh rate as Windows reports it; 0 or 1 when unknown.
int PrimaryRefreshRate();

}  // namespace tremblix
