#include "saver/run/desktop_copy.h"

#include <gtest/gtest.h>

#include <vector>

namespace tremblix {
namespace {

TEST(StateOfCopy, AfterTheLastInputAndAFewSecondsOldAtMost) {
  constexpr auto kFresh = CopyState::kFresh, kOld = CopyState::kOld;
  constexpr uint32_t kWrap = 0xFFFFFC00;  // a second before the tick count wraps
  struct Row {
    const char* what;
    bool held;
    uint32_t taken, last_input, now;
    CopyState state;
  } rows[] = {
      {"none held", false, 5000, 1000, 6000, CopyState::kAbsent},
      {"taken 58 s after the input", true, 59000, 1000, 61000, kFresh},
      {"six seconds old", true, 59000, 1000, 65000, kFresh},
      {"older", true, 59000, 1000, 65001, kOld},
      {"input after it", true, 59000, 60000, 61000, kOld},
      {"input within the margin", true, 59000, 58950, 61000, kOld},
      {"input just past the margin", true, 59000, 58899, 61000, kFresh},
      {"taken across the wrap", true, kWrap + 2000, kWrap - 50000, kWrap + 3000, kFresh},
      {"input across the wrap, after it", true, kWrap, kWrap + 1500, kWrap + 2000, kOld},
      {"taken a little after now", true, 61050, 1000, 61000, kFresh},
      {"taken well after now", true, 70000, 1000, 61000, kOld},
      {"away for 25 days", true, 2200000000u, 1000, 2200001000u, kOld},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(StateOfCopy(r.held, r.taken, r.last_input, r.now), r.state) << r.what;
  }
  EXPECT_EQ(IdleMs(kWrap, kWrap + 5000), 5000u);
  EXPECT_EQ(IdleMs(1080, 1000), 0u) << "an input read a little after the clock";
}

TEST(DesktopCopy, ReadsBackWhatWasWrittenOnceMarkedAndNothingThatDoesNotFit) {
  const std::vector<ScreenRect> desk = {{0, 0, 4, 2}, {-3, 0, 0, 1}};
  const size_t bytes = DesktopCopyBytes(desk);
  ASSERT_EQ(bytes, kCopyHeaderBytes + 4 * 2 * 4 + 3 * 4);
  std::vector<uint8_t> memory(bytes);
  DesktopCopy copy = LayOutDesktopCopy(desk);
  copy.taken = 0xFFFFFFF0;
  WriteCopyHeader(copy, memory.data());
  EXPECT_FALSE(ReadDesktopCopy(memory.data(), bytes));
  MarkCopyComplete(memory.data());
  const std::optional<DesktopCopy> read = ReadDesktopCopy(memory.data(), bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->taken, copy.taken);
  EXPECT_EQ(read->monitors, desk);
  EXPECT_EQ(read->offsets, (std::vector<size_t>{kCopyHeaderBytes, kCopyHeaderBytes + 32}));
  EXPECT_FALSE(ReadDesktopCopy(memory.data(), bytes - 1)) << "pixels past the end";
  EXPECT_EQ(DesktopCopyBytes({{0, 0, 0, 5}}), 0u);
  EXPECT_EQ(DesktopCopyBytes(std::vector<ScreenRect>(kMostPictureSets + 1, {0, 0, 1, 1})), 0u);
}

}  // namespace
}  // namespace tremblix
