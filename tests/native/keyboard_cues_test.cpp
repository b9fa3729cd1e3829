// Focus rectangles hidden until the keyboard is used, as the platform keeps
// a window's cues.
#include "saver/forms/keyboard_cues.h"

#include <gtest/gtest.h>

namespace tremblix::forms {
namespace {

TEST(KeyboardCuesTest, RequestsChangeTheState) {
  constexpr uint16_t kBoth = kCuesHidden, kFocus = kHideFocus, kAccel = kHideAccel;
  struct Row { uint16_t state, action, flags; bool keyboard_last; uint16_t after; };
  const Row rows[] = {
      {kBoth, kCueClear, kFocus, false, kAccel},     {kBoth, kCueClear, kBoth, false, 0},
      {0, kCueSet, kFocus, false, kFocus},           {kAccel, kCueSet, kFocus, true, kBoth},
      {0, kCueInitialize, 0, false, kBoth},          {kBoth, kCueInitialize, 0, true, 0},
      {kAccel, kCueInitialize, kFocus, true, 0},     {0, kCueSet, kCueActive, false, kCueActive},
      {kBoth, 0, kFocus, true, kBoth},               {kBoth, 4, kFocus, true, kBoth},
      {kBoth, kCueClear, 8, false, kBoth},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChangedCues(r.state, ResolvedCues({r.action, r.flags}, r.keyboard_last)), r.after)
        << "state " << r.state << " action " << r.action << " flags " << r.flags
        << (r.keyboard_last ? " after a key" : " after the mouse");
  }
}

TEST(KeyboardCuesTest, TabAndTheArrowsShowTheFocus) {
  for (int key : {9, 37, 38, 39, 40}) EXPECT_TRUE(KeyShowsFocus(key)) << key;
  for (int key : {13, 27, 32, 16, 18, 36, 41, int{'A'}}) EXPECT_FALSE(KeyShowsFocus(key)) << key;
}

}  // namespace
}  // namespace tremblix::forms
