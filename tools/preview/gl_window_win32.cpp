#include "tools/preview/gl_window_win32.h"

GLWindow OpenGLWindow(const char* name, DWORD style, int width, int height) {
  WNDCLASSA wc = {};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
  GLWindow gl;
  gl.window = CreateWindowExA(0, name, name, style, 0, 0, width, height, nullptr, nullptr,
                              wc.hInstance, nullptr);
  gl.dc = GetDC(gl.window);
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  SetPixelFormat(gl.dc, ChoosePixelFormat(gl.dc, &pfd), &pfd);
  gl.context = wglCreateContext(gl.dc);
  wglMakeCurrent(gl.dc, gl.context);
  return gl;
}

void CloseGLWindow(GLWindow& gl) {
  wglMakeCurrent(nullptr, nullptr);
  if (gl.context) wglDeleteContext(gl.context);
  ReleaseDC(gl.window, gl.dc);
  DestroyWindow(gl.window);
  gl = GLWindow();
}
