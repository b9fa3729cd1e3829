#include "saver/common/presence.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace tremblix {
namespace {

// The check answers only once let go, as a share that has gone answers after
// the network's time-out; the bound is real and short.
TEST(BoundedPresence, WaitsNoLongerThanItsBoundAndStartsNoCheckWhileOneIsOut) {
  auto let_go = std::make_shared<std::atomic<bool>>(false);
  auto checks = std::make_shared<std::atomic<int>>(0);
  BoundedPresence presence(
      [=](const std::string& path) {
        ++*checks;
        while (!*let_go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return path == "there";
      },
      std::chrono::milliseconds(200));
  EXPECT_EQ(presence.Ask("there"), Presence::kUnknown);
  EXPECT_EQ(presence.Ask("there"), Presence::kUnknown);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (*checks == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_EQ(*checks, 1) << "a second check of a path whose first is still out";
  // Once it has answered, asks start afresh and are answered.
  *let_go = true;
  Presence answer = Presence::kUnknown;
  while (answer == Presence::kUnknown && std::chrono::steady_clock::now() < deadline) {
    answer = presence.Ask("there");
  }
  EXPECT_EQ(answer, Presence::kThere);
  EXPECT_GE(*checks, 2);
}

}  // namespace
}  // namespace tremblix
