#include "saver/settings/settings_dialog_win32.h"

#include "saver/forms/form_win32.h"

namespace tremblix {
namespace {

// A stand-in until the dialog is built: it shows its caption for a moment and
// then closes.
class PlaceholderDialog : public forms::Form {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CREATE) SetTimer(hwnd(), 1, 800, nullptr);
    if (message == WM_TIMER) {
      Unload();
      return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
  }
};

}  // namespace

void ShowSettingsDialogModal() {
  PlaceholderDialog dialog;
  if (!dialog.Load(L"<Tremblix>", WS_CAPTION | WS_SYSMENU, 0, 200, 200, 360, 240)) return;
  forms::ShowModal(dialog);
}

}  // namespace tremblix
