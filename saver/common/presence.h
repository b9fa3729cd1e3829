// Whether a file is there, asked off the caller's thread with a bound: on a
// share that has gone, opening a file can block for the network's time-out,
// and the caller (a window's thread) must go on handling its messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tremblix {

enum class Presence { kThere, kGone, kUnknown };

// The open that may block, and the means to cancel it from another thread.
class PresenceCalls {
 public:
  virtual ~PresenceCalls() = default;
  // Whether the path opens; may block for the network's time-out.
  virtual bool Opens(const std::string& path) = 0;
  // A handle to the calling thread, kept for CancelOpen until Forget.
  virtual uintptr_t ThisThread() = 0;
  // Makes an open that thread is blocked in give up (CancelSynchronousIo);
  // an open not yet begun is not touched.
  virtual void CancelOpen(uintptr_t thread) = 0;
  virtual void Forget(uintptr_t thread) = 0;
};

// Runs a check that may block (opening the file) on a thread of its own and
// waits for its answer at most the bound. A check that does not answer in
// time is left to finish alone, detached. Until it has answered no other
// check of that path starts, so a share that hangs holds one thread, not one
// per ask.
//
// This is the saver's only thread besides the window's; it shares nothing
// with it but the answer, under a lock.
class BoundedPresence {
 public:
  // How Ask waits for a check: on answered, hold held, until done() or
  // the bound has passed; true when done. The steady clock's, unless a test
  // keeps the time itself.
  using Wait = std::function<bool(std::unique_lock<std::mutex>& hold,
                                  std::condition_variable& answered,
                                  std::chrono::milliseconds bound,
                                  const std::function<bool()>& done)>;
  static bool WaitOnTheClock(std::unique_lock<std::mutex>& hold, std::condition_variable& answered,
                             std::chrono::milliseconds bound, const std::function<bool()>& done);

  // end_bound: how long EndChecks goes on cancelling.
  BoundedPresence(std::shared_ptr<PresenceCalls> calls, std::chrono::milliseconds bound,
                  std::chrono::milliseconds end_bound, Wait wait = &WaitOnTheClock);

  // The answer of a fresh check, or kUnknown when it took longer than the
  // bound, or when an earlier check of the path is still out (asked at once:
  // the caller has waited its bound for that one already), or once the
  // checks have ended.
  Presence Ask(const std::string& path);

  // Before the process ends: a thread blocked in an open keeps a process
  // from ending, and Windows keeps the screen-saver desktop up till then.
  // Cancels every check still out, again until each has answered or the end
  // bound is over (an open about to begin cannot be cancelled yet); no check
  // starts after.
  void EndChecks();

 private:
  struct Shared;  // the checks out, shared with their threads

  std::shared_ptr<Shared> shared_;
  std::chrono::milliseconds bound_;
  std::chrono::milliseconds end_bound_;
  Wait wait_;
};

}  // namespace tremblix
