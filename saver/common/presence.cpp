#include "saver/common/presence.h"

#include <system_error>
#include <thread>

namespace tremblix {

struct BoundedPresence::Out {
  std::mutex lock;
  std::condition_variable answered;
  bool done = false;
  bool there = false;
};

bool BoundedPresence::WaitOnTheClock(std::unique_lock<std::mutex>& hold,
                                     std::condition_variable& answered,
                                     std::chrono::milliseconds bound,
                                     const std::function<bool()>& done) {
  return answered.wait_for(hold, bound, done);
}

Presence BoundedPresence::Ask(const std::string& path) {
  if (out_ && out_path_ == path) {
    std::lock_guard<std::mutex> hold(out_->lock);
    if (!out_->done) return Presence::kUnknown;
  }
  out_.reset();

  auto out = std::make_shared<Out>();
  try {
    std::thread([out, check = check_, path] {
      const bool there = check(path);
      std::lock_guard<std::mutex> hold(out->lock);
      out->done = true;
      out->there = there;
      out->answered.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return Presence::kUnknown;  // no thread to be had: nothing is opened either
  }

  std::unique_lock<std::mutex> hold(out->lock);
  if (!wait_(hold, out->answered, bound_, [&] { return out->done; })) {
    out_ = out;
    out_path_ = path;
    return Presence::kUnknown;
  }
  return out->there ? Presence::kThere : Presence::kGone;
}

}  // namespace tremblix
