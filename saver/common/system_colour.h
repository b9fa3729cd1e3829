// The system's colours a high-contrast scheme sets, by name: the button and
// the dialog pick among them, the platform's side turns them into pixels.
#pragma once

namespace tremblix {

// COLOR_WINDOW and the rest.
enum class SystemColour {
  kWindow,
  kWindowText,
  kButtonFace,
  kButtonText,
  kHighlight,
  kHighlightText,
  kHotLight,
  kGrayText,
};

}  // namespace tremblix
