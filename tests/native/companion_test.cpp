#include "saver/companion/companion.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

constexpr auto kNo = CompanionAction::kNothing;
constexpr auto kCopy = CompanionAction::kCopy;
constexpr auto kDrop = CompanionAction::kDrop;
constexpr uint32_t kWrap = 0xFFFFF000;  // a last input 4 s before the tick count wraps

TEST(PlanCompanion, OneLookAtATime) {
  struct Row {
    const char* what;
    uint32_t last_input, now, timeout_s;
    bool active, chosen, secure, locked, off, input_desktop, held;
    uint32_t taken;
    CompanionPlan plan;
  };
  const std::optional<uint32_t> kWait;
  const Row rows[] = {
      // what                      input   now    t   act  cho  sec  lock off  inp  held taken
      {"typing: look at the lead", 1000, 1000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, 58000}},
      {"idle 30 s", 1000, 31000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, 28000}},
      {"the lead: copy", 1000, 59000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kCopy, 500}},
      {"across the wrap", kWrap, kWrap + 58000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kCopy, 500}},
      {"held and fresh", 1000, 60000, 60, 1, 1, 0, 0, 0, 1, 1, 59000, {kNo, 500}},
      {"held, nearly old", 1000, 64800, 60, 1, 1, 0, 0, 0, 1, 1, 59000, {kNo, 201}},
      {"input after the copy", 61000, 61000, 60, 1, 1, 0, 0, 0, 1, 1, 59000, {kDrop, 58000}},
      {"too old: next timeout", 1000, 65001, 60, 1, 1, 0, 0, 0, 1, 1, 59000, {kDrop, 53999}},
      {"one timeout on: again", 1000, 119000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kCopy, 500}},
      {"past the lead: wait", 1000, 62000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, 57000}},
      {"not active", 1000, 59000, 60, 0, 1, 0, 0, 0, 1, 1, 58000, {kDrop, kWait}},
      {"another saver", 1000, 59000, 60, 1, 0, 0, 0, 0, 1, 0, 0, {kNo, kWait}},
      {"password on resume", 1000, 59000, 60, 1, 1, 1, 0, 0, 1, 1, 58000, {kDrop, kWait}},
      {"no timeout", 1000, 59000, 0, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, kWait}},
      {"timeout within the lead", 1000, 59000, 2, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, kWait}},
      {"locked", 1000, 59000, 60, 1, 1, 0, 1, 0, 1, 1, 58000, {kDrop, kWait}},
      {"display off", 1000, 59000, 60, 1, 1, 0, 0, 1, 1, 0, 0, {kNo, kWait}},
      {"a prompt's desktop", 1000, 59000, 60, 1, 1, 0, 0, 0, 0, 0, 0, {kNo, 60000}},
      {"switched, copy kept", 1000, 61000, 60, 1, 1, 0, 0, 0, 0, 1, 59000, {kNo, 500}},
      {"input ahead of now", 1050, 1000, 60, 1, 1, 0, 0, 0, 1, 0, 0, {kNo, 58000}},
  };
  for (const Row& r : rows) {
    const CompanionPlan plan = PlanCompanion({r.now, r.last_input, r.timeout_s, r.active, r.chosen,
                                              r.secure, r.locked, r.off, r.input_desktop, r.held,
                                              r.taken});
    EXPECT_TRUE(plan == r.plan) << r.what;
  }
}

TEST(NumberOfText, AsWindowsReadsTheValues) {
  const std::pair<const wchar_t*, uint32_t> rows[] = {
      {L"600", 600}, {L" 60s", 60}, {L"-1", 0}, {L"", 0}, {L"99999999999999999999", 366 * 86400}};
  for (const auto& [text, n] : rows) EXPECT_EQ(NumberOfText(text), n) << text;
}

}  // namespace
}  // namespace tremblix
