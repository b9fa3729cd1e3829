// Focus rectangles hidden until the keyboard is used, as the platform keeps
// a window's cues.
#include "saver/forms/keyboard_cues.h"

#include <gtest/gtest.h>

namespace tremblix::forms {
namespace {

TEST(KeyboardCuesTest, RequestsChangeTheState) {
  constexpr uint16_t kBoth = kCuesHidden, kFocus = kHideFocus, kAccel = kHideAccel;
  struct Row { uint16_t state, action, flags; bool keyboard_last; uint16_t after; bool always = false; };
  const Row rows[] = {
      {kBoth, kCueClear, kFocus, false, kAccel},     {kBoth, kCueClear, kBoth, false, 0},
      {0, kCueSet, kFocus, false, kFocus},           {kAccel, kCueSet, kFocus, true, kBoth},
      {0, kCueInitialize, 0, false, kBoth},          {kBoth, kCueInitialize, 0, true, 0},
      {kAccel, kCueInitialize, kFocus, true, 0},     {0, kCueSet, kCueActive, false, kCueActive},
      {kBoth, 0, kFocus, true, kBoth},               {kBoth, 4, kFocus, true, kBoth},
      {kBoth, kCueClear, 8, false, kBoth},
      // The user's setting shows them always, whatever is asked.
      {FirstCues(true), kCueSet, kFocus, false, 0, true}, {kBoth, kCueInitialize, 0, false, 0, true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChangedCues(r.state, ResolvedCues({r.action, r.flags}, r.keyboard_last, r.always)), r.after)
        << "state " << r.state << " action " << r.action << " flags " << r.flags
        << (r.keyboard_last ? " after a key" : " after the mouse") << (r.always ? " always shown" : "");
  }
}

TEST(KeyboardCuesTest, TabAndTheArrowsShowTheFocusAndTheArrowsActWhileHeld) {
  for (int key : {9, 37, 38, 39, 40}) EXPECT_TRUE(KeyShowsFocus(key)) << key;
  for (int key : {13, 27, 32, 16, 18, 36, 41, int{'A'}}) EXPECT_FALSE(KeyShowsFocus(key)) << key;
  for (int key : {37, 38, 39, 40}) EXPECT_TRUE(KeyActsWhileHeld(key)) << key;
  for (int key : {9, 13, 32, 36, 41}) EXPECT_FALSE(KeyActsWhileHeld(key)) << key;
}

// A 6 x 5 control, its frame two pixels wide at the sides and one high.
TEST(KeyboardCuesTest, TheFocusFramesDotsAreAsWideAsTheBorder) {
  struct Row { int x, y, border_x, border_y; bool dot; };
  const Row rows[] = {{0, 0, 2, 1, true}, {1, 0, 2, 1, false}, {1, 1, 2, 1, true}, {2, 2, 2, 1, false}, {4, 2, 2, 1, true},
                      {3, 2, 1, 1, false}, {2, 4, 2, 1, true}, {2, 2, 0, -3, false}, {0, 2, 0, 0, true}, {-1, 1, 2, 1, false},
                      {6, 0, 2, 1, false}, {0, 5, 2, 1, false}, {2, 2, 3, 3, true}};
  for (const Row& r : rows) EXPECT_EQ(IsFocusFrameDot(r.x, r.y, 6, 5, r.border_x, r.border_y), r.dot) << r.x << ", " << r.y << " border " << r.border_x << " x " << r.border_y;
}

}  // namespace
}  // namespace tremblix::forms
