#include "saver/companion/companion.h"

#include <algorithm>
#include <cwctype>

#include "saver/run/desktop_copy.h"

namespace tremblix {

namespace {

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.empty() || a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

CompanionPlan PlanCompanion(const CompanionFacts& f) {
  const uint64_t timeout_ms = uint64_t{f.timeout_s} * 1000;
  const CompanionAction drop = f.copy_held ? CompanionAction::kDrop : CompanionAction::kNothing;
  // A timeout within the lead leaves no moment before it.
  if (!f.active || !f.chosen || f.secure || timeout_ms <= kCopyLeadMs ||
      timeout_ms > UINT32_MAX / 2) {
    return {drop, std::nullopt};
  }
  if (f.locked || f.display_off) return {drop, std::nullopt};
  const uint32_t period = static_cast<uint32_t>(timeout_ms);
  const CopyState copy = StateOfCopy(f.copy_held, f.copy_taken, f.last_input, f.now);
  if (copy == CopyState::kFresh) {
    const uint32_t age = f.now - f.copy_taken;
    const uint32_t until_old = age <= kCopyMostAgeMs ? kCopyMostAgeMs - age + 1 : 1;
    return {CompanionAction::kNothing, std::min(kHeldLookMs, until_old)};
  }
  const CompanionAction action = copy == CopyState::kOld ? drop : CompanionAction::kNothing;
  if (!f.input_desktop) return {action, period};
  const uint32_t idle = IdleMs(f.last_input, f.now);
  const uint32_t due = period - kCopyLeadMs;
  if (idle < due) return {action, due - idle};
  // The moments a lead before each timeout: a look that comes after one's
  // timeout waits for the next.
  const uint32_t phase = (idle - due) % period;
  if (phase <= kCopyLeadMs) return {CompanionAction::kCopy, kHeldLookMs};
  return {action, period - phase};
}

uint32_t NumberOfText(std::wstring_view text) {
  constexpr uint32_t kMost = 366u * 24 * 3600;
  size_t at = 0;
  while (at < text.size() && std::iswspace(text[at])) ++at;
  uint32_t n = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    n = std::min<uint32_t>(kMost, n * 10 + static_cast<uint32_t>(text[at] - L'0'));
  }
  return n;
}

bool NamesThisProgram(std::wstring_view value, std::wstring_view path,
                      std::wstring_view short_path) {
  return SameText(value, path) || SameText(value, short_path);
}

}  // namespace tremblix
