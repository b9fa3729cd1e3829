#include "saver/companion/companion_win32.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "saver/common/dpi_win32.h"
#include "saver/common/monitors.h"
#include "saver/common/monitors_win32.h"
#include "saver/common/power.h"
#include "saver/common/power_win32.h"
#include "saver/companion/companion.h"
#include "saver/run/capture_win32.h"
#include "saver/run/desktop_copy_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Tremblix.Companion";
constexpr wchar_t kClassName[] = L"Tremblix_Companion";
constexpr wchar_t kUserKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";

// A value as Windows reads it: the policy's before the user's.
std::wstring SaverValue(const wchar_t* name) {
  for (const wchar_t* key : {kPolicyKey, kUserKey}) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
      continue;
    }
    wchar_t value[MAX_PATH] = {};
    DWORD type = 0, size = sizeof(value) - sizeof(wchar_t);
    const LONG result =
        RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) return value;
  }
  return L"";
}

// A key watched for any change of its values: the key itself, or where it
// is not there (no policy set), the nearest of its parents up to
// Software\Policies, with all below it; never a key that changes all day.
class KeyWatch {
 public:
  KeyWatch(const wchar_t* path, size_t highest)
      : path_(path), highest_(highest), event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    Arm();
  }
  ~KeyWatch() {
    if (key_) RegCloseKey(key_);
    CloseHandle(event_);
  }
  HANDLE event() const { return event_; }
  // Each notice is asked for once: after the event, again, on the key itself
  // once it has been made.
  void Arm() {
    if (!key_ || !whole_) {
      // A key closed signals its event: that is no change.
      if (key_) RegCloseKey(key_);
      key_ = nullptr;
      std::wstring path = path_;
      while (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_NOTIFY, &key_) != ERROR_SUCCESS) {
        key_ = nullptr;
        const size_t cut = path.rfind(L'\\');
        if (cut == std::wstring::npos || cut < highest_) break;
        path.resize(cut);
      }
      whole_ = path.size() == path_.size();
      ResetEvent(event_);
    }
    if (key_) {
      RegNotifyChangeKeyValue(key_, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                              event_, TRUE);
    }
  }

 private:
  std::wstring path_;
  size_t highest_;  // the length of the highest key it may watch instead
  HANDLE event_;
  HKEY key_ = nullptr;
  bool whole_ = false;
};

class Companion {
 public:
  Companion()
      : user_(kUserKey, std::wstring_view(kUserKey).size()),
        policy_(kPolicyKey, std::wstring_view(L"Software\\Policies").size()) {
    wchar_t path[MAX_PATH] = {}, short_path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    GetShortPathNameW(path, short_path, MAX_PATH);
    path_ = path;
    short_path_ = short_path;
    ReadKeys();
  }

  bool MakeWindow() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &Companion::WindowProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    RegisterClassW(&window_class);
    // Top-level, never shown: a message-only window gets no broadcasts.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    NotifyDisplayState(window_);
    NotifySessionChanges(window_);
    return true;
  }

  void Run() {
    launch_times::Mark("companion started");
    for (;;) {
      const CompanionPlan plan = Look();
      const HANDLE events[] = {user_.event(), policy_.event()};
      const DWORD wait = plan.next_look_ms ? *plan.next_look_ms : INFINITE;
      const DWORD woke = MsgWaitForMultipleObjects(2, events, FALSE, wait, QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0 || woke == WAIT_OBJECT_0 + 1) {
        (woke == WAIT_OBJECT_0 ? user_ : policy_).Arm();
        ReadKeys();
      } else if (woke == WAIT_OBJECT_0 + 2) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
          if (msg.message == WM_QUIT) return;
          DispatchMessageW(&msg);
        }
        if (ending_) return;
      }
    }
  }

  ~Companion() {
    if (window_) {
      StopSessionNotices(window_);
      DestroyWindow(window_);
    }
  }

 private:
  void ReadKeys() {
    active_ = NumberOfText(SaverValue(L"ScreenSaveActive")) != 0;
    timeout_s_ = NumberOfText(SaverValue(L"ScreenSaveTimeOut"));
    chosen_ = NamesThisProgram(SaverValue(L"SCRNSAVE.EXE"), path_, short_path_);
    secure_ = SaverIsSecureNow();
    launch_times::Mark("companion read the keys: active %d, timeout %u s, chosen %d, secure %d",
                       active_, timeout_s_, chosen_, secure_);
  }

  CompanionPlan Look() {
    CompanionFacts f;
    f.last_input = LastInputTick();
    f.now = GetTickCount();
    f.timeout_s = timeout_s_;
    f.active = active_, f.chosen = chosen_, f.secure = secure_;
    f.locked = locked_, f.display_off = display_off_;
    f.input_desktop = ThreadDesktopTakesInput();
    f.copy_held = copy_.held(), f.copy_taken = copy_.taken();
    const CompanionPlan plan = PlanCompanion(f);
    if (plan.action == CompanionAction::kCopy) {
      const double start = launch_times::Now();
      const bool held = copy_.Take(NumberMonitors(ListMonitors()));
      launch_times::Mark("companion copied: %s in %.1f ms, at tick %u, last input at tick %u",
                         held ? "held" : "failed", launch_times::Now() - start, copy_.taken(),
                         f.last_input);
      if (launch_times::On()) launch_times::MarkMemory("companion holds a copy");
    } else if (plan.action == CompanionAction::kDrop) {
      copy_.Drop();
      launch_times::Mark("companion dropped the copy");
    }
    return plan;
  }

  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    uint32_t state = 0;
    switch (message) {
      case WM_SETTINGCHANGE:
        ReadKeys();
        return 0;
      case WM_DISPLAYCHANGE:
        // Of other monitors now.
        copy_.Drop();
        return 0;
      case WM_POWERBROADCAST:
        if (DisplayStateOf(wparam, lparam, &state)) display_off_ = !DisplayIsOn(state);
        if (wparam == kPowerSuspend) display_off_ = true;
        if (wparam == kPowerResumeByPerson) display_off_ = false;
        return TRUE;
      case kSessionChangeMessage:
        if (wparam == kSessionLock || wparam == kSessionConsoleDisconnect ||
            wparam == kSessionRemoteDisconnect) {
          locked_ = true;
        } else if (wparam == kSessionUnlock || wparam == kSessionConsoleConnect ||
                   wparam == kSessionRemoteConnect) {
          locked_ = false;
        }
        return 0;
      case WM_QUERYENDSESSION:
        return TRUE;
      case WM_ENDSESSION:
        if (wparam) ending_ = true;
        return 0;
      case WM_CLOSE:
        ending_ = true;
        return 0;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Companion*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->window_ = hwnd;
    }
    auto* self = reinterpret_cast<Companion*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wparam, lparam)
                : DefWindowProcW(hwnd, message, wparam, lparam);
  }

  KeyWatch user_, policy_;
  std::wstring path_, short_path_;
  HWND window_ = nullptr;
  CopyHolder copy_;
  bool active_ = false, chosen_ = false, secure_ = false;
  uint32_t timeout_s_ = 0;
  bool locked_ = false, display_off_ = false, ending_ = false;
};

}  // namespace

void RunCompanion() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    launch_times::Mark("companion already runs");
    return;
  }
  // Real pixels: its copy's monitors must be the run's.
  DeclareDpiAware();
  Companion companion;
  if (companion.MakeWindow()) companion.Run();
  CloseHandle(mutex);
}

}  // namespace tremblix
