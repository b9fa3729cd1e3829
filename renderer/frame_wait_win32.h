// The renderer's own wait for the next frame, where the driver does not hold
// the pace: a timer and the message queue waited on together, so that input
// is handled at once.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tremblix {

class FrameWait {
 public:
  // A high-resolution waitable timer where Windows has one (10 1803 on);
  // elsewhere an ordinary one, with the timer resolution raised to 1 ms for
  // as long as this lives.
  explicit FrameWait(int64_t counter_frequency);
  ~FrameWait();
  FrameWait(const FrameWait&) = delete;
  FrameWait& operator=(const FrameWait&) = delete;

  // Until the performance counter reaches due, or a message or input comes.
  void UntilOrMessage(int64_t due);

  bool HighResolution() const { return highResolution_; }

 private:
  int64_t frequency_;
  HANDLE timer_ = nullptr;
  bool highResolution_ = false;
  bool raisedResolution_ = false;
};

// Until a message or input comes.
void WaitForMessage();

// The performance counter now.
int64_t CounterNow();

// Asks the driver to hold each swap for n refreshes (0: not at all) through
// WGL_EXT_swap_control; false where the driver has no such request. Needs the
// OpenGL context current.
bool SetSwapInterval(int n);

}  // namespace tremblix
