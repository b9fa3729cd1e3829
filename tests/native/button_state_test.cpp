// Every cell of the push button's transition table.
#include "saver/controls/command/button_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tremblix {
namespace {

using S = ButtonState;
using E = ButtonEvent;
constexpr S kStates[] = {S::StateUnset, S::StateNormal, S::StateHover, S::StateFocus,
                         S::StateFocusHover};
constexpr E kEvents[] = {E::Initialize,      E::MouseMove,     E::LeftButtonDown,
                         E::LeftButtonUp,    E::OtherButtonDown, E::OtherButtonUp,
                         E::FocusGained,     E::FocusLost,     E::PointerAway};

std::string Describe(const ButtonStep& step) {
  return std::string(StateName(step.state)) + (step.left_down ? " down" : " up") + " face " +
         (step.face ? FaceName(*step.face) : "-") + (step.click ? " Click" : "");
}

void ExpectStep(S from, bool left_down, E event, ButtonStep expected) {
  const ButtonStep got = NextStep(from, left_down, true, event);
  EXPECT_EQ(Describe(got), Describe(expected))
      << "from " << StateName(from) << (left_down ? " (left down)" : "") << ", event "
      << static_cast<int>(event);
}

constexpr std::nullopt_t kNoFace = std::nullopt;

TEST(ButtonStateTest, InitializeGoesToNormalFromEveryStateWithoutRepaint) {
  for (S from : kStates) {
    for (bool enabled : {true, false}) {
      for (bool left_down : {false, true}) {
        ButtonStep step = NextStep(from, left_down, enabled, E::Initialize);
        EXPECT_EQ(step.state, S::StateNormal) << StateName(from);
        EXPECT_EQ(step.left_down, left_down);
        EXPECT_FALSE(step.face);
        EXPECT_FALSE(step.click);
      }
    }
  }
}

TEST(ButtonStateTest, MouseMove) {
  ExpectStep(S::StateUnset, false, E::MouseMove, {S::StateUnset, false, kNoFace, false});
  ExpectStep(S::StateNormal, false, E::MouseMove, {S::StateHover, false, Face::HighLight, false});
  ExpectStep(S::StateHover, false, E::MouseMove, {S::StateHover, false, kNoFace, false});
  ExpectStep(S::StateFocus, false, E::MouseMove,
             {S::StateFocusHover, false, Face::HighLightSelect, false});
  ExpectStep(S::StateFocus, true, E::MouseMove, {S::StateFocus, true, kNoFace, false});
  ExpectStep(S::StateFocusHover, false, E::MouseMove,
             {S::StateFocusHover, false, kNoFace, false});
}

// The button hears a press only with the pointer on it, whether or not a move
// said so first (a pointer resting where the button appeared, or where a
// message over it closed): the press puts it under the pointer.
TEST(ButtonStateTest, LeftButtonDownPressesWithThePointerOnTheButton) {
  ExpectStep(S::StateUnset, false, E::LeftButtonDown, {S::StateUnset, true, Face::Pressed, false});
  ExpectStep(S::StateNormal, false, E::LeftButtonDown,
             {S::StateHover, true, Face::Pressed, false});
  ExpectStep(S::StateHover, false, E::LeftButtonDown, {S::StateHover, true, Face::Pressed, false});
  ExpectStep(S::StateFocus, false, E::LeftButtonDown,
             {S::StateFocusHover, true, Face::Pressed, false});
  ExpectStep(S::StateFocusHover, false, E::LeftButtonDown,
             {S::StateFocusHover, true, Face::Pressed, false});
}

TEST(ButtonStateTest, LeftButtonUpAfterAPressOnTheButton) {
  ExpectStep(S::StateUnset, true, E::LeftButtonUp, {S::StateUnset, false, kNoFace, true});
  ExpectStep(S::StateNormal, true, E::LeftButtonUp, {S::StateNormal, false, kNoFace, true});
  ExpectStep(S::StateHover, true, E::LeftButtonUp, {S::StateHover, false, Face::Normal, true});
  ExpectStep(S::StateFocus, true, E::LeftButtonUp, {S::StateFocus, false, kNoFace, false});
  ExpectStep(S::StateFocusHover, true, E::LeftButtonUp,
             {S::StateFocusHover, false, Face::HighLightSelect, true});
}

TEST(ButtonStateTest, LeftButtonUpWithoutAPressOnTheButtonNeverClicks) {
  ExpectStep(S::StateUnset, false, E::LeftButtonUp, {S::StateUnset, false, kNoFace, false});
  ExpectStep(S::StateNormal, false, E::LeftButtonUp, {S::StateNormal, false, kNoFace, false});
  ExpectStep(S::StateHover, false, E::LeftButtonUp, {S::StateHover, false, Face::Normal, false});
  ExpectStep(S::StateFocus, false, E::LeftButtonUp, {S::StateFocus, false, kNoFace, false});
  ExpectStep(S::StateFocusHover, false, E::LeftButtonUp,
             {S::StateFocusHover, false, Face::HighLightSelect, false});
}

TEST(ButtonStateTest, OtherButtonsDoNothing) {
  for (S from : kStates) {
    for (bool left_down : {false, true}) {
      ExpectStep(from, left_down, E::OtherButtonDown, {from, left_down, kNoFace, false});
      ExpectStep(from, left_down, E::OtherButtonUp, {from, left_down, kNoFace, false});
    }
  }
}

TEST(ButtonStateTest, FocusGained) {
  ExpectStep(S::StateUnset, false, E::FocusGained, {S::StateFocus, false, Face::Selected, false});
  ExpectStep(S::StateNormal, false, E::FocusGained, {S::StateFocus, false, Face::Selected, false});
  ExpectStep(S::StateHover, false, E::FocusGained,
             {S::StateFocusHover, false, Face::Pressed, false});
  ExpectStep(S::StateFocus, false, E::FocusGained, {S::StateFocus, false, Face::Selected, false});
  ExpectStep(S::StateFocusHover, false, E::FocusGained,
             {S::StateFocus, false, Face::Selected, false});
  ExpectStep(S::StateNormal, true, E::FocusGained, {S::StateFocusHover, true, Face::Pressed, false});
}

TEST(ButtonStateTest, FocusLost) {
  ExpectStep(S::StateUnset, false, E::FocusLost, {S::StateNormal, false, Face::Normal, false});
  ExpectStep(S::StateNormal, false, E::FocusLost, {S::StateNormal, false, kNoFace, false});
  ExpectStep(S::StateHover, false, E::FocusLost, {S::StateNormal, false, Face::Normal, false});
  ExpectStep(S::StateFocus, false, E::FocusLost, {S::StateNormal, false, Face::Normal, false});
  ExpectStep(S::StateFocusHover, false, E::FocusLost,
             {S::StateNormal, false, Face::Normal, false});
}

TEST(ButtonStateTest, PointerFoundAway) {
  ExpectStep(S::StateUnset, false, E::PointerAway, {S::StateUnset, false, kNoFace, false});
  ExpectStep(S::StateNormal, false, E::PointerAway, {S::StateNormal, false, kNoFace, false});
  ExpectStep(S::StateHover, false, E::PointerAway, {S::StateNormal, false, Face::Normal, false});
  ExpectStep(S::StateFocus, false, E::PointerAway, {S::StateFocus, false, kNoFace, false});
  ExpectStep(S::StateFocusHover, false, E::PointerAway,
             {S::StateFocus, false, Face::Selected, false});
  // Holding the left button does not change where the pointer is.
  ExpectStep(S::StateFocusHover, true, E::PointerAway,
             {S::StateFocus, true, Face::Selected, false});
}

TEST(ButtonStateTest, DisabledIgnoresEverythingButInitialize) {
  for (S from : kStates) {
    for (E event : kEvents) {
      if (event == E::Initialize) continue;
      for (bool left_down : {false, true}) {
        ButtonStep step = NextStep(from, left_down, false, event);
        EXPECT_EQ(step.state, from) << StateName(from) << " event " << static_cast<int>(event);
        EXPECT_EQ(step.left_down, left_down);
        EXPECT_FALSE(step.face);
        EXPECT_FALSE(step.click);
      }
    }
  }
}

// Space as on a push button: down at the press, Click at the release.
TEST(ButtonStateTest, SpacePressesTheFocusedButton) {
  using K = ButtonKeyEvent;
  struct Row { S state; bool space_down, enabled; K event; bool down_after; std::optional<Face> face; bool click; };
  const Row rows[] = {
      {S::StateFocus, false, true, K::SpaceDown, true, Face::Pressed, false},
      {S::StateFocusHover, false, true, K::SpaceDown, true, Face::Pressed, false},
      {S::StateFocus, true, true, K::SpaceDown, true, kNoFace, false},  // a repeat while held
      {S::StateFocus, true, true, K::SpaceUp, false, Face::Selected, true},
      {S::StateFocusHover, true, true, K::SpaceUp, false, Face::HighLightSelect, true},
      {S::StateHover, true, true, K::SpaceUp, false, Face::HighLight, true},
      {S::StateNormal, true, true, K::SpaceUp, false, Face::Normal, true},
      {S::StateFocus, false, true, K::SpaceUp, false, kNoFace, false},  // pressed before the focus came
      {S::StateFocus, true, true, K::FocusLost, false, kNoFace, false},
      {S::StateFocus, false, false, K::SpaceDown, false, kNoFace, false},
      {S::StateFocus, true, false, K::SpaceUp, false, kNoFace, false},  // disabled while held
      {S::StateFocus, true, true, K::Disabled, false, kNoFace, false},
  };
  for (const Row& r : rows) {
    const ButtonKeyStep step = NextKeyStep(r.state, r.space_down, r.enabled, r.event);
    EXPECT_EQ(Describe({r.state, step.space_down, step.face, step.click}),
              Describe({r.state, r.down_after, r.face, r.click}))
        << StateName(r.state) << (r.space_down ? " Space down" : "") << (r.enabled ? "" : " disabled") << ", key " << static_cast<int>(r.event);
  }
}

TEST(ButtonStateTest, GradientOrientationByState) {
  for (bool previous : {false, true}) {
    EXPECT_FALSE(GradientInverted(S::StateNormal, previous));
    EXPECT_TRUE(GradientInverted(S::StateHover, previous));
    EXPECT_FALSE(GradientInverted(S::StateFocus, previous));
    EXPECT_EQ(GradientInverted(S::StateUnset, previous), previous);
    EXPECT_EQ(GradientInverted(S::StateFocusHover, previous), previous);
  }
}

}  // namespace
}  // namespace tremblix
