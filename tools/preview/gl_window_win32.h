// A plain window with an OpenGL context current on it, for programs that draw
// with the renderer's code outside the renderer (tests, the still picture).
#pragma once

#include <windows.h>

struct GLWindow {
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;  // null when the display has no OpenGL
};

GLWindow OpenGLWindow(const char* name, DWORD style, int width, int height);
void CloseGLWindow(GLWindow& gl);
