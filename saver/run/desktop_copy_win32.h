// The desktop the program runs on, the last input, and the companion's copy
// in memory of the session, as both the companion and the run reach them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "saver/run/desktop_copy.h"
#include "saver/run/hand_off.h"

namespace tremblix {

// The name of this thread's desktop ("Default", "Screen-saver", ...); empty
// where Windows does not say.
std::wstring ThreadDesktopName();

// Whether the desktop that takes input is this thread's. Windows' secure
// desktop (a prompt, the log-on screen) cannot even be opened: then not.
bool ThreadDesktopTakesInput();

// The tick count of the last input of the session.
uint32_t LastInputTick();

// The memory's name, in the session's own namespace.
inline constexpr wchar_t kDesktopCopyName[] = L"Local\\Tremblix.DesktopCopy";

// The companion's side: takes a copy of the monitors into the memory and
// holds it until dropped. The pixels are written through bitmaps of the
// memory itself, and no view stays mapped: the copy is memory of the
// session, not of the companion's working set, and 32-bit address space is
// kept free.
class CopyHolder {
 public:
  ~CopyHolder() { Drop(); }
  // Copies each monitor from the screen; false when nothing could be held.
  bool Take(const std::vector<ScreenRect>& monitors);
  void Drop();
  bool held() const { return mapping_ != nullptr; }
  uint32_t taken() const { return taken_; }

 private:
  HANDLE mapping_ = nullptr;
  uint32_t taken_ = 0;
};

// The run's side: the companion's copy, opened for reading if there is one.
class OpenedCopy {
 public:
  OpenedCopy();
  ~OpenedCopy();
  OpenedCopy(const OpenedCopy&) = delete;
  OpenedCopy& operator=(const OpenedCopy&) = delete;

  const std::optional<DesktopCopy>& copy() const { return copy_; }
  // Monitor i's pixels, 32 bits, rows bottom first.
  ScreenPixels PixelsOf(size_t i) const;

 private:
  HANDLE mapping_ = nullptr;
  const uint8_t* view_ = nullptr;
  std::optional<DesktopCopy> copy_;
};

}  // namespace tremblix
