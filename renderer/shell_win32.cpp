// The renderer's shell: the window over every monitor, its OpenGL context, the
// message loop that draws at the display's pace, and the two ways a run ends.
#include "renderer/shell_win32.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "renderer/bench_win32.h"
#include "renderer/frame_clock.h"
#include "renderer/frame_pace.h"
#include "renderer/frame_wait_win32.h"
#include "saver/common/monitors_win32.h"
#include "saver/common/places_win32.h"
#include "saver/common/power_win32.h"
#include "timing/launch_times_win32.h"

HDC g_dc = nullptr;
HGLRC g_glrc = nullptr;
int g_clientWidth = 0;
int g_clientHeight = 0;
unsigned char g_keyDown[256] = {};
bool g_escapePressed = false;
bool g_sceneReady = false;
float g_seconds = 0;
float g_frameSeconds = 0;
tremblix::FrameClock g_clock;

namespace tremblix {

unsigned long g_loopPasses = 0;

namespace {

constexpr char kWindowName[] = "Tremblix_VC";

ScreenLayout g_layout;        // where the window and the scenes are now
std::optional<MonitorsFile> g_monitorsFile;  // the saver's, read once
bool g_monitorsFileRead = false;
PowerWatch g_power;           // nothing is drawn while no one could see it
bool g_paced = true;          // only the benchmark draws unpaced
bool g_swapHeld = false;      // the driver took the swap interval
int64_t g_frameCounts = 1;    // one frame, in counter counts
FrameGrid g_grid;
SwapWatch g_swapWatch;
std::unique_ptr<FrameWait> g_wait;

void ChooseAndSetPixelFormat(HDC dc) {
  static PIXELFORMATDESCRIPTOR descriptor = {};
  static bool filled = false;
  if (!filled) {
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, BITSPIXEL));
    descriptor.cDepthBits = 16;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    filled = true;
  }
  int format = ChoosePixelFormat(dc, &descriptor);
  DebugTrace("PixelFormat Selected: %d\nBPP: %d\n", format, GetDeviceCaps(dc, BITSPIXEL));
  SetPixelFormat(dc, format, &descriptor);
}

// Which OpenGL draws, for whoever reads the times file: Windows' own software
// one says "GDI Generic" and takes a generic pixel format (one without
// PFD_GENERIC_ACCELERATED); a graphics card's driver says its own names.
void MarkWhichOpenGl(HDC dc) {
  if (!launch_times::On()) return;
  const auto text = [](GLenum name) {
    const auto* value = reinterpret_cast<const char*>(glGetString(name));
    return value ? value : "(none)";
  };
  PIXELFORMATDESCRIPTOR format = {};
  const int index = GetPixelFormat(dc);
  const bool described = index > 0 && DescribePixelFormat(dc, index, sizeof(format), &format);
  const bool generic = described && (format.dwFlags & PFD_GENERIC_FORMAT) &&
                       !(format.dwFlags & PFD_GENERIC_ACCELERATED);
  launch_times::Mark("dll opengl vendor \"%s\", renderer \"%s\", version \"%s\", %s",
                     text(GL_VENDOR), text(GL_RENDERER), text(GL_VERSION),
                     !described ? "pixel format unknown"
                     : generic  ? "Windows' generic pixel format (software)"
                                : "the driver's pixel format");
}

// The primary's scene until the scene sets each monitor's own.
void ResizeViewport() {
  const Viewport& v = g_layout.views.front().viewport;
  glViewport(v.x, v.y, v.width, v.height);
}

void ReleaseContext() {
  ReleaseScene();
  wglMakeCurrent(g_dc, nullptr);
  wglDeleteContext(g_glrc);
}

// One frame per refresh, or per n refreshes on a fast display: asked of the
// driver first; our own wait only where frames still come sooner.
void StartPace() {
  const FramePace pace = PaceForRefresh(PrimaryRefreshRate());
  g_paced = !BenchUnpaced();
  g_swapHeld = SetSwapInterval(g_paced ? pace.refreshesPerFrame : 0);
  const double interval = pace.FrameSeconds() * static_cast<double>(g_clock.frequency);
  g_frameCounts = static_cast<int64_t>(interval);
  g_clock.frameCounts = g_frameCounts;
  g_grid.Start(CounterNow(), interval);
  g_swapWatch = SwapWatch(interval);
}

bool OwnWaitNeeded() { return g_paced && (!g_swapHeld || g_swapWatch.FramesComeSooner()); }

// The window over every monitor, a scene on each, the pace of the primary's
// refresh. The window stays the same one, so the saver's watch never misses it.
void FitToScreen(HWND hwnd) {
  LayOutNow();
  const ScreenRect& w = g_layout.window;
  SetWindowPos(hwnd, HWND_TOPMOST, w.left, w.top, w.Width(), w.Height(), SWP_NOACTIVATE);
  ResizeViewport();
  if (g_sceneReady) {
    SetSceneLayout(g_layout);
    StartPace();
  }
}

// Keys must reach the run, not the program under it. Windows lets the window
// come to the front because the saver allowed this process to, before it ran.
void TakeTheKeyboard(HWND hwnd) {
  SetForegroundWindow(hwnd);
  launch_times::Mark("dll foreground %s", GetForegroundWindow() == hwnd ? "yes" : "no");
}

void EscapeExit(HWND hwnd) {
  // The window goes with the process, not destroyed: Windows forgets it first.
  StopSessionNotices(hwnd);
  g_sceneReady = false;
  ReleaseContext();
  PostQuitMessage(0);
  ShowCursor(TRUE);
}

void FrameStep(HWND hwnd) {
  // Every paint hides the cursor again; the count only falls, so it stays hidden.
  ShowCursor(FALSE);
  if (!g_sceneReady) return;  // left invalid: the paint comes again

  // Escape is polled here. A tap shorter than a frame, or one made while the
  // pictures were loading, has already come up again: the press is latched.
  if (g_keyDown[VK_ESCAPE] || g_escapePressed) {
    EscapeExit(hwnd);
    return;
  }
  if (!g_power.SomeoneThere()) {
    // Valid again, or the paint would come back at once and the loop never sleep.
    ValidateRect(hwnd, nullptr);
    return;
  }

  // After the display was off, or a sleep or a stall, the clock takes one
  // frame's step, not the minutes that went by.
  const int64_t now = CounterNow();
  g_clock.Tick(now);
  g_seconds = g_clock.seconds;
  g_frameSeconds = g_clock.frameSeconds;
  g_grid.FrameBegun(now);

  DrawFrame();
  SwapBuffers(g_dc);
  ValidateRect(hwnd, nullptr);
  g_swapWatch.FrameShown(CounterNow());
  BenchFrameDrawn();
}

// The display, sleep: the same rule as the saver's music.
void PowerNotice(WPARAM event, LPARAM data) {
  uint32_t state;
  if (DisplayStateOf(event, data, &state)) {
    g_power.DisplayState(state);
  } else if (event == kPowerSuspend) {
    g_power.Suspending();
  } else if (event == kPowerResumeAutomatic || event == kPowerResumeByPerson) {
    g_power.Resumed(event == kPowerResumeByPerson);
  }
}

LRESULT CALLBACK RendererWndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      g_dc = GetDC(hwnd);
      ChooseAndSetPixelFormat(g_dc);
      g_glrc = wglCreateContext(g_dc);
      wglMakeCurrent(g_dc, g_glrc);
      MarkWhichOpenGl(g_dc);
      return 0;
    case WM_DESTROY:
      StopSessionNotices(hwnd);
      ReleaseContext();
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      g_clientWidth = LOWORD(lparam);
      g_clientHeight = HIWORD(lparam);
      ResizeViewport();
      return 0;
    case WM_DISPLAYCHANGE:
      FitToScreen(hwnd);
      return 0;
    case WM_POWERBROADCAST:
      PowerNotice(wparam, lparam);
      return TRUE;
    case kSessionChangeMessage:
      g_power.SessionChanged(wparam);
      return 0;
    case WM_PAINT:
      FrameStep(hwnd);
      return 0;
    case WM_KEYDOWN:
      g_keyDown[wparam & 0xFF] = 1;
      if ((wparam & 0xFF) == VK_ESCAPE) g_escapePressed = true;
      return 0;
    case WM_KEYUP:
      g_keyDown[wparam & 0xFF] = 0;
      return 0;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

std::vector<Monitor> (*g_listMonitors)() = ListMonitors;

const ScreenLayout& LayOutNow() {
  if (!g_monitorsFileRead) {
    g_monitorsFile = ReadMonitorsFile(PictureFolderOfThisUser(false));
    g_monitorsFileRead = true;
  }
  g_layout = LayOutScreen(g_listMonitors(), g_monitorsFile);
  return g_layout;
}

HWND CreateRendererWindow(HINSTANCE instance) {
  g_sceneReady = false;
  g_escapePressed = false;
  std::memset(g_keyDown, 0, sizeof(g_keyDown));
  g_power = PowerWatch();

  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  wc.lpfnWndProc = RendererWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowName;
  if (!RegisterClassA(&wc)) return nullptr;

  // Every monitor, above every other window and the taskbar.
  if (g_layout.views.empty()) LayOutNow();
  const ScreenRect& w = g_layout.window;
  HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, kWindowName, kWindowName,
                              WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, w.left, w.top,
                              w.Width(), w.Height(), nullptr, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  BenchWindowMade();
  NotifyDisplayState(hwnd);
  NotifySessionChanges(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  TakeTheKeyboard(hwnd);
  BenchWindowShown();
  return hwnd;
}

bool StartScene(HWND) {
  // Started before the set-up, so the first frame's time includes the loading.
  LARGE_INTEGER value;
  QueryPerformanceFrequency(&value);
  g_clock = FrameClock();
  g_clock.frequency = value.QuadPart;
  g_clock.start = g_clock.last = CounterNow();
  if (!InitScene(g_layout)) return false;
  g_wait = std::make_unique<FrameWait>(g_clock.frequency);
  StartPace();
  g_sceneReady = true;
  return true;
}

int RunMessageLoop(HWND hwnd) {
  // Input and other messages always come first. With the queue empty the
  // window is invalidated when the next frame is due, and its paint draws it.
  MSG msg = {};  // an empty queue leaves it untouched
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (msg.message != WM_QUIT) {
    ++g_loopPasses;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    const bool ending = g_keyDown[VK_ESCAPE] || g_escapePressed;
    if (!ending && !g_power.SomeoneThere()) {
      WaitForMessage();
      continue;
    }
    if (!ending && OwnWaitNeeded() && CounterNow() < g_grid.Due()) {
      g_wait->UntilOrMessage(g_grid.Due());
      continue;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  g_sceneReady = false;
  g_wait.reset();
  return static_cast<int>(msg.wParam);
}

}  // namespace tremblix

void DebugTrace(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  OutputDebugStringA(buffer);
}
