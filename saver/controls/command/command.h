// The skinned push button `Command`: its fields, properties, stored record and
// the handlers of pointer, focus and timer events. The window, its retained
// drawing surface and its timer belong to the platform layer (command_win32),
// which this class reaches through a few hooks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "saver/controls/command/button_state.h"
#include "saver/controls/property_record.h"

namespace tremblix {

// The caption element `LblMsg` at design, and the record's caption default.
inline constexpr char kDesignCaption[] = "Command";
inline constexpr char kDefaultCaption[] = "Command1";
FontSpec DesignFont();

class Command {
 public:
  static constexpr int kLeftButton = 1;
  static constexpr int kSpaceKey = 32;

  struct Fields {
    ButtonState State = ButtonState::StateUnset;
    bool LeftDown = false;
    bool SpaceDown = false;  // Space went down on the button and has not come up
    bool IsEnabled = false;
    uint8_t FirstRun = 0;
    bool InvertGradient = false;
  };

  // The windowless caption, drawn over the face by the window.
  struct CaptionElement {
    std::string text = kDesignCaption;  // UTF-8
    FontSpec font = DesignFont();
    uint32_t colour = 0;  // 0x00BBGGRR
    bool enabled = true;
  };

  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;
  virtual ~Command() = default;

  // Raised after the face has been updated, from within the mouse-up handling.
  std::function<void()> Click;

  // The host calls it once after loading: the button starts following the
  // pointer. No repaint.
  void Initialize();

  // Properties. Reading Enabled, FontColour or a true Visible repaints the
  // button; reading Enabled first initialises a button that has never been.
  bool Enabled();
  void SetEnabled(bool value);
  const std::string& Caption() const { return caption_.text; }
  void SetCaption(const std::string& value);
  const FontSpec& Font() const { return caption_.font; }
  void SetFont(const FontSpec& value);
  uint32_t FontColour();
  void SetFontColour(uint32_t value);
  uint8_t Visible();
  void SetVisible(uint8_t value);

  void ReadProperties(const PropertyRecord& record, const FontSpec& ambient_font);
  void WriteProperties(PropertyRecord& record, const FontSpec& ambient_font);

  // Host events.
  void UserControl_Resize();
  void UserControl_MouseMove();
  void UserControl_MouseDown(int button);
  void UserControl_MouseUp(int button);
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  void TmrMouse_Timer();
  // Keys while the button has the focus: Space presses it.
  void UserControl_KeyDown(int key_code);
  void UserControl_KeyUp(int key_code);

  // Raises Click as a click would, when the button is enabled: Enter, or a
  // screen reader's default action.
  void Press();

  const Fields& fields() const { return fields_; }
  const CaptionElement& LblMsg() const { return caption_; }
  bool opaque() const { return back_style_ != 0; }
  std::optional<Face> last_face() const { return last_face_; }

 protected:
  Command() = default;

  // Paints the whole button from the face over the gradient whose orientation
  // fields().InvertGradient holds, places the caption and presents the surface.
  virtual void PaintFace(Face face) = 0;
  // Shows the surface and caption again after a change to the caption or to
  // the background style.
  virtual void Present() = 0;
  virtual void StartMouseTimer() = 0;
  // Whether the window under the pointer is the button's own.
  virtual bool PointerOverControl() = 0;
  // Tells the host that a stored value has changed.
  virtual void PropertyChanged(const char* /*name*/) {}
  virtual void IsEnabledChanged() {}

 private:
  void DrawFace(Face face);
  void ShowEnabledLook();
  void RefreshLook();
  void PointerLeft();
  void Handle(ButtonEvent event);
  void HandleKey(ButtonKeyEvent event);
  void SetIsEnabled(bool value);
  void SetCaptionEnabled(bool value);

  Fields fields_;
  CaptionElement caption_;
  int16_t back_style_ = 1;
  std::optional<Face> last_face_;
};

}  // namespace tremblix
