#include "saver/settings/dialog_accessibility.h"

#include "saver/settings/settings_dialog.h"

namespace tremblix {
namespace {

namespace s = accessible_state;

constexpr char kPress[] = "押す";
constexpr char kChoose[] = "選ぶ";
constexpr char kTurnOver[] = "切り替える";
constexpr char kOpen[] = "開く";

bool IsButton(std::optional<DialogControl> control) {
  return control == DialogControl::kFileButton || control == DialogControl::kSave ||
         control == DialogControl::kCancel;
}

// As Windows' push buttons: the one with the focus is the default, and 設定
// while no button has it.
bool IsDefault(DialogControl button, const DialogView& view) {
  if (IsButton(view.focused)) return view.focused == button;
  return button == DialogControl::kSave;
}

AccessibleProperties Button(DialogControl control, std::string name, bool enabled,
                            const DialogView& view) {
  uint32_t state = enabled ? s::kFocusable : s::kUnavailable;
  if (enabled && IsDefault(control, view)) state |= s::kDefault;
  // No action a reader could take on a button that takes none.
  return {AccessibleRole::kPushButton, std::move(name), "", state, enabled ? kPress : ""};
}

AccessibleProperties Kind(int16_t index, const DialogView& view) {
  const uint32_t state = s::kFocusable | (view.kind == index ? s::kChecked : 0);
  return {AccessibleRole::kRadioButton, kKindCaptions[index], "", state, kChoose};
}

AccessibleProperties Text(std::string name) {
  return {AccessibleRole::kStaticText, std::move(name), "", s::kReadOnly, ""};
}

}  // namespace

AccessibleProperties AccessiblePropertiesOf(DialogControl control, const DialogView& view) {
  AccessibleProperties p{};
  switch (control) {
    case DialogControl::kKindNone: p = Kind(kBgmNone, view); break;
    case DialogControl::kKindCd: p = Kind(kBgmCd, view); break;
    case DialogControl::kKindFile: p = Kind(kBgmFile, view); break;
    case DialogControl::kHeading: p = Text("BGM"); break;
    case DialogControl::kRepeatCaption: p = Text(kRepeatCaption); break;
    case DialogControl::kFileLabel: p = Text(view.file_path); break;
    case DialogControl::kRepeat:
      // The box's own object tells the rest.
      p = {AccessibleRole::kComboBox, kRepeatCaption, "", 0, ""};
      break;
    case DialogControl::kFileButton:
      p = Button(control, kFileButtonName, view.file_button_enabled, view);
      break;
    case DialogControl::kSave: p = Button(control, "設定", true, view); break;
    case DialogControl::kCancel: p = Button(control, "ｷｬﾝｾﾙ", true, view); break;
    case DialogControl::kMonitors:
      p = {AccessibleRole::kCheckBox, kMonitorsCaption, "",
           s::kFocusable | (view.all_monitors ? s::kChecked : 0), kTurnOver};
      break;
    case DialogControl::kHomePage:
      p = {AccessibleRole::kLink, kHomePage, kHomePage, s::kFocusable | s::kLinked, kOpen};
      break;
  }
  if (view.focused == control && (p.state & s::kFocusable)) p.state |= s::kFocused;
  return p;
}

}  // namespace tremblix
