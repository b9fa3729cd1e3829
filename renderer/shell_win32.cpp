// Tremblix.dll: the renderer. One borderless OpenGL window, frames drawn back
// to back, ended by Escape or by closing the window.
#include "renderer/shell_win32.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

#include "renderer/bench_win32.h"
#include "renderer/frame_clock.h"

HDC g_dc = nullptr;
HGLRC g_glrc = nullptr;
int g_clientWidth = 0;
int g_clientHeight = 0;
unsigned char g_keyDown[256] = {};
bool g_escapePressed = false;
bool g_sceneReady = false;
float g_seconds = 0;
float g_frameSeconds = 0;

namespace {

constexpr char kWindowName[] = "Tremblix_VC";
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

tremblix::FrameClock g_clock;

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

void ResizeViewport(int width, int height) {
  glViewport(0, 0, width, height == 0 ? 1 : height);
}

void ReleaseContext() {
  wglMakeCurrent(g_dc, nullptr);
  wglDeleteContext(g_glrc);
}

void StartClock() {
  LARGE_INTEGER value;
  QueryPerformanceFrequency(&value);
  g_clock.frequency = value.QuadPart;
  QueryPerformanceCounter(&value);
  g_clock.start = value.QuadPart;
}

void EscapeExit() {
  g_sceneReady = false;
  ReleaseContext();
  PostQuitMessage(0);
  ShowCursor(TRUE);
}

void FrameStep(HWND hwnd) {
  // Every paint hides the cursor again; the count only falls, so it stays hidden.
  ShowCursor(FALSE);
  if (!g_sceneReady) return;  // left invalid: the paint comes again

  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  g_clock.Tick(now.QuadPart);
  g_seconds = g_clock.seconds;
  g_frameSeconds = g_clock.frameSeconds;

  // Escape is polled here. A tap shorter than a frame, or one made while the
  // pictures were loading, has already come up again: the press is latched.
  if (g_keyDown[VK_ESCAPE] || g_escapePressed) {
    EscapeExit();
    return;
  }
  DrawFrame();
  SwapBuffers(g_dc);
  ValidateRect(hwnd, nullptr);
  tremblix::BenchFrameDrawn();
}

LRESULT CALLBACK RendererWndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      g_dc = GetDC(hwnd);
      ChooseAndSetPixelFormat(g_dc);
      g_glrc = wglCreateContext(g_dc);
      wglMakeCurrent(g_dc, g_glrc);
      return 0;
    case WM_DESTROY:
      ReleaseContext();
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      g_clientWidth = LOWORD(lparam);
      g_clientHeight = HIWORD(lparam);
      ResizeViewport(g_clientWidth, g_clientHeight);
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

void DebugTrace(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  OutputDebugStringA(buffer);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tremblix::BenchStarted();
  PreloadScene();
  g_sceneReady = false;

  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  wc.lpfnWndProc = RendererWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowName;
  if (!RegisterClassA(&wc)) return 0;

  // CW_USEDEFAULT places a pop-up window at (0, 0); the size is fixed
  // whatever the screen.
  HWND hwnd = CreateWindowExA(0, kWindowName, kWindowName,
                              WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, kWindowWidth, kWindowHeight, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) return 0;
  tremblix::BenchWindowMade();
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  tremblix::BenchWindowShown();

  // Started before the set-up, so the first frame's time includes the loading.
  StartClock();
  if (!InitScene()) return 0;
  g_sceneReady = true;

  // Frames follow one another with no pause: whenever the queue is empty the
  // window is invalidated, and its paint comes after any input.
  MSG msg = {};  // an empty queue leaves it untouched
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (msg.message != WM_QUIT) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      InvalidateRect(hwnd, nullptr, FALSE);
    }
  }
  g_sceneReady = false;
  return static_cast<int>(msg.wParam);
}
