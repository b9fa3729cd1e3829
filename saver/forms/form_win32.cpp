#include "saver/forms/form_win32.h"

namespace tremblix::forms {

namespace {

constexpr wchar_t kFormClass[] = L"TremblixForm";
int g_loaded_forms = 0;

bool RegisterFormClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  registered = RegisterClassExW(&wc) != 0;
  return registered;
}

}  // namespace

Form::~Form() { Unload(); }

bool Form::Load(const wchar_t* caption, DWORD style, DWORD ex_style, int x, int y, int width,
                int height, HWND parent) {
  if (hwnd_ || !RegisterFormClass(&Form::WindowProc)) return false;
  return CreateWindowExW(ex_style, kFormClass, caption, style, x, y, width, height, parent,
                         nullptr, GetModuleHandleW(nullptr), this) != nullptr;
}

void Form::Unload() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    // The form is known from here on, so it hears WM_CREATE too.
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
    ++g_loaded_forms;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    LRESULT result = form->HandleMessage(message, wparam, lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    --g_loaded_forms;
    if (g_loaded_forms == 0) PostQuitMessage(0);
    return result;
  }
  return form->HandleMessage(message, wparam, lparam);
}

int LoadedForms() { return g_loaded_forms; }

void RunUntilLastFormUnloaded() {
  MSG msg;
  while (g_loaded_forms > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EndProgram();
}

void ShowModal(Form& form) {
  HWND hwnd = form.hwnd();
  if (!hwnd) return;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (form.hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void EndProgram() { ExitProcess(0); }

}  // namespace tremblix::forms
