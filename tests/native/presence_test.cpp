#include "saver/common/presence.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tremblix {
namespace {

using std::chrono::milliseconds;

// A check that answers only once the test opens the gate, as a share that
// has gone answers only after the network's time-out.
struct Gate {
  std::mutex lock;
  std::condition_variable opened;
  bool open = false;
  std::atomic<int> checks{0};
};

TEST(BoundedPresence, ACheckThatDoesNotAnswerIsLeftOutAndNeverStartedTwice) {
  auto gate = std::make_shared<Gate>();
  BoundedPresence presence(
      [gate](const std::string& path) {
        ++gate->checks;
        std::unique_lock<std::mutex> hold(gate->lock);
        gate->opened.wait(hold, [&] { return gate->open; });
        return path == "there";
      },
      milliseconds(200));
  EXPECT_EQ(presence.Ask("there"), Presence::kUnknown);
  EXPECT_EQ(presence.Ask("there"), Presence::kUnknown);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (gate->checks == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_EQ(gate->checks, 1) << "a second check of a path whose first is still out";
  {
    std::lock_guard<std::mutex> hold(gate->lock);
    gate->open = true;
  }
  gate->opened.notify_all();
  // Once it has answered, asks start afresh and are answered.
  Presence answer = Presence::kUnknown;
  while (answer == Presence::kUnknown && std::chrono::steady_clock::now() < deadline) {
    answer = presence.Ask("there");
    std::this_thread::yield();
  }
  EXPECT_EQ(answer, Presence::kThere);
}

TEST(BoundedPresence, AnAnswerInTimeIsFreshEachTime) {
  auto checks = std::make_shared<std::atomic<int>>(0);
  BoundedPresence presence(
      [checks](const std::string& path) {
        ++*checks;
        return path == "there";
      },
      milliseconds(60000));
  for (auto [path, answer] : {std::pair<const char*, Presence>{"there", Presence::kThere},
                              {"gone", Presence::kGone}, {"there", Presence::kThere}}) {
    EXPECT_EQ(presence.Ask(path), answer) << path;
  }
  EXPECT_EQ(*checks, 3);
}

}  // namespace
}  // namespace tremblix
