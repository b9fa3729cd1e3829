#include "saver/music/bgm_win32.h"

#include <windows.h>
#include <mmsystem.h>

namespace tremblix {

uint32_t Win32MusicDevice::SendCommand(const std::string& command, char* reply,
                                       uint32_t length) {
  return mciSendStringA(command.c_str(), reply, length, nullptr);
}

bool Win32MusicDevice::ErrorText(uint32_t error, char* text, uint32_t length) {
  return mciGetErrorStringA(error, text, length);
}

bool Win32MusicDevice::Sound(const char* sound, uint32_t flags) {
  return PlaySoundA(sound, nullptr, flags);
}

uint32_t Win32MusicDevice::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

}  // namespace tremblix
