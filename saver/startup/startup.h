// Start-up of the screen-saver program: the instance guard, the settings, the
// renderer check and the hand-over to one of the three modes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "saver/startup/settings_file.h"

namespace tremblix {

inline constexpr char kRunMarker[] = "Tremblix_Main";    // caption of the full-screen run
inline constexpr char kDialogMarker[] = "<Tremblix>";    // caption of the settings dialog
inline constexpr char kRendererName[] = "\\Tremblix.dll";

// What start-up asks of the platform and of the modes.
class StartupHost {
 public:
  virtual ~StartupHost() = default;
  virtual bool TopLevelWindowExists(const std::string& caption) = 0;
  virtual void LoadSettings(MusicFileLook look) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Returns when the user closed it. Owned as the dialog is when a handle is
  // given (ChooseOwner), else by no window.
  virtual void ShowMissingRendererMessage(std::optional<int32_t> named_owner) = 0;
  // Modal, owned by what ChooseOwner makes of the handle.
  virtual void ShowSettingsDialog(int32_t named_owner) = 0;
  virtual void EmbedPreview(int32_t host_window) = 0;
  // The dialog's scaling: drawn at the monitor's own dots per inch where
  // Windows has per-monitor awareness v2, else at the system's.
  virtual void DeclareDialogDpiAware() = 0;
  // Asks for the screen in real pixels: without it, Windows at a display
  // scaling above 100 % tells a smaller screen than the copy works in.
  virtual void DeclareDpiAware() = 0;
  virtual void HideCursor() = 0;
  virtual void LoadFullScreenRun() = 0;
  // The companion of the user's session (saver/companion); returns when it
  // has ended.
  virtual void RunCompanion() = 0;
  // Ends the process at once; a stand-in that returns makes Main return too.
  virtual void EndProgram() = 0;
};

// The start-up procedure. Returns when a mode lives on by its own windows.
void Main(StartupHost& host, std::string_view args, std::string_view program_folder);

}  // namespace tremblix
