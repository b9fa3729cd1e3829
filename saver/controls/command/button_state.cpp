#include "saver/controls/command/button_state.h"

namespace tremblix {

ButtonStep NextStep(ButtonState state, bool left_down, bool enabled, ButtonEvent event) {
  using S = ButtonState;
  ButtonStep step{state, left_down, std::nullopt, false};
  if (event == ButtonEvent::Initialize) {
    step.state = S::StateNormal;
    return step;
  }
  if (!enabled) return step;

  switch (event) {
    case ButtonEvent::MouseMove:
      if (state == S::StateNormal) {
        step.state = S::StateHover;
        step.face = Face::HighLight;
      } else if (state == S::StateFocus && !left_down) {
        step.state = S::StateFocusHover;
        step.face = Face::HighLightSelect;
      }
      break;
    case ButtonEvent::LeftButtonDown:
      // The button hears a press only with the pointer on it, even when no
      // move said so (shown under a resting pointer, or a message over it
      // closed): without this the release would not click.
      if (state == S::StateNormal) step.state = S::StateHover;
      if (state == S::StateFocus) step.state = S::StateFocusHover;
      step.left_down = true;
      step.face = Face::Pressed;
      break;
    case ButtonEvent::LeftButtonUp:
      step.left_down = false;
      if (state == S::StateHover) step.face = Face::Normal;
      if (state == S::StateFocusHover) step.face = Face::HighLightSelect;
      // Only a press that began on the button clicks it: a press made
      // elsewhere and released over the button does not.
      step.click = left_down && state != S::StateFocus;
      break;
    case ButtonEvent::OtherButtonDown:
    case ButtonEvent::OtherButtonUp:
      // Only the left button clicks, as on any push button.
      break;
    case ButtonEvent::FocusGained:
      // Back while a press on the button is held (the window lost the
      // activation for a moment and has it again): the press stands, and
      // its release clicks.
      if (state == S::StateHover || left_down) {
        step.state = S::StateFocusHover;
        step.face = Face::Pressed;
      } else {
        step.state = S::StateFocus;
        step.face = Face::Selected;
      }
      break;
    case ButtonEvent::FocusLost:
      if (state != S::StateNormal) {
        step.state = S::StateNormal;
        step.face = Face::Normal;
      }
      break;
    case ButtonEvent::PointerAway:
      if (state == S::StateHover) {
        step.state = S::StateNormal;
        step.face = Face::Normal;
      } else if (state == S::StateFocusHover) {
        step.state = S::StateFocus;
        step.face = Face::Selected;
      }
      break;
    case ButtonEvent::Initialize:
      break;
  }
  return step;
}

ButtonKeyStep NextKeyStep(ButtonState state, bool space_down, bool enabled, ButtonKeyEvent event) {
  using S = ButtonState;
  ButtonKeyStep step{space_down, std::nullopt, false};
  if (!enabled || event == ButtonKeyEvent::Disabled) return {false, std::nullopt, false};
  switch (event) {
    case ButtonKeyEvent::SpaceDown:
      if (!space_down) step = {true, Face::Pressed, false};
      break;
    case ButtonKeyEvent::SpaceUp:
      if (!space_down) break;
      step.space_down = false;
      step.click = true;
      switch (state) {
        case S::StateHover: step.face = Face::HighLight; break;
        case S::StateFocus: step.face = Face::Selected; break;
        case S::StateFocusHover: step.face = Face::HighLightSelect; break;
        default: step.face = Face::Normal; break;
      }
      break;
    case ButtonKeyEvent::FocusLost:
    case ButtonKeyEvent::Disabled:
      step.space_down = false;
      break;
  }
  return step;
}

bool GradientInverted(ButtonState state, bool previous) {
  switch (state) {
    case ButtonState::StateNormal:
    case ButtonState::StateFocus:
      return false;
    case ButtonState::StateHover:
      return true;
    default:
      return previous;
  }
}

const char* FaceName(Face face) {
  switch (face) {
    case Face::Normal: return "Normal";
    case Face::HighLight: return "HighLight";
    case Face::HighLightSelect: return "HighLightSelect";
    case Face::Selected: return "Selected";
    case Face::Pressed: return "Pressed";
    case Face::Disable: return "Disable";
  }
  return "?";
}

const char* StateName(ButtonState state) {
  switch (state) {
    case ButtonState::StateUnset: return "StateUnset";
    case ButtonState::StateNormal: return "StateNormal";
    case ButtonState::StateHover: return "StateHover";
    case ButtonState::StateFocus: return "StateFocus";
    case ButtonState::StateFocusHover: return "StateFocusHover";
  }
  return "?";
}

}  // namespace tremblix
