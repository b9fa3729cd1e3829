// A small window layer for the screen-saver program's forms: a window with a
// caption and a handler, a count of the forms that are loaded, the keyboard's
// way through a form, and the end of the program.
#pragma once

#include <windows.h>

#include <cstdint>

#include "saver/forms/keyboard_cues.h"

namespace tremblix::forms {

class Form {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  // Creates the window; a form counts as loaded from here until its window is
  // destroyed.
  bool Load(const wchar_t* caption, DWORD style, DWORD ex_style, int x, int y, int width,
            int height, HWND parent = nullptr);
  void Unload();
  HWND hwnd() const { return hwnd_; }

 protected:
  // Keeps the keyboard cues of the form and of every window in it, and gives
  // the focus back to the control that had it when the form is active again.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // The user's setting to underline and show the focus always
  // (SPI_GETKEYBOARDCUES).
  virtual bool CuesAlwaysShown();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void ChangeCues(WPARAM wparam, LPARAM lparam);
  void UpdateCues(WPARAM wparam, LPARAM lparam);
  bool LastInputWasKeyboard();
  void KeepFocus();
  bool GiveFocusBack();

  HWND hwnd_ = nullptr;
  uint16_t cues_ = kCuesHidden;
  bool asking_platform_ = false;
  HWND kept_focus_ = nullptr;
};

// The dialog handling of a form's message loop: Tab and the arrows first show
// where the focus is, as in the platform's own dialogs; then IsDialogMessage.
bool IsFormMessage(HWND form, MSG* msg);

int LoadedForms();

// Pumps messages until the last form has gone, then ends the program.
[[noreturn]] void RunUntilLastFormUnloaded();

// Shows a form modally: other windows of the program are disabled until the
// form is unloaded. Its keyboard cues show from the start when the keyboard
// opened it.
void ShowModal(Form& form);

// Terminates the process at once; no form hears of it.
[[noreturn]] void EndProgram();

}  // namespace tremblix::forms
