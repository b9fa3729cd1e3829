// Whether a file is there, asked off the caller's thread with a bound: on a
// share that has gone, opening a file can block for the network's time-out,
// and the caller (a window's thread) must go on handling its messages.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
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

  BoundedPresence(Check check, std::chrono::milliseconds bound)
      : check_(std::move(check)), bound_(bound) {}

  // The answer of a fresh check, or kUnknown when it took longer than the
  // bound, or when an earlier check of the path is still out (asked at once:
  // the caller has waited its bound for that one already).
  Presence Ask(const std::string& path);

 private:
  struct Out;  // a check's answer, shared with its thread

  Check check_;
  std::chrono::milliseconds bound_;
  std::string out_path_;
  std::shared_ptr<Out> out_;  // the check that outlived its bound, if any
};

}  // namespace tremblix
