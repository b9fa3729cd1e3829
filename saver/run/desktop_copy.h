// The companion's copy of the desktop, which a run on a desktop of Windows'
// own shows instead of its own photograph: where Windows starts the saver on
// its own desktop, the run cannot copy the user's. The companion copies every
// monitor a moment before Windows switches, into memory of the session that
// the run opens by name; nothing of it is ever written to disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "saver/common/monitors.h"

namespace tremblix {

// Tick counts are Windows' milliseconds since start, 32 bits: they wrap after
// 49.7 days, and the time of the last input may lie a little after the tick
// count read just before it. Only differences are compared.
//
// How long before the timeout the companion copies. The copy of two 4K
// monitors takes a few hundred milliseconds on a slow machine; two seconds
// leave room for that on a loaded one, and keep the copy as close to the
// moment Windows switches as that allows.
inline constexpr uint32_t kCopyLeadMs = 2000;
// How old a copy a run may show: the lead, then Windows' own start of the
// saver on its desktop (a second or two on a busy machine) and the run's
// start. Older, the desktop may have changed without any input (a film, a
// message arriving).
inline constexpr uint32_t kCopyMostAgeMs = 6000;
// Input this close to the copy, either side, counts as after it: the tick of
// the last input and the copy's are read at different moments.
inline constexpr uint32_t kInputMarginMs = 100;

// Milliseconds since the last input: 0 when it lies a little after now (a
// later reading of the clock), else the wrapped difference, right for up to
// 49.7 days.
uint32_t IdleMs(uint32_t last_input, uint32_t now);

enum class CopyState { kAbsent, kFresh, kOld };

// A copy taken at taken, seen at now, after the last input at last_input: fresh
// only while it is at most kCopyMostAgeMs old and no input came after it (nor
// within the margin of it). Differences are read as signed, right within 24.8
// days either way: a copy of a user away longer than that counts as old,
// never an old one as fresh.
CopyState StateOfCopy(bool held, uint32_t taken, uint32_t last_input, uint32_t now);

// The memory's layout: a header, then each monitor's pixels, 32 bits a pixel
// (blue, green, red, unused), rows bottom first, in the header's order. The
// header's mark is written last, once the pixels are all there.
inline constexpr uint32_t kCopyMark = 0x43584254;  // "TBXC"
inline constexpr size_t kCopyHeaderBytes = 12 + 16 * kMostPictureSets;

struct DesktopCopy {
  uint32_t taken = 0;
  std::vector<ScreenRect> monitors;  // numbered as NumberMonitors numbers them
  std::vector<size_t> offsets;       // of each monitor's pixels from the start
};

// The memory a copy of these monitors needs; 0 for none, for too many or for
// more than the edition can map.
size_t DesktopCopyBytes(const std::vector<ScreenRect>& monitors);

// The offsets of each monitor's pixels in such memory.
DesktopCopy LayOutDesktopCopy(const std::vector<ScreenRect>& monitors);

// The header without its mark (at), then the mark. The second call comes
// only once the pixels are written.
void WriteCopyHeader(const DesktopCopy& copy, uint8_t* at);
void MarkCopyComplete(uint8_t* at);

// The copy in memory of size bytes; nothing when it is unmarked, or when its
// header does not describe pixels that fit.
std::optional<DesktopCopy> ReadDesktopCopy(const uint8_t* at, size_t size);

}  // namespace tremblix
