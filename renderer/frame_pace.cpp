#include "renderer/frame_pace.h"

#include <algorithm>
#include <cmath>

namespace tremblix {

FramePace PaceForRefresh(int reported_rate) {
  FramePace pace;
  pace.refreshRate = reported_rate > 1 ? reported_rate : kUnknownRefreshRate;
  pace.refreshesPerFrame = (pace.refreshRate + kHighestFrameRate - 1) / kHighestFrameRate;
  return pace;
}

void FrameGrid::Start(int64_t origin, double interval) {
  origin_ = origin;
  interval_ = interval;
  index_ = 0;
}

int64_t FrameGrid::Due() const {
  return origin_ + static_cast<int64_t>(std::ceil(static_cast<double>(index_) * interval_));
}

void FrameGrid::FrameBegun(int64_t now) {
  const double passed = static_cast<double>(now - origin_) / interval_;
  const int64_t after_now = static_cast<int64_t>(std::floor(passed)) + 1;
  index_ = std::max(index_ + 1, after_now);
}

void SwapWatch::FrameShown(int64_t now) {
  if (sooner_) return;
  if (unjudged_ > 0) {
    --unjudged_;
    return;
  }
  // The last kFramesJudged + 1 times, oldest first.
  if (count_ == kFramesJudged + 1) {
    std::copy(shown_ + 1, shown_ + count_, shown_);
    --count_;
  }
  shown_[count_++] = now;
  if (count_ == kFramesJudged + 1) {
    const double span = static_cast<double>(shown_[kFramesJudged] - shown_[0]);
    sooner_ = span < kFramesJudged * interval_ * kSoonerShare;
  }
}

}  // namespace tremblix
