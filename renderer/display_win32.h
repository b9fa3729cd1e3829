// What the renderer asks Windows about the display: the monitors and the
// refresh rate.
#pragma once

#include <windows.h>

#include <vector>

#include "renderer/screen_layout.h"

namespace tremblix {

// Every monitor in virtual-screen coordinates, the primary marked.
std::vector<Monitor> ListMonitors();

// The primary's refresh rate as Windows reports it; 0 or 1 when unknown.
int PrimaryRefreshRate();

}  // namespace tremblix
