// A small window layer for the screen-saver program's forms: a window with a
// caption and a handler, a count of the forms that are loaded, and the end of
// the program.
#pragma once

#include <windows.h>

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
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

int LoadedForms();

// Pumps messages until the last form has gone, then ends the program.
[[noreturn]] void RunUntilLastFormUnloaded();

// Shows a form modally: other windows of the program are disabled until the
// form is unloaded.
void ShowModal(Form& form);

// Terminates the process at once; no form hears of it.
[[noreturn]] void EndProgram();

}  // namespace tremblix::forms
