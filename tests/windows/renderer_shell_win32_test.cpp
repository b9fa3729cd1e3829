// The renderer's shell in this process: its real window, message loop and
// window procedure around a scene that only counts its frames. The power
// message carries a pointer, which only reaches a window of its own process.
#include "renderer/shell_win32.h"

#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

#include "saver/common/monitors_win32.h"
#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "renderer/frame_pace.h"
#include "tests/windows/power_notice_win32.h"

// The scene's doors, played by the test.
namespace {
int g_frames = 0;
std::vector<tremblix::ScreenLayout> g_layouts;  // every layout the scene was given
std::function<void()> g_onFrame;
}  // namespace

void PreloadScene(const tremblix::ScreenLayout&) {}
bool InitScene(const tremblix::ScreenLayout& layout) {
  g_layouts.push_back(layout);
  return true;
}
void SetSceneLayout(const tremblix::ScreenLayout& layout) { g_layouts.push_back(layout); }
void ReleaseScene() {}
void DrawFrame() {
  ++g_frames;
  if (g_onFrame) g_onFrame();
}

namespace {

using tremblix::g_loopPasses;

using tremblix::SendDisplayState;

void TapEscape(HWND window) {
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0);
}

RECT VirtualScreen() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Ticks of a thread timer, handled by the loop under test while it runs.
std::function<void(int)> g_onTick;
int g_ticks = 0;
UINT_PTR g_timer = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_onTick) g_onTick(++g_ticks);
}
void StartTicks(UINT ms) {
  g_ticks = 0;
  g_timer = SetTimer(nullptr, 0, ms, Tick);
}
void StopTicks() {
  if (g_timer) KillTimer(nullptr, g_timer);
  g_timer = 0;
}

class RendererShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_frames = 0;
    g_layouts.clear();
    g_onFrame = nullptr;
    g_onTick = nullptr;
    window_ = tremblix::CreateRendererWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr) << "the renderer's window was not made";
    ASSERT_TRUE(tremblix::StartScene(window_));
  }
  void TearDown() override {
    StopTicks();
    if (IsWindow(window_)) DestroyWindow(window_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA("Tremblix_VC", GetModuleHandleA(nullptr));
  }
  HWND window_ = nullptr;
};

TEST_F(RendererShellTest, WindowCoversEveryMonitorAboveOtherWindows) {
  RECT rect;
  GetWindowRect(window_, &rect);
  EXPECT_TRUE(SameRect(rect, VirtualScreen()))
      << "window " << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
  EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(FindWindowA("Tremblix_VC", "Tremblix_VC"), window_);
  // The scene was given the primary monitor first.
  ASSERT_EQ(g_layouts.size(), 1u);
  const tremblix::Viewport& primary = g_layouts[0].views.front().viewport;
  EXPECT_EQ(primary.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(primary.height, GetSystemMetrics(SM_CYSCREEN));
}

// The monitors a display change reports, played by the test: Wine's own list
// does not change while a process runs.
std::vector<tremblix::Monitor> g_desk;
std::vector<tremblix::Monitor> Desk() { return g_desk; }

// The saver's file of picture sets, there before the shell reads it at its
// first layout: set 2 was taken from a monitor right of the primary.
tremblix::ScreenRect RightOfThePrimary() { const int w = GetSystemMetrics(SM_CXSCREEN); return {w, 0, w + 800, 600}; }
struct MonitorsFileOfTheSaver : ::testing::Environment {
  const std::wstring folder = tremblix::PictureFolderOfThisUser(true);
  void SetUp() override { ASSERT_TRUE(tremblix::WriteMonitorsFile(folder, {true, {{2, RightOfThePrimary()}}})); }
  void TearDown() override { DeleteFileW(tremblix::MonitorsFilePath(folder).c_str()); }
};
const auto* const g_monitorsFile = ::testing::AddGlobalTestEnvironment(new MonitorsFileOfTheSaver);

TEST_F(RendererShellTest, AMonitorAddedOrRemovedIsLaidOutAgainInTheSameWindow) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const tremblix::Monitor primary{{0, 0, w, h}, true};
  // A portrait monitor comes to the left of the primary, taller than it, and
  // the one the saver took set 2 from to its right.
  g_desk = {primary, {{-600, 0, 0, h + 200}, false}, {RightOfThePrimary(), false}};
  tremblix::g_listMonitors = Desk;
  SendMessageA(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(w + 1400, h + 200));
  RECT rect;
  GetWindowRect(window_, &rect);
  EXPECT_TRUE(SameRect(rect, {-600, 0, w + 800, h + 200}))
      << "window " << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
  EXPECT_EQ(FindWindowA("Tremblix_VC", "Tremblix_VC"), window_);
  ASSERT_EQ(g_layouts.size(), 2u);
  const std::vector<tremblix::SceneView>& views = g_layouts[1].views;
  ASSERT_EQ(views.size(), 3u);
  EXPECT_EQ(views[0].viewport, (tremblix::Viewport{600, 200, w, h}));
  EXPECT_EQ(views[1].viewport, (tremblix::Viewport{0, 0, 600, h + 200}));
  // The saver's file, read at the start, still gives set 2 to its monitor;
  // the portrait one shows the primary's pictures.
  EXPECT_EQ(views[1].picture_set, 1);
  EXPECT_EQ(views[2].picture_set, 2);
  // Until the scene draws, OpenGL's viewport is the primary's.
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 600);
  EXPECT_EQ(viewport[1], 200);

  // They go again.
  g_desk = {primary};
  SendMessageA(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(w, h));
  GetWindowRect(window_, &rect);
  EXPECT_TRUE(SameRect(rect, {0, 0, w, h}));
  ASSERT_EQ(g_layouts.size(), 3u);
  ASSERT_EQ(g_layouts[2].views.size(), 1u);
  EXPECT_EQ(g_layouts[2].views[0].viewport, (tremblix::Viewport{0, 0, w, h}));
  tremblix::g_listMonitors = tremblix::ListMonitors;

  // And the run goes on.
  g_onFrame = [&] { if (g_frames == 3) TapEscape(window_); };
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(g_frames, 3);
}

TEST_F(RendererShellTest, EscapeTappedBeforeTheFirstFrameEndsTheRunWithoutDrawing) {
  TapEscape(window_);
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(g_frames, 0);
}

TEST_F(RendererShellTest, WaitsBetweenFramesRatherThanPolling) {
  const unsigned long passes = g_loopPasses;
  g_onFrame = [&] { if (g_frames == 30) TapEscape(window_); };
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(g_frames, 30);
  // A frame is a wait, an invalidation and a paint; a poll would be thousands.
  EXPECT_LT(g_loopPasses - passes, 30ul * 8) << "passes of the loop for 30 frames";
}

// The display goes off, the session is locked, the display comes back on:
// the session is still locked.
TEST_F(RendererShellTest, DisplayOffDrawsNothingSleepsAndEscapeStillEnds) {
  unsigned long passes_at_off = 0, passes_while_off = 0;
  g_onFrame = [&] {
    if (g_frames != 3) return;
    SendDisplayState(window_, 0);
    SendMessageW(window_, tremblix::kSessionChangeMessage, tremblix::kSessionLock, 1);
    passes_at_off = g_loopPasses;
    StartTicks(30);
  };
  g_onTick = [&](int tick) {
    // Something uncovers the window, as another window going away does.
    if (tick == 1) InvalidateRect(window_, nullptr, FALSE);
    if (tick == 2) SendDisplayState(window_, 1);
    if (tick < 6) return;
    StopTicks();
    passes_while_off = g_loopPasses - passes_at_off;
    TapEscape(window_);
  };
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(g_frames, 3) << "frames were drawn while the display was off or the session locked";
  EXPECT_GT(passes_while_off, 0ul);
  // Six timer messages and their waits; a poll, or a window left invalid,
  // would be thousands.
  EXPECT_LT(passes_while_off, 40ul) << "passes of the loop while the display was off";
}

TEST_F(RendererShellTest, DimmedDisplayStillDraws) {
  g_onFrame = [&] {
    if (g_frames == 2) SendDisplayState(window_, 2);
    if (g_frames == 5) TapEscape(window_);
  };
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(g_frames, 5);
}

TEST_F(RendererShellTest, AfterTheDisplayComesBackTheStepIsOneFrame) {
  const double frame = tremblix::PaceForRefresh(tremblix::PrimaryRefreshRate()).FrameSeconds();
  float seconds_at_off = 0, step_back = 0, seconds_back = 0;
  int frames_at_on = 0;
  g_onFrame = [&] {
    if (g_frames == 3) {
      seconds_at_off = g_seconds;
      SendDisplayState(window_, 0);
      StartTicks(30);
    } else if (g_frames == 4) {
      step_back = g_frameSeconds;
      seconds_back = g_seconds;
      TapEscape(window_);
    }
  };
  g_onTick = [&](int tick) {
    // Off for longer than the clock takes for a frame.
    if (tick * 30 < tremblix::FrameClock::kGapSeconds * 1000 + 100) return;
    StopTicks();
    frames_at_on = g_frames;
    SendDisplayState(window_, 1);
  };
  EXPECT_EQ(tremblix::RunMessageLoop(window_), 0);
  EXPECT_EQ(frames_at_on, 3) << "frames were drawn while the display was off";
  ASSERT_EQ(g_frames, 4) << "no frame after the display came back";
  EXPECT_NEAR(step_back, frame, 1e-4);
  EXPECT_NEAR(seconds_back, seconds_at_off + frame, 1e-4);
}

}  // namespace
