// The renderer's process-wide state, owned by the shell and read by the scene.
#pragma once

#include <windows.h>

#include "renderer/frame_clock.h"
#include "renderer/screen_layout.h"

#include <vector>

extern HDC g_dc;                // the window's own DC, kept for its lifetime
extern HGLRC g_glrc;            // current on the one thread for the whole run
extern int g_clientWidth;       // client size from the last WM_SIZE
extern int g_clientHeight;      // as received, 0 included
extern unsigned char g_keyDown[256];
extern bool g_escapePressed;    // an Escape key-down since the start, kept
extern bool g_sceneReady;       // frames are drawn only while this is set
extern float g_seconds;         // the run's time at the current frame
extern float g_frameSeconds;    // the step from the previous frame, at most one frame
// The clock behind both, which the scene asks for the run's time modulo its
// periods: exact however long the run.
extern tremblix::FrameClock g_clock;

// printf-style line to the debugger.
void DebugTrace(const char* format, ...);

// The scene's doors, and a bell rung at start: the scene begins reading the
// pictures of the layout's monitors while the window and the context are
// made. Each monitor of the layout shows the scene in its own viewport.
void PreloadScene(const tremblix::ScreenLayout& layout);
bool InitScene(const tremblix::ScreenLayout& layout);
// After a change of monitors: the pictures stay those loaded at start.
void SetSceneLayout(const tremblix::ScreenLayout& layout);
void DrawFrame();
// Releases what the scene holds of OpenGL, while the context is still current.
void ReleaseScene();

// The shell's steps, which WinMain takes in this order; a test takes them
// with a scene of its own.
namespace tremblix {

// The monitors as Windows lists them; a test lists its own.
extern std::vector<Monitor> (*g_listMonitors)();

// The window and the scenes over the monitors listed now, with the saver's
// file of picture sets read once at start.
const ScreenLayout& LayOutNow();

// Registers the class and makes the window over every monitor, topmost, with
// its OpenGL context, and shows it. Null when either fails.
HWND CreateRendererWindow(HINSTANCE instance);

// Starts the time base and the pace, and sets the scene up.
bool StartScene(HWND window);

// Frames at the display's pace until the run ends; the WM_QUIT's wParam.
int RunMessageLoop(HWND window);

// Passes of the message loop so far: a test counts them to tell a wait from a poll.
extern unsigned long g_loopPasses;

}  // namespace tremblix
