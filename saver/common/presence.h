// Whether a file is there, asked off the caller's thread with a bound: on a
// share that has gone, opening a file can block for the network's time-out,
// and the caller (a window's thread) must go on handling its messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace tremblix {

enum class Presence { kThere, kGone, kUnknown };

// Runs a check that may block (opening the file) on a thread of its own and
// waits for its answer at most the bound. A check that does not answer in
// time is left to finish alone, detached: nothing, the program's end
// included, ever waits for it. Until it has answered no other check of that
// path starts, so a share that hangs holds one thread, not one per ask.
//
// This is the saver's only thread besides the window's; it shares nothing
// with it but the answer, under a lock.
class BoundedPresence {
 public:
  using Check = std::function<bool(const std::string& path)>;
  // Waits on answered, hold held, until done() or the bound has passed;
  // true when done. The steady clock's, unless a test keeps the time itself.
  using Wait = std::function<bool(std::unique_lock<std::mutex>& hold,
                                  std::condition_variable& answered,
                                  std::chrono::milliseconds bound,
                                  const std::function<bool()>& done)>;
  static bool WaitOnTheClock(std::unique_lock<std::mutex>& hold, std::condition_variable& answered,
                             std::chrono::milliseconds bound, const std::function<bool()>& done);

  BoundedPresence(Check check, std::chrono::milliseconds bound, Wait wait = &WaitOnTheClock)
      : check_(std::move(check)), bound_(bound), wait_(std::move(wait)) {}

  // The answer of a fresh check, or kUnknown when it took longer than the
  // bound, or when an earlier check of the path is still out (asked at once:
  // the caller has waited its bound for that one already).
  Presence Ask(const std::string& path);

 private:
  struct Out;  // a check's answer, shared with its thread

  Check check_;
  std::chrono::milliseconds bound_;
  Wait wait_;
  std::string out_path_;
  std::shared_ptr<Out> out_;  // the check that outlived its bound, if any
};

}  // namespace tremblix
