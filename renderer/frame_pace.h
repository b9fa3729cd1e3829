// The renderer's pace: one frame per display refresh, or per n refreshes where
// the display is faster than the squash was made for; when the next frame is
// due; whether the driver holds the pace by itself.
#pragma once

#include <cstdint>

namespace tremblix {

// The squash's spring runs once per frame: it keeps its look up to this rate.
constexpr int kHighestFrameRate = 100;
// What a display that does not say its rate is taken to run at.
constexpr int kUnknownRefreshRate = 60;

struct FramePace {
  int refreshRate = kUnknownRefreshRate;  // Hz
  int refreshesPerFrame = 1;              // n: the swap interval
  double FramesPerSecond() const { return static_cast<double>(refreshRate) / refreshesPerFrame; }
  double FrameSeconds() const { return refreshesPerFrame / static_cast<double>(refreshRate); }
};

// From the rate the display reports; 0 and 1 mean the display does not know.
FramePace PaceForRefresh(int reported_rate);

// Frame times on a fixed grid, origin + k x interval, in counter counts.
class FrameGrid {
 public:
  void Start(int64_t origin, double interval);
  // When the next frame is due; never earlier than the grid time itself.
  int64_t Due() const;
  // A frame began at now: the next is due at the first grid time after now.
  // A late frame therefore skips the times it missed rather than catching up.
  void FrameBegun(int64_t now);

 private:
  int64_t origin_ = 0;
  double interval_ = 1;
  int64_t index_ = 0;
};

// Tells from the times frames reach the screen whether they come sooner than
// the pace (the driver ignores the swap interval). Once seen, it stays so.
class SwapWatch {
 public:
  explicit SwapWatch(double interval = 1) : interval_(interval) {}
  void FrameShown(int64_t now);
  bool FramesComeSooner() const { return sooner_; }

  // Frames judged together, and the share of the pace their span must fall
  // below: a driver that holds the pace never comes near it, whatever its jitter.
  static constexpr int kFramesJudged = 8;
  static constexpr double kSoonerShare = 0.95;
  // A driver may let its first frames through at once while it fills its
  // queue: they are not judged.
  static constexpr int kFramesUnjudged = 8;

 private:
  double interval_;
  int64_t shown_[kFramesJudged + 1] = {};
  int count_ = 0;
  int unjudged_ = kFramesUnjudged;
  bool sooner_ = false;
};

}  // namespace tremblix
