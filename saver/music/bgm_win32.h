// The music module's device: winmm's MCI strings, the sound player and the
// wave output count, through the wide calls; commands and answers are UTF-8.
#pragma once

#include "saver/music/bgm.h"

namespace tremblix {

class Win32MusicDevice : public MusicDevice {
 public:
  uint32_t SendCommand(const std::string& command, char* reply, uint32_t length) override;
  bool ErrorText(uint32_t error, char* text, uint32_t length) override;
  bool Sound(const char* sound, uint32_t flags) override;
  uint32_t WaveOutDeviceCount() override;
};

}  // namespace tremblix
