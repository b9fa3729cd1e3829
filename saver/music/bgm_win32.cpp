#include "saver/music/bgm_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "saver/common/places_win32.h"
#include "saver/common/wide_text_win32.h"

namespace tremblix {

namespace {

// A wide answer into the caller's area as UTF-8, cut between characters.
void CopyAnswer(const wchar_t* answer, char* area, uint32_t length) {
  const std::string text = Narrow(answer, CP_UTF8);
  size_t size = std::min<size_t>(text.size(), length - 1);
  while (size > 0 && size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
    --size;
  }
  std::memcpy(area, text.data(), size);
  area[size] = '\0';
}

}  // namespace

// The wide calls: a path may hold any letter, which no ANSI code page spells.
uint32_t Win32MusicDevice::SendCommand(const std::string& command, char* reply,
                                       uint32_t length) {
  const std::wstring wide = Wide(command, CP_UTF8);
  if (!reply || length == 0) return mciSendStringW(wide.c_str(), nullptr, 0, nullptr);
  std::vector<wchar_t> answer(length, L'\0');
  const uint32_t status = mciSendStringW(wide.c_str(), answer.data(), length, nullptr);
  answer[length - 1] = L'\0';
  CopyAnswer(answer.data(), reply, length);
  return status;
}

bool Win32MusicDevice::ErrorText(uint32_t error, char* text, uint32_t length) {
  if (length == 0) return false;
  std::vector<wchar_t> wide(length, L'\0');
  if (!mciGetErrorStringW(error, wide.data(), length)) return false;
  wide[length - 1] = L'\0';
  CopyAnswer(wide.data(), text, length);
  return true;
}

// The sound player may open its file through the ANSI code page (Wine's
// does): a name it cannot spell goes by its short name where there is one.
bool Win32MusicDevice::Sound(const char* sound, uint32_t flags) {
  if (!sound) return PlaySoundW(nullptr, nullptr, flags);
  std::wstring name = Wide(sound, CP_UTF8);
  if (!NarrowExactly(name, CP_ACP)) {
    std::optional<std::wstring> short_name = ShortPathOf(name);
    if (short_name && NarrowExactly(*short_name, CP_ACP)) name = *short_name;
  }
  return PlaySoundW(name.c_str(), nullptr, flags);
}

uint32_t Win32MusicDevice::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

}  // namespace tremblix
