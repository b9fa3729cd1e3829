#include "saver/controls/command/command.h"

namespace tremblix {
namespace {

// Only plain RGB colours are taken; anything in the high byte is refused.
bool IsPlainColour(uint32_t colour) { return (colour >> 24) == 0; }

}  // namespace

FontSpec DesignFont() {
  FontSpec font;
  font.name = "ＭＳ Ｐゴシック";
  font.size = 9.75;
  font.weight = 400;
  font.charset = 128;  // Shift-JIS
  return font;
}

void Command::Initialize() {
  Handle(ButtonEvent::Initialize);
  StartMouseTimer();
}

bool Command::Enabled() {
  if (fields_.FirstRun == 0) {
    RefreshLook();
    fields_.FirstRun = 1;
    SetIsEnabled(true);
  }
  const bool result = fields_.IsEnabled;
  ShowEnabledLook();
  return result;
}

void Command::SetEnabled(bool value) {
  SetIsEnabled(value);
  PropertyChanged("Enabled");
  ShowEnabledLook();
}

void Command::SetCaption(const std::string& value) {
  caption_.text = value;
  Present();
  PropertyChanged("Caption");
}

void Command::SetFont(const FontSpec& value) {
  caption_.font = value;
  Present();
  PropertyChanged("Font");
}

uint32_t Command::FontColour() {
  const uint32_t result = caption_.colour;
  RefreshLook();
  return result;
}

void Command::SetFontColour(uint32_t value) {
  if (!IsPlainColour(value)) {
    RefreshLook();
    return;
  }
  caption_.colour = value;
  RefreshLook();
  Present();
  PropertyChanged("FontColour");
}

uint8_t Command::Visible() {
  if (back_style_ == 0) return 0;
  RefreshLook();
  return 255;
}

void Command::SetVisible(uint8_t value) {
  if (value != 0) {
    back_style_ = 1;
    RefreshLook();
  } else {
    back_style_ = 0;
  }
  Present();
  PropertyChanged("Visible");
}

void Command::ReadProperties(const PropertyRecord& record, const FontSpec& ambient_font) {
  SetIsEnabled(record.Read<bool>("Enabled", true));
  caption_.text = record.Read<std::string>("Caption", kDefaultCaption);
  caption_.font = record.Read<FontSpec>("Font", ambient_font);
  fields_.FirstRun = record.Read<uint8_t>("FirstRun", 1);
  // A colour the caption cannot take leaves the one it has.
  const auto colour = static_cast<uint32_t>(record.Read<int32_t>("FontColour", 0));
  if (IsPlainColour(colour)) caption_.colour = colour;
  // The background is either opaque or transparent; any non-zero style is opaque.
  back_style_ = record.Read<int16_t>("Visible", 1) != 0 ? 1 : 0;
  Present();
  RefreshLook();
}

void Command::WriteProperties(PropertyRecord& record, const FontSpec& ambient_font) {
  record.Write<bool>("Enabled", fields_.IsEnabled, true);
  record.Write<std::string>("Caption", caption_.text, kDefaultCaption);
  record.Write<uint8_t>("FirstRun", fields_.FirstRun, 1);
  record.Write<FontSpec>("Font", caption_.font, ambient_font);
  record.Write<int32_t>("FontColour", static_cast<int32_t>(caption_.colour), 0);
  record.Write<int16_t>("Visible", back_style_, 1);
  RefreshLook();
}

void Command::UserControl_Resize() { ShowEnabledLook(); }

void Command::UserControl_MouseMove() { Handle(ButtonEvent::MouseMove); }

void Command::UserControl_MouseDown(int button) {
  Handle(button == kLeftButton ? ButtonEvent::LeftButtonDown : ButtonEvent::OtherButtonDown);
}

void Command::UserControl_MouseUp(int button) {
  Handle(button == kLeftButton ? ButtonEvent::LeftButtonUp : ButtonEvent::OtherButtonUp);
}

void Command::UserControl_GotFocus() { Handle(ButtonEvent::FocusGained); }

void Command::UserControl_LostFocus() {
  HandleKey(ButtonKeyEvent::FocusLost);
  Handle(ButtonEvent::FocusLost);
}

void Command::UserControl_KeyDown(int key_code) {
  if (key_code == kSpaceKey) HandleKey(ButtonKeyEvent::SpaceDown);
}

void Command::UserControl_KeyUp(int key_code) {
  if (key_code == kSpaceKey) HandleKey(ButtonKeyEvent::SpaceUp);
}

void Command::Press() {
  if (fields_.IsEnabled && Click) Click();
}

void Command::TmrMouse_Timer() {
  if (!PointerOverControl()) PointerLeft();
}

void Command::PointerLeft() { Handle(ButtonEvent::PointerAway); }

void Command::Handle(ButtonEvent event) {
  const ButtonStep step = NextStep(fields_.State, fields_.LeftDown, fields_.IsEnabled, event);
  fields_.State = step.state;
  fields_.LeftDown = step.left_down;
  if (step.face) DrawFace(*step.face);
  if (step.click && Click) Click();
}

void Command::HandleKey(ButtonKeyEvent event) {
  const ButtonKeyStep step =
      NextKeyStep(fields_.State, fields_.SpaceDown, fields_.IsEnabled, event);
  fields_.SpaceDown = step.space_down;
  if (step.face) DrawFace(*step.face);
  if (step.click && Click) Click();
}

void Command::DrawFace(Face face) {
  fields_.InvertGradient = GradientInverted(fields_.State, fields_.InvertGradient);
  last_face_ = face;
  PaintFace(face);
}

void Command::ShowEnabledLook() {
  if (fields_.IsEnabled) {
    DrawFace(Face::Normal);
    SetCaptionEnabled(true);
  } else {
    DrawFace(Face::Disable);
    SetCaptionEnabled(false);
  }
}

void Command::RefreshLook() {
  if (!fields_.IsEnabled) return;
  SetCaptionEnabled(true);
  if (fields_.FirstRun == 0) caption_.colour = 0;
  DrawFace(Face::Normal);
}

void Command::SetIsEnabled(bool value) {
  fields_.IsEnabled = value;
  if (!value) HandleKey(ButtonKeyEvent::Disabled);
  IsEnabledChanged();
}

void Command::SetCaptionEnabled(bool value) {
  if (caption_.enabled == value) return;
  caption_.enabled = value;
  Present();
}

}  // namespace tremblix
