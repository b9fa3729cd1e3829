// The background-music settings: filled at start-up from the settings file,
// read by the full-screen run, edited and saved by the settings dialog.
#pragma once

#include <cstdint>
#include <string>

namespace tremblix {

enum BgmKindValue : int16_t { kBgmNone = 0, kBgmCd = 1, kBgmFile = 2 };

struct SettingsRecord {
  int16_t BgmKind = kBgmNone;  // any value other than 1 and 2 plays nothing
  int16_t BgmRepeat = 0;       // CD track held on repeat; 0 for none
  std::string BgmFile;         // full path in UTF-8, or empty
  std::string BgmFolder;       // where the file chooser opens (UTF-8); not stored
  bool AllMonitors = true;     // the scene on every monitor; false: the primary alone
};

// The one record of the process.
extern SettingsRecord Settings;

}  // namespace tremblix
