// The push button's pointer and focus rules: which state follows an event,
// which face is painted and whether the button clicks.
#pragma once

#include <cstdint>
#include <optional>

namespace tremblix {

enum class ButtonState : uint8_t {
  StateUnset = 0,       // created, Initialize not yet called
  StateNormal = 1,      // no focus, pointer away
  StateHover = 2,       // no focus, pointer over the button
  StateFocus = 3,       // focus, pointer away (or back while the left button is held)
  StateFocusHover = 4,  // focus, pointer over the button
};

// The six face pictures; the order is that of the picture files.
enum class Face : uint8_t { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };
inline constexpr int kFaceCount = 6;

enum class ButtonEvent {
  Initialize,
  MouseMove,
  LeftButtonDown,
  LeftButtonUp,
  OtherButtonDown,
  OtherButtonUp,
  FocusGained,
  FocusLost,
  PointerAway,  // the pointer poll found the pointer off the button
};

struct ButtonStep {
  ButtonState state;
  bool left_down;
  std::optional<Face> face;  // repainted with this face; none: no repaint
  bool click;
};

ButtonStep NextStep(ButtonState state, bool left_down, bool enabled, ButtonEvent event);

// Space, as it presses a push button; and the focus going, or the button
// becoming disabled, while it is down.
enum class ButtonKeyEvent { SpaceDown, SpaceUp, FocusLost, Disabled };

struct ButtonKeyStep {
  bool space_down;
  std::optional<Face> face;  // repainted with this face; none: no repaint
  bool click;
};

// The face goes down at Space's press (not at its repeats while held) and
// the button clicks at its release, showing again the face of its state; the
// focus going while Space is down lets it go without a click. A disabled
// button holds no Space down: enabled again, it waits for a new press.
ButtonKeyStep NextKeyStep(ButtonState state, bool space_down, bool enabled, ButtonKeyEvent event);

// The gradient's orientation for a paint in this state (true: lavender grey at
// the top); the states that do not decide keep the previous orientation.
bool GradientInverted(ButtonState state, bool previous);

const char* FaceName(Face face);
const char* StateName(ButtonState state);

}  // namespace tremblix
