// The full-screen run and the preview.
#pragma once

#include <windows.h>

#include <string>

namespace tremblix {

// Loads the hidden form of the full-screen run and returns; the run lives on
// its timers.
void LoadFullScreenRun(const std::string& switch_letter);

// Places the preview window inside the host window and returns.
void EmbedPreview(HWND host);

}  // namespace tremblix
