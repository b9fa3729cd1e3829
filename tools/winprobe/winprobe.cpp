// winprobe: looks at windows from inside Wine for the end-to-end tests.
//   winprobe texts TITLE          the window's style, then each child:
//                                 class|style|image or -|text
//   winprobe exists TITLE         exit 0 when a top-level window has that title
//   winprobe hold TITLE SECONDS   keeps a hidden window with that title for a while
//   winprobe host TITLE W H SECONDS [framed]
//                                 shows a window with a W x H client area, as the
//                                 display settings' preview area (borderless) or a
//                                 settings page (framed: a caption and a border),
//                                 and prints its handle as Windows writes it: an
//                                 unsigned decimal
//   winprobe owner TITLE          the handle of the window's owner, 0 for none
//   winprobe enabled TITLE        exit 0 when the window takes input, 5 when it
//                                 is disabled
//   winprobe fits TITLE FONT HEIGHT
//                                 exit 0 when every child window lies inside the
//                                 window's client area and has room for its whole
//                                 text in FONT of HEIGHT pixels (a font is no
//                                 handle another process can use); else names
//                                 each that does not (exit 6)
//   winprobe desktop SECONDS      covers the screen with a made-up desktop (a
//                                 gradient and a few coloured windows), so that
//                                 a photograph of the screen has something to show
//   winprobe press TITLE BUTTON   clicks the child button whose text is BUTTON
//   winprobe close TITLE          asks the window to close
//   winprobe logoff TITLE         tells the window the user logs off, as Windows
//                                 does: WM_QUERYENDSESSION, then WM_ENDSESSION;
//                                 prints the answer to the query (exit 4 when
//                                 it objects)
//   winprobe power TITLE EVENT    delivers a power notice as Windows does: the
//                                 console display "off", "on" or "dimmed" (its
//                                 record written into the window's process),
//                                 or "suspend", "wake" (a wake of its own) and
//                                 "woken" (by a person)
//   winprobe session TITLE EVENT  delivers a session notice as Windows does:
//                                 "lock", "unlock", "disconnect" (from the
//                                 console), "connect" (at the console) or
//                                 "remote" (connected remotely)
//   winprobe client TITLE         the client area on the screen: x y width height
//   winprobe child TITLE CHILD    "x y width height" of the child window titled CHILD,
//                                 in its parent's client area
//   winprobe where TITLE TEXT     the screen point in the middle of the child
//                                 window whose text is TEXT: x y
//   winprobe focus TITLE          the child window that has the keyboard focus
//                                 in the window's thread: class|text
//   winprobe choose TITLE PATH    types PATH as the file name of the file
//                                 chooser titled TITLE and accepts it
//   winprobe glyphs FONT TEXT     exit 0 when the font, or a font linked to it,
//                                 has a glyph for every character of TEXT;
//                                 prints the missing count
//   winprobe codepage             the ANSI and OEM code pages in force: "932 932"
//   winprobe accessible TITLE     each child window's object as a screen reader
//                                 reads it (AccessibleObjectFromWindow, the
//                                 client): name|role|state|default action, the
//                                 role in decimal and the state in hex
//   winprobe act TITLE NAME       performs the default action of the first
//                                 visible object so named (exit 3: none, 4: it
//                                 refused)
//   winprobe monitors             the virtual screen, "virtual LEFT TOP RIGHT BOTTOM",
//                                 then each monitor as Windows lists it:
//                                 "monitor LEFT TOP RIGHT BOTTOM primary|secondary
//                                 HZ DEVICE" (HZ as EnumDisplaySettings says it)
//   winprobe holdfile TITLE PATH SECONDS
//                                 keeps the file open, sharing nothing but
//                                 reading, as a scanner may, and a hidden window
//                                 with that title for a while
//   winprobe ondesktop NAME PROGRAM [ARG]
//                                 starts PROGRAM on a desktop of that name,
//                                 made for it, as Windows starts the saver at
//                                 the idle time; waits for it and exits with
//                                 its code
// Text goes out as UTF-8; exit code 2 means the window was not found.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "saver/common/power_win32.h"
#include "tools/winprobe/file_name_box_win32.h"

#include "tools/preview/made_up_desktop_win32.h"
#include "timing/launch_times_win32.h"

namespace {

void Print(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  bytes += '\n';
  DWORD written;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  return text;
}

std::wstring Hex(DWORD value) {
  wchar_t text[16];
  swprintf(text, 16, L"%08lx", static_cast<unsigned long>(value));
  return text;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t class_name[256] = {};
  GetClassNameW(child, class_name, 256);
  // Whether the control shows a picture (a message box's icon, for one).
  bool image = SendMessageW(child, STM_GETICON, 0, 0) != 0 ||
               SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
  if (_wcsicmp(class_name, L"Static") != 0) image = false;
  Print(std::wstring(class_name) + L"|" + Hex(GetWindowLongW(child, GWL_STYLE)) + L"|" +
        (image ? L"image" : L"-") + L"|" + TextOf(child));
  return TRUE;
}

struct TextSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindByText(HWND child, LPARAM lparam) {
  auto* search = reinterpret_cast<TextSearch*>(lparam);
  if (TextOf(child) != search->text) return TRUE;
  search->found = child;
  return FALSE;
}

// Marks the characters of text that the face has a glyph for.
void MarkGlyphs(const std::wstring& face, const std::wstring& text,
                std::vector<bool>& found, std::wstring* actual_face) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, face.c_str());
  HGDIOBJ old = SelectObject(dc, font);
  if (actual_face) {
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    *actual_face = name;
  }
  std::vector<WORD> indices(text.size());
  GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), indices.data(),
                   GGI_MARK_NONEXISTING_GLYPHS);
  for (size_t i = 0; i < text.size(); ++i) found[i] = found[i] || indices[i] != 0xFFFF;
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

// Characters of text that neither the font nor the fonts linked to it (as
// the system draws a character its font lacks) have a glyph for.
int MissingGlyphs(const wchar_t* font_name, const std::wstring& text) {
  std::vector<bool> found(text.size(), false);
  std::wstring face;
  MarkGlyphs(font_name, text, found, &face);
  wchar_t links[4096] = {};
  DWORD size = sizeof(links) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE,
                   L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink",
                   face.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, links, &size) == ERROR_SUCCESS) {
    for (const wchar_t* link = links; *link; link += wcslen(link) + 1) {
      const wchar_t* comma = wcschr(link, L',');  // "file,face"
      if (comma) MarkGlyphs(comma + 1, text, found, nullptr);
    }
  }
  int missing = 0;
  for (bool f : found) missing += !f;
  return missing;
}

struct FitCheck {
  HWND top;
  HFONT font;
  int misfits;
};

// Whether the child lies inside the top window's client area, and its text,
// drawn in the font, inside the child's client area.
BOOL CALLBACK CheckFit(HWND child, LPARAM lparam) {
  auto* check = reinterpret_cast<FitCheck*>(lparam);
  if (!IsWindowVisible(child)) return TRUE;
  wchar_t class_name[64] = {};
  GetClassNameW(child, class_name, 64);
  const std::wstring name = std::wstring(class_name) + L" '" + TextOf(child) + L"'";
  RECT client, place;
  GetClientRect(check->top, &client);
  GetWindowRect(child, &place);
  MapWindowPoints(nullptr, check->top, reinterpret_cast<POINT*>(&place), 2);
  if (place.left < 0 || place.top < 0 || place.right > client.right ||
      place.bottom > client.bottom) {
    Print(L"outside: " + name);
    ++check->misfits;
  }
  const std::wstring text = TextOf(child);
  // The repeat box and its edit show another font; an empty text cannot be cut.
  if (text.empty() || _wcsicmp(class_name, L"ComboBox") == 0 || _wcsicmp(class_name, L"Edit") == 0)
    return TRUE;
  RECT own;
  GetClientRect(child, &own);
  HDC dc = GetDC(child);
  HGDIOBJ old = SelectObject(dc, check->font);
  RECT needed = {0, 0, own.right, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(child, dc);
  if (needed.right > own.right || needed.bottom > own.bottom) {
    Print(L"cut: " + name + L" needs " + std::to_wstring(needed.right) + L" x " +
          std::to_wstring(needed.bottom) + L", has " + std::to_wstring(own.right) + L" x " +
          std::to_wstring(own.bottom));
    ++check->misfits;
  }
  return TRUE;
}

struct ButtonSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindButton(HWND child, LPARAM lparam) {
  auto* search = reinterpret_cast<ButtonSearch*>(lparam);
  wchar_t class_name[64] = {};
  GetClassNameW(child, class_name, 64);
  if (_wcsicmp(class_name, L"Button") == 0 && TextOf(child) == search->text) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND MakeWindow(const wchar_t* title, DWORD style, int width, int height) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = L"WinprobeWindow";
  RegisterClassW(&wc);
  RECT frame = {0, 0, width, height};
  AdjustWindowRect(&frame, style, FALSE);
  return CreateWindowExW(0, wc.lpszClassName, title, style, 40, 40, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
}

void PaintDesktop(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  PaintMadeUpDesktop(dc, area.right, area.bottom);
  EndPaint(window, &paint);
}

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PaintDesktop(window);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HWND MakeDesktop() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DesktopProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"WinprobeDesktop";
  RegisterClassW(&wc);
  // Over every monitor, so that each has a desktop to photograph.
  return CreateWindowExW(0, wc.lpszClassName, L"Winprobe Desktop", WS_POPUP | WS_VISIBLE,
                         GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                         nullptr, nullptr, wc.hInstance, nullptr);
}

std::wstring Corners(int left, int top, int right, int bottom) {
  return std::to_wstring(left) + L" " + std::to_wstring(top) + L" " + std::to_wstring(right) +
         L" " + std::to_wstring(bottom);
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, RECT*, LPARAM) {
  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  const DWORD hz =
      EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
  const RECT& r = info.rcMonitor;
  Print(L"monitor " + Corners(r.left, r.top, r.right, r.bottom) +
        ((info.dwFlags & MONITORINFOF_PRIMARY) ? L" primary " : L" secondary ") +
        std::to_wstring(hz) + L" " + info.szDevice);
  return TRUE;
}

void PrintMonitors() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  Print(L"virtual " + Corners(left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                              top + GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
}

// Pumps messages for a while, or until the window has gone.
int Keep(HWND window, int seconds) {
  DWORD end = GetTickCount() + seconds * 1000;
  while (GetTickCount() < end && IsWindow(window)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return 0;
}

// The record of a power-setting notice lives in the receiver's memory, as
// Windows puts it there.
bool SendDisplayState(HWND window, DWORD state) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
  if (!process) return false;
  tremblix::PowerSetting record = {};
  record.setting = tremblix::kConsoleDisplayState;
  record.dataLength = sizeof(DWORD);
  std::memcpy(record.data, &state, sizeof(state));
  void* there = VirtualAllocEx(process, nullptr, sizeof(record), MEM_COMMIT, PAGE_READWRITE);
  bool sent = there && WriteProcessMemory(process, there, &record, sizeof(record), nullptr);
  DWORD_PTR ignored = 0;
  sent = sent && SendMessageTimeoutW(window, WM_POWERBROADCAST, tremblix::kPowerSettingChange,
                                     reinterpret_cast<LPARAM>(there), SMTO_NORMAL, 5000, &ignored);
  if (there) VirtualFreeEx(process, there, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent;
}

bool SendPowerNotice(HWND window, const std::wstring& event) {
  if (event == L"off") return SendDisplayState(window, 0);
  if (event == L"on") return SendDisplayState(window, 1);
  if (event == L"dimmed") return SendDisplayState(window, 2);
  WPARAM code = event == L"suspend" ? tremblix::kPowerSuspend
                : event == L"wake"  ? tremblix::kPowerResumeAutomatic
                : event == L"woken" ? tremblix::kPowerResumeByPerson
                                    : 0;
  DWORD_PTR ignored = 0;
  return code && SendMessageTimeoutW(window, WM_POWERBROADCAST, code, 0, SMTO_NORMAL, 5000,
                                     &ignored);
}

// A child window's object, as a screen reader in another process reads it.
struct ReadObject {
  std::wstring name, action;
  long role = 0, state = 0;
};

bool ReadAccessible(HWND hwnd, ReadObject& read, IAccessible** kept = nullptr) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    return false;
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK && text) read.name = text;
  SysFreeString(text);
  text = nullptr;
  if (object->get_accDefaultAction(self, &text) == S_OK && text) read.action = text;
  SysFreeString(text);
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) read.role = value.lVal;
  VariantClear(&value);
  if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) read.state = value.lVal;
  VariantClear(&value);
  // Never released, here or by the callers: the objects go with the probe.
  // Wine's COM, when a reader in another process lets go of the last object
  // of a kind, waits in the program's own thread for the calls to objects of
  // that kind to end, now and then for the very call it runs in (seen under
  // load, a dialog and its reader stuck for good). A reader on Windows lets
  // go as it likes.
  if (kept) *kept = object;
  return true;
}

BOOL CALLBACK PrintAccessible(HWND child, LPARAM) {
  ReadObject read;
  if (!ReadAccessible(child, read)) {
    Print(L"-");
    return TRUE;
  }
  Print(read.name + L"|" + std::to_wstring(read.role) + L"|" + Hex(read.state) + L"|" +
        read.action);
  return TRUE;
}

struct ActSearch {
  const wchar_t* name;
  HRESULT result;
  bool found;
};

BOOL CALLBACK ActOnNamed(HWND child, LPARAM lparam) {
  auto* search = reinterpret_cast<ActSearch*>(lparam);
  ReadObject read;
  IAccessible* object = nullptr;
  if (!ReadAccessible(child, read, &object)) return TRUE;
  if (read.name == search->name && !(read.state & STATE_SYSTEM_INVISIBLE)) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    search->result = object->accDoDefaultAction(self);
    search->found = true;
  }
  return search->found ? FALSE : TRUE;
}

bool SendSessionNotice(HWND window, const std::wstring& event) {
  const WPARAM code = event == L"lock"         ? tremblix::kSessionLock
                      : event == L"unlock"     ? tremblix::kSessionUnlock
                      : event == L"disconnect" ? tremblix::kSessionConsoleDisconnect
                      : event == L"connect"    ? tremblix::kSessionConsoleConnect
                      : event == L"remote"     ? tremblix::kSessionRemoteConnect
                                               : 0;
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  DWORD_PTR ignored = 0;
  return code && SendMessageTimeoutW(window, tremblix::kSessionChangeMessage, code, session,
                                     SMTO_NORMAL, 5000, &ignored);
}

// Windows' own desktop of the saver is of the interactive window station.
int StartOnDesktop(const wchar_t* name, const wchar_t* program, const wchar_t* arg) {
  HDESK desktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (!desktop) return 3;
  std::wstring where = std::wstring(L"WinSta0\\") + name;
  std::wstring command_line = std::wstring(L"\"") + program + L"\" " + arg;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.lpDesktop = where.data();
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 4;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  return static_cast<int>(code);
}

int Probe() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc == 2 && std::wstring(argv[1]) == L"codepage") {
    Print(std::to_wstring(GetACP()) + L" " + std::to_wstring(GetOEMCP()));
    return 0;
  }
  if (argc == 2 && std::wstring(argv[1]) == L"monitors") {
    PrintMonitors();
    return 0;
  }
  if (argc < 3) {
    Print(L"usage: winprobe texts|exists|wait|watch|hold|press|close TITLE [ARG]");
    return 1;
  }
  const std::wstring command = argv[1];
  const wchar_t* title = argv[2];
  if (command == L"ondesktop" && argc > 3) return StartOnDesktop(argv[2], argv[3], argc > 4 ? argv[4] : L"");
  if (command == L"holdfile" && argc > 4) {
    // A 32-bit probe on 64-bit Windows holds the file named, not its twin
    // in the 32-bit system folder.
    using Disable = BOOL(WINAPI*)(PVOID*);
    PVOID redirection = nullptr;
    if (const auto disable = reinterpret_cast<Disable>(reinterpret_cast<void*>(GetProcAddress(
            GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")))) {
      disable(&redirection);
    }
    HANDLE file = CreateFileW(argv[3], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    HWND window = MakeWindow(title, WS_POPUP, 1, 1);
    Print(L"holding");
    return Keep(window, _wtoi(argv[4]));
  }
  if (command == L"hold") {
    HWND window = MakeWindow(title, WS_POPUP, 1, 1);
    Print(L"holding");
    return Keep(window, argc > 3 ? _wtoi(argv[3]) : 5);
  }
  if (command == L"desktop") {
    HWND window = MakeDesktop();
    UpdateWindow(window);
    Print(L"desktop");
    return Keep(window, _wtoi(argv[2]));
  }
  if (command == L"host" && argc > 5) {
    // Borderless and clipping its children, as the display settings' preview
    // area is; or with a caption and a border, as a settings page is.
    const bool framed = argc > 6 && std::wstring(argv[6]) == L"framed";
    const DWORD style = framed ? WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN
                               : WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    HWND window = MakeWindow(title, style, _wtoi(argv[3]), _wtoi(argv[4]));
    // As Windows writes it on the command line: the low 32 bits, unsigned.
    Print(std::to_wstring(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window))));
    return Keep(window, _wtoi(argv[5]));
  }

  if (command == L"glyphs" && argc > 3) {
    const int missing = MissingGlyphs(title, argv[3]);
    Print(std::to_wstring(missing));
    return missing == 0 ? 0 : 3;
  }

  if (command == L"watch") {
    // A window that lives for milliseconds is still seen: looked for every
    // millisecond, from "watching" on, until it is or the time is up.
    const DWORD end = GetTickCount() + (argc > 3 ? _wtoi(argv[3]) : 30) * 1000;
    Print(L"watching");
    while (GetTickCount() < end) {
      if (FindWindowW(nullptr, title)) {
        Print(L"seen");
        return 0;
      }
      Sleep(1);
    }
    return 1;
  }

  if (command == L"wait") {
    // Looked for every 10 ms within one start, rather than one start a look.
    const DWORD end = GetTickCount() + (argc > 3 ? _wtoi(argv[3]) : 10) * 1000;
    while (!FindWindowW(nullptr, title)) {
      if (static_cast<LONG>(GetTickCount() - end) >= 0) return 2;
      Sleep(10);
    }
    return 0;
  }

  HWND window = FindWindowW(nullptr, title);
  if (!window) return 2;
  if (command == L"exists") return 0;
  if (command == L"texts") {
    Print(L"window|" + Hex(GetWindowLongW(window, GWL_STYLE)) + L"|-|" + TextOf(window));
    EnumChildWindows(window, PrintChild, 0);
    return 0;
  }
  if (command == L"accessible" || command == L"act") {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (command == L"accessible") {
      EnumChildWindows(window, PrintAccessible, 0);
      return 0;
    }
    if (argc < 4) return 1;
    ActSearch search = {argv[3], E_FAIL, false};
    EnumChildWindows(window, ActOnNamed, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 3;
    return search.result == S_OK ? 0 : 4;
  }
  if (command == L"owner") {
    Print(std::to_wstring(
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER)))));
    return 0;
  }
  if (command == L"enabled") return IsWindowEnabled(window) ? 0 : 5;
  if (command == L"fits" && argc > 4) {
    HFONT font = CreateFontW(-_wtoi(argv[4]), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, argv[3]);
    FitCheck check = {window, font, 0};
    EnumChildWindows(window, CheckFit, reinterpret_cast<LPARAM>(&check));
    DeleteObject(font);
    return check.misfits == 0 ? 0 : 6;
  }
  if (command == L"press" && argc > 3) {
    ButtonSearch search = {argv[3], nullptr};
    EnumChildWindows(window, FindButton, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 3;
    PostMessageW(search.found, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == L"client") {
    RECT area;
    GetClientRect(window, &area);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    Print(std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y) + L" " +
          std::to_wstring(area.right) + L" " + std::to_wstring(area.bottom));
    return 0;
  }
  if (command == L"child" && argc > 3) {
    HWND child = FindWindowExW(window, nullptr, nullptr, argv[3]);
    if (!child) return 3;
    RECT frame;
    GetWindowRect(child, &frame);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&frame), 2);
    Print(std::to_wstring(frame.left) + L" " + std::to_wstring(frame.top) + L" " +
          std::to_wstring(frame.right - frame.left) + L" " +
          std::to_wstring(frame.bottom - frame.top));
    return 0;
  }
  if (command == L"where" && argc > 3) {
    TextSearch search = {argv[3], nullptr};
    EnumChildWindows(window, FindByText, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 3;
    RECT r;
    GetWindowRect(search.found, &r);
    Print(std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2));
    return 0;
  }
  if (command == L"focus") {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) {
      return 3;
    }
    wchar_t class_name[256] = {};
    GetClassNameW(info.hwndFocus, class_name, 256);
    Print(std::wstring(class_name) + L"|" + TextOf(info.hwndFocus));
    return 0;
  }
  if (command == L"choose" && argc > 3) {
    HWND edit = tremblix::testing::FileNameBox(window);
    if (!edit) return 3;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (command == L"logoff") {
    // Windows waits for each answer a few seconds, then goes on without it.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                             &answer)) {
      return 3;
    }
    Print(L"query answered " + std::to_wstring(answer));
    if (!answer) return 4;
    // A window that ends its program on this message never answers it.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                        &ignored);
    return 0;
  }
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"power" && argc > 3) return SendPowerNotice(window, argv[3]) ? 0 : 3;
  if (command == L"session" && argc > 3) return SendSessionNotice(window, argv[3]) ? 0 : 3;
  return 1;
}

}  // namespace

int main() {
  const int code = Probe();
  tremblix::launch_times::MarkEnd("winprobe", static_cast<unsigned long>(code));
  return code;
}
