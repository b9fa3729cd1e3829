#include "saver/forms/form_win32.h"

#include "timing/launch_times_win32.h"

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

BOOL CALLBACK TellCues(HWND child, LPARAM wparam) {
  SendMessageW(child, WM_UPDATEUISTATE, static_cast<WPARAM>(wparam), 0);
  return TRUE;
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
  switch (message) {
    case WM_CHANGEUISTATE:
      if (asking_platform_) break;
      ChangeCues(wparam, lparam);
      return 0;
    case WM_UPDATEUISTATE:
      if (asking_platform_) break;
      UpdateCues(wparam, lparam);
      return 0;
    case WM_QUERYUISTATE:
      if (asking_platform_) break;
      return cues_;
    case WM_CANCELMODE:
      // The first word a form hears when a modal window of its program
      // disables it, while the focus is still in it.
      KeepFocus();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        KeepFocus();
      } else if (GiveFocusBack()) {
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

// Windows decides first, as documented, and tells the form by
// WM_UPDATEUISTATE where it keeps cues; the form's own rule then gives
// the same answer where Windows keeps none (Wine), and tells every window
// in it.
void Form::ChangeCues(WPARAM wparam, LPARAM lparam) {
  const uint16_t action = LOWORD(wparam), flags = HIWORD(wparam);
  const bool keyboard = action == kCueInitialize && LastInputWasKeyboard();
  const CueRequest request = ResolvedCues({action, flags}, keyboard, CuesAlwaysShown());
  DefWindowProcW(hwnd_, WM_CHANGEUISTATE, wparam, lparam);
  if (ChangedCues(cues_, request) == cues_) return;
  SendMessageW(hwnd_, WM_UPDATEUISTATE, MAKEWPARAM(request.action, request.flags), 0);
}

// Followed from Windows or from the form's own rule alike.
void Form::UpdateCues(WPARAM wparam, LPARAM lparam) {
  cues_ = ChangedCues(cues_, {LOWORD(wparam), HIWORD(wparam)});
  DefWindowProcW(hwnd_, WM_UPDATEUISTATE, wparam, lparam);
  EnumChildWindows(hwnd_, TellCues, static_cast<LPARAM>(wparam));
}

bool Form::CuesAlwaysShown() {
  BOOL always = FALSE;
  return SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) && always;
}

// Windows knows whether the last input came from the keyboard, and tells it
// only through a window's cues: hidden, then initialised, does it show them?
// A platform that keeps no cues (Wine) says no.
bool Form::LastInputWasKeyboard() {
  asking_platform_ = true;
  DefWindowProcW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  const bool keeps = DefWindowProcW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
  DefWindowProcW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  const bool shown = !(DefWindowProcW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  asking_platform_ = false;
  return keeps && shown;
}

void Form::KeepFocus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus)) kept_focus_ = focus;
}

// Active again: the focus stays where it is in the form, or goes back where it
// was, not to the form itself.
bool Form::GiveFocusBack() {
  if (IsChild(hwnd_, GetFocus())) return true;
  if (!kept_focus_ || !IsChild(hwnd_, kept_focus_) || !IsWindowEnabled(kept_focus_)) return false;
  SetFocus(kept_focus_);
  return true;
}

bool IsFormMessage(HWND form, MSG* msg) {
  if (msg->message == WM_KEYDOWN && KeyShowsFocus(static_cast<int>(msg->wParam)) &&
      (msg->hwnd == form || IsChild(form, msg->hwnd))) {
    SendMessageW(form, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  return IsDialogMessageW(form, msg);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    // The form is known from here on, so it hears WM_CREATE too.
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
    form->cues_ = FirstCues(form->CuesAlwaysShown());
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
  SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (form.hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsFormMessage(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void EndProgram() {
  launch_times::MarkEnd("scr", 0);
  ExitProcess(0);
}

}  // namespace tremblix::forms
