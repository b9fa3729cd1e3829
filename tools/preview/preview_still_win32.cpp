// Renders the preview's still picture from the scene itself: a made-up
// desktop handed over as the full-screen run does, the renderer's own scene
// drawn at one moment of the bounce, shrunk to the preview's size.
//   preview_still OUTPUT.bmp
// tools/make-preview.sh runs it under Wine and stores saver/run/preview.bmp.
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "bitmap/bitmap.h"
#include "renderer/shell_win32.h"
#include "saver/run/capture_win32.h"
#include "tools/preview/gl_window_win32.h"
#include "tools/preview/made_up_desktop_win32.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

// The shell's state, which the scene reads.
HDC g_dc = nullptr;
HGLRC g_glrc = nullptr;
int g_clientWidth = 1024;
int g_clientHeight = 768;
unsigned char g_keyDown[256] = {};
bool g_sceneReady = false;
float g_seconds = 0;
float g_frameSeconds = 0;
tremblix::FrameClock g_clock;

void DebugTrace(const char*, ...) {}

namespace {

constexpr int kScreenWidth = 1280, kScreenHeight = 1024;
constexpr int kStillWidth = 152, kStillHeight = 112;
// Just after a landing: the ball low, flattened and widened.
constexpr int64_t kFramesPerSecond = 60;
constexpr int64_t kMomentFrames = 198;  // 3.30 s

tremblix::BmpImage MadeUpScreen() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kScreenWidth;
  info.bmiHeader.biHeight = kScreenHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, section);
  PaintMadeUpDesktop(dc, kScreenWidth, kScreenHeight);
  GdiFlush();
  tremblix::BmpImage image = tremblix::BlackBmp(kScreenWidth, kScreenHeight);
  memcpy(image.pixels.data(), bits, image.pixels.size());
  DeleteDC(dc);
  DeleteObject(section);
  ReleaseDC(nullptr, screen);
  return image;
}

// Each target pixel is the mean of the source pixels it covers.
tremblix::BmpImage Shrink(const tremblix::BmpImage& from, int width, int height) {
  tremblix::BmpImage to = tremblix::BlackBmp(width, height);
  const size_t from_row = tremblix::BmpRowBytes(from.width, 24);
  const size_t to_row = tremblix::BmpRowBytes(width, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int x0 = x * from.width / width, x1 = (x + 1) * from.width / width;
      int y0 = y * from.height / height, y1 = (y + 1) * from.height / height;
      unsigned sum[3] = {}, count = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx, ++count) {
          for (int c = 0; c < 3; ++c) sum[c] += from.pixels[sy * from_row + sx * 3 + c];
        }
      }
      for (int c = 0; c < 3; ++c) to.pixels[y * to_row + x * 3 + c] = sum[c] / count;
    }
  }
  return to;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_still OUTPUT.bmp\n");
    return 2;
  }
  const tremblix::BmpImage screen = MadeUpScreen();
  tremblix::WriteHandOffPictures(tremblix::PixelsOf(screen));
  const GLWindow gl =
      OpenGLWindow("TremblixStill", WS_POPUP | WS_VISIBLE, g_clientWidth, g_clientHeight);
  g_dc = gl.dc;
  g_glrc = gl.context;
  if (!g_glrc) {
    std::fprintf(stderr, "preview_still: no OpenGL context\n");
    return 1;
  }
  InitScene(tremblix::LayOutScreen({{{0, 0, g_clientWidth, g_clientHeight}, true}}));
  // The squash depends on the frames before, so the whole bounce is played.
  g_clock.frequency = kFramesPerSecond;
  g_clock.frameCounts = 1;
  for (int64_t frame = 0; frame < kMomentFrames; ++frame) {
    g_clock.Tick(frame);
    g_frameSeconds = g_clock.frameSeconds;
    DrawFrame();
  }
  glFinish();
  tremblix::BmpImage frame = tremblix::BlackBmp(g_clientWidth, g_clientHeight);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, g_clientWidth, g_clientHeight, GL_BGR_EXT, GL_UNSIGNED_BYTE,
               frame.pixels.data());
  const std::vector<uint8_t> bytes =
      tremblix::EncodeBmp(Shrink(frame, kStillWidth, kStillHeight));
  FILE* out = std::fopen(argv[1], "wb");
  if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
    std::fprintf(stderr, "preview_still: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fclose(out);
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
