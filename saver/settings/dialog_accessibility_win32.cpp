// The settings dialog as a screen reader meets it: one object for each
// control, answered from the window that takes the focus for it.
#include <algorithm>

#include "saver/common/wide_text_win32.h"
#include "saver/settings/settings_dialog_win32.h"

namespace tremblix {
namespace {

RECT PlaceOnScreen(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace

// A kind and the monitors choice are answered by their caption's window,
// the one that takes the focus. Their mark's window stands for the same
// choice: it says so to a reader that points at it, and is left out where a
// reader walks the windows, so that no choice is read twice.
void SettingsDialogWindow::ConnectAccessibility() {
  auto connect = [this](forms::AccessibleAnswer& answer, DialogControl control, HWND window,
                        HWND mark, std::function<void()> action) {
    answer.Connect([this, control, window, mark] { return FactsOf(control, window, mark); },
                   action);
  };
  auto connect_choice = [&](forms::Label& caption, forms::Image& mark, DialogControl control,
                            std::function<void()> action) {
    connect(caption.accessible, control, caption.hwnd(), mark.hwnd(), action);
    connect(mark.accessible, control, caption.hwnd(), mark.hwnd(), action);
    const auto standing = mark.accessible.Describe;
    mark.accessible.Describe = [standing] {
      forms::AccessibleFacts facts = standing();
      facts.state |= accessible_state::kInvisible;
      return facts;
    };
    mark.accessible.stands_for = caption.hwnd();
  };
  const DialogControl kinds[3] = {DialogControl::kKindNone, DialogControl::kKindCd,
                                  DialogControl::kKindFile};
  for (int i = 0; i < 3; ++i) {
    connect_choice(lbl_bgm_[i], img_bgm_[i], kinds[i],
                   [this, i] { rules_.lbl_BGM_MouseDown(static_cast<int16_t>(i)); });
  }
  connect_choice(lbl_monitors_, img_monitors_, DialogControl::kMonitors,
                 [this] { rules_.lbl_Monitors_MouseDown(kLeftButton); });
  auto press = [](CommandWindow& button) {
    return [&button] {
      if (button.fields().IsEnabled && button.Click) button.Click();
    };
  };
  connect(cmd_file_.accessible, DialogControl::kFileButton, cmd_file_.hwnd(), nullptr,
          press(cmd_file_));
  connect(cmd_set_.accessible, DialogControl::kSave, cmd_set_.hwnd(), nullptr, press(cmd_set_));
  connect(cmd_can_.accessible, DialogControl::kCancel, cmd_can_.hwnd(), nullptr, press(cmd_can_));
  connect(lbl_url_.accessible, DialogControl::kHomePage, lbl_url_.hwnd(), nullptr,
          [this] { rules_.lbl_URL_Click(); });
  connect(lbl15_.accessible, DialogControl::kHeading, lbl15_.hwnd(), nullptr, nullptr);
  connect(lbl14_.accessible, DialogControl::kRepeatCaption, lbl14_.hwnd(), nullptr, nullptr);
  connect(lbl_fname_.accessible, DialogControl::kFileLabel, lbl_fname_.hwnd(), nullptr, nullptr);

  // The repeat box is Windows' own, and so is its object: it is named
  // beside it, and so is its edit field, which holds the focus for it.
  const std::wstring repeat = Wide(kRepeatCaption, CP_UTF8);
  for (HWND window : RepeatWindows()) {
    if (window) names_->Name(window, repeat);
  }
}

// Windows keeps the names until they are cleared.
void SettingsDialogWindow::ForgetNames() {
  for (HWND window : RepeatWindows()) {
    if (window) names_->Clear(window);
  }
}

std::array<HWND, 2> SettingsDialogWindow::RepeatWindows() const {
  COMBOBOXINFO box = {};
  box.cbSize = sizeof(box);
  if (!bgm_repeat_ || !GetComboBoxInfo(bgm_repeat_, &box)) return {bgm_repeat_, nullptr};
  return {bgm_repeat_, box.hwndItem};
}

DialogView SettingsDialogWindow::View() {
  DialogView view;
  view.kind = -1;
  for (int i = 0; i < 3; ++i) {
    if (filled_[i]) view.kind = static_cast<int16_t>(i);
  }
  view.all_monitors = monitors_checked_;
  view.file_button_enabled = cmd_file_.fields().IsEnabled;
  view.file_path = Narrow(lbl_fname_.Text(), CP_UTF8);
  view.focused = FocusedControl();
  return view;
}

std::optional<DialogControl> SettingsDialogWindow::FocusedControl() {
  const HWND focus = GetFocus();
  if (!focus) return std::nullopt;
  const DialogControl kinds[3] = {DialogControl::kKindNone, DialogControl::kKindCd,
                                  DialogControl::kKindFile};
  for (int i = 0; i < 3; ++i) {
    if (focus == lbl_bgm_[i].hwnd() || focus == img_bgm_[i].hwnd()) return kinds[i];
  }
  if (focus == lbl_monitors_.hwnd() || focus == img_monitors_.hwnd()) {
    return DialogControl::kMonitors;
  }
  if (focus == cmd_file_.hwnd()) return DialogControl::kFileButton;
  if (focus == cmd_set_.hwnd()) return DialogControl::kSave;
  if (focus == cmd_can_.hwnd()) return DialogControl::kCancel;
  if (focus == lbl_url_.hwnd()) return DialogControl::kHomePage;
  return std::nullopt;
}

// A choice's place covers its mark and its caption.
forms::AccessibleFacts SettingsDialogWindow::FactsOf(DialogControl control, HWND window,
                                                     HWND mark) {
  const AccessibleProperties p = AccessiblePropertiesOf(control, View());
  forms::AccessibleFacts facts;
  facts.role = static_cast<long>(p.role);
  facts.name = Wide(p.name, CP_UTF8);
  facts.value = Wide(p.value, CP_UTF8);
  facts.default_action = Wide(p.default_action, CP_UTF8);
  facts.state = static_cast<long>(p.state);
  facts.location = PlaceOnScreen(window);
  if (mark) {
    const RECT m = PlaceOnScreen(mark);
    facts.location = {std::min(m.left, facts.location.left), std::min(m.top, facts.location.top),
                      std::max(m.right, facts.location.right),
                      std::max(m.bottom, facts.location.bottom)};
  }
  return facts;
}

// Windows sees the marks change as pictures only.
void SettingsDialogWindow::TellChoiceChanged(forms::Label& caption) {
  caption.accessible.StateMayHaveChanged(caption.hwnd());
}

}  // namespace tremblix
