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


AccessibleProperties Button(DialogControl control, std::string name, bool enabled,
                            const DialogView& view) {
  uint32_t state = enabled ? s::kFocusable : s::kUnavailable;
  if (enabled && IsDefaultButton(control, view.focused)) state |= s::kDefault;
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

// Every property but the focus.
AccessibleProperties PropertiesOf(DialogControl control, const DialogView& view) {
  switch (control) {
    case DialogControl::kKindNone: return Kind(kBgmNone, view);
    case DialogControl::kKindCd: return Kind(kBgmCd, view);
    case DialogControl::kKindFile: return Kind(kBgmFile, view);
    case DialogControl::kHeading: return Text("BGM");
    case DialogControl::kRepeatCaption: return Text(kRepeatCaption);
    case DialogControl::kFileLabel: return Text(view.file_path);
    case DialogControl::kFileButton:
      return Button(control, kFileButtonName, view.file_button_enabled, view);
    case DialogControl::kSave: return Button(control, "設定", true, view);
    case DialogControl::kCancel: return Button(control, "ｷｬﾝｾﾙ", true, view);
    case DialogControl::kMonitors:
      return {AccessibleRole::kCheckBox, kMonitorsCaption, "",
              s::kFocusable | (view.all_monitors ? s::kChecked : 0), kTurnOver};
    case DialogControl::kHomePage:
      return {AccessibleRole::kLink, kHomePage, kHomePage, s::kFocusable | s::kLinked, kOpen};
  }
  return Text("");
}

}  // namespace

bool IsDefaultButton(DialogControl button, std::optional<DialogControl> focused) {
  if (IsButton(focused)) return focused == button;
  return button == DialogControl::kSave;
}

AccessibleProperties AccessiblePropertiesOf(DialogControl control, const DialogView& view) {
  AccessibleProperties p = PropertiesOf(control, view);
  if (view.focused == control && (p.state & s::kFocusable)) p.state |= s::kFocused;
  return p;
}

}  // namespace tremblix
