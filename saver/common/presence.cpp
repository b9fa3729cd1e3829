#include "saver/common/presence.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace tremblix {

namespace {

// How often EndChecks cancels again: an open that had not yet begun at the
// last cancel has begun by the next.
constexpr std::chrono::milliseconds kCancelAgain(10);

}  // namespace

struct BoundedPresence::Shared {
  struct Out {
    std::string path;
    bool done = false;
    bool there = false;
    std::optional<uintptr_t> thread;  // while its open may block
  };

  explicit Shared(std::shared_ptr<PresenceCalls> c) : calls(std::move(c)) {}

  // On the check's thread.
  void Run(const std::shared_ptr<Out>& out) {
    const uintptr_t self = calls->ThisThread();
    {
      std::lock_guard<std::mutex> hold(lock);
      if (ending) {
        calls->Forget(self);
        out->done = true;
        answered.notify_all();
        return;
      }
      out->thread = self;
    }
    const bool there = calls->Opens(out->path);
    std::lock_guard<std::mutex> hold(lock);
    // Under the lock: EndChecks never cancels on a handle forgotten.
    calls->Forget(self);
    out->thread.reset();
    out->done = true;
    out->there = there;
    answered.notify_all();
  }

  const std::shared_ptr<PresenceCalls> calls;
  std::mutex lock;
  std::condition_variable answered;
  bool ending = false;
  std::vector<std::shared_ptr<Out>> outs;  // not yet answered, or not yet asked again
};

bool BoundedPresence::WaitOnTheClock(std::unique_lock<std::mutex>& hold,
                                     std::condition_variable& answered,
                                     std::chrono::milliseconds bound,
                                     const std::function<bool()>& done) {
  return answered.wait_for(hold, bound, done);
}

BoundedPresence::BoundedPresence(std::shared_ptr<PresenceCalls> calls,
                                 std::chrono::milliseconds bound,
                                 std::chrono::milliseconds end_bound, Wait wait)
    : shared_(std::make_shared<Shared>(std::move(calls))), bound_(bound), end_bound_(end_bound),
      wait_(std::move(wait)) {}

Presence BoundedPresence::Ask(const std::string& path) {
  std::unique_lock<std::mutex> hold(shared_->lock);
  if (shared_->ending) return Presence::kUnknown;
  auto& outs = shared_->outs;
  outs.erase(std::remove_if(outs.begin(), outs.end(), [](const auto& out) { return out->done; }),
             outs.end());
  for (const auto& out : outs) {
    if (out->path == path) return Presence::kUnknown;
  }

  auto out = std::make_shared<Shared::Out>();
  out->path = path;
  try {
    std::thread([shared = shared_, out] { shared->Run(out); }).detach();
  } catch (const std::system_error&) {
    return Presence::kUnknown;  // no thread to be had: nothing is opened either
  }
  outs.push_back(out);
  if (!wait_(hold, shared_->answered, bound_, [&] { return out->done; })) {
    return Presence::kUnknown;
  }
  return out->there ? Presence::kThere : Presence::kGone;
}

void BoundedPresence::EndChecks() {
  std::unique_lock<std::mutex> hold(shared_->lock);
  shared_->ending = true;
  const auto give_up = std::chrono::steady_clock::now() + end_bound_;
  for (;;) {
    bool any_out = false;
    for (const auto& out : shared_->outs) {
      if (out->done) continue;
      any_out = true;
      if (out->thread) shared_->calls->CancelOpen(*out->thread);
    }
    if (!any_out || std::chrono::steady_clock::now() >= give_up) return;
    shared_->answered.wait_for(hold, kCancelAgain);
  }
}

}  // namespace tremblix
