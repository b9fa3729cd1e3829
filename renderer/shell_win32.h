// The renderer's process-wide state, owned by the shell and read by the scene.
#pragma once

#include <windows.h>

extern HDC g_dc;                // the window's own DC, kept for its lifetime
extern HGLRC g_glrc;            // current on the one thread for the whole run
extern int g_clientWidth;       // client size from the last WM_SIZE
extern int g_clientHeight;      // as received, 0 included
extern unsigned char g_keyDown[256];
extern bool g_escapePressed;    // an Escape key-down since the start, kept
extern bool g_sceneReady;       // frames are drawn only while this is set
extern float g_seconds;         // from start to the current frame
extern float g_frameSeconds;    // from the previous frame to the current one

// printf-style line to the debugger.
void DebugTrace(const char* format, ...);

// The scene's two doors, and a bell rung at start: the scene begins reading
// its pictures while the window and the context are made.
void PreloadScene();
bool InitScene();
void DrawFrame();
