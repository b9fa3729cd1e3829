#include "saver/run/desktop_copy.h"

#include <cstring>
#include <limits>

namespace tremblix {

namespace {

// The header's fields, little-endian as both editions keep them.
void Put(uint8_t* at, uint32_t value) { std::memcpy(at, &value, 4); }
uint32_t Get(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, 4);
  return value;
}
int32_t Signed(uint32_t difference) { return static_cast<int32_t>(difference); }

// Larger than any monitor Windows drives; keeps every product in 64 bits.
constexpr int32_t kMostSide = 1 << 15;

}  // namespace

uint32_t IdleMs(uint32_t last_input, uint32_t now) {
  const uint32_t ahead = last_input - now;
  return ahead <= kInputMarginMs ? 0 : now - last_input;
}

CopyState StateOfCopy(bool held, uint32_t taken, uint32_t last_input, uint32_t now) {
  if (!held) return CopyState::kAbsent;
  const int32_t age = Signed(now - taken);
  if (age < -static_cast<int32_t>(kInputMarginMs) || age > static_cast<int32_t>(kCopyMostAgeMs)) {
    return CopyState::kOld;
  }
  const int32_t after_input = Signed(taken - last_input);
  return after_input > static_cast<int32_t>(kInputMarginMs) ? CopyState::kFresh : CopyState::kOld;
}

DesktopCopy LayOutDesktopCopy(const std::vector<ScreenRect>& monitors) {
  DesktopCopy copy;
  copy.monitors = monitors;
  uint64_t offset = kCopyHeaderBytes;
  for (const ScreenRect& m : monitors) {
    copy.offsets.push_back(static_cast<size_t>(offset));
    offset += static_cast<uint64_t>(m.Width()) * m.Height() * 4;
  }
  return copy;
}

size_t DesktopCopyBytes(const std::vector<ScreenRect>& monitors) {
  if (monitors.empty() || monitors.size() > kMostPictureSets) return 0;
  uint64_t bytes = kCopyHeaderBytes;
  for (const ScreenRect& m : monitors) {
    if (m.Width() <= 0 || m.Height() <= 0 || m.Width() > kMostSide || m.Height() > kMostSide) {
      return 0;
    }
    bytes += static_cast<uint64_t>(m.Width()) * m.Height() * 4;
  }
  // A 32-bit edition maps well below its address space.
  const uint64_t most = sizeof(size_t) == 4 ? (uint64_t{1} << 30)
                                            : std::numeric_limits<uint32_t>::max();
  return bytes <= most ? static_cast<size_t>(bytes) : 0;
}

void WriteCopyHeader(const DesktopCopy& copy, uint8_t* at) {
  std::memset(at, 0, kCopyHeaderBytes);
  Put(at + 4, copy.taken);
  Put(at + 8, static_cast<uint32_t>(copy.monitors.size()));
  uint8_t* rect = at + 12;
  for (const ScreenRect& m : copy.monitors) {
    Put(rect, static_cast<uint32_t>(m.left));
    Put(rect + 4, static_cast<uint32_t>(m.top));
    Put(rect + 8, static_cast<uint32_t>(m.right));
    Put(rect + 12, static_cast<uint32_t>(m.bottom));
    rect += 16;
  }
}

void MarkCopyComplete(uint8_t* at) { Put(at, kCopyMark); }

std::optional<DesktopCopy> ReadDesktopCopy(const uint8_t* at, size_t size) {
  if (!at || size < kCopyHeaderBytes || Get(at) != kCopyMark) return std::nullopt;
  const uint32_t count = Get(at + 8);
  if (count == 0 || count > kMostPictureSets) return std::nullopt;
  std::vector<ScreenRect> monitors;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* rect = at + 12 + 16 * i;
    monitors.push_back({Signed(Get(rect)), Signed(Get(rect + 4)), Signed(Get(rect + 8)),
                        Signed(Get(rect + 12))});
    // Differences of any two 32-bit edges: in 64 bits, before a width is taken.
    const ScreenRect& m = monitors.back();
    const int64_t width = int64_t{m.right} - m.left, height = int64_t{m.bottom} - m.top;
    if (width <= 0 || height <= 0 || width > kMostSide || height > kMostSide) return std::nullopt;
  }
  const size_t bytes = DesktopCopyBytes(monitors);
  if (bytes == 0 || bytes > size) return std::nullopt;
  DesktopCopy copy = LayOutDesktopCopy(monitors);
  copy.taken = Get(at + 4);
  return copy;
}

}  // namespace tremblix
