// The benchmark build of the renderer: the same shell and scene, which print
// the time from process start to the first frame, each texture load, and the
// frame rate over a few seconds, then end.
#include "renderer/bench_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace tremblix {

namespace {

double MillisecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (ticks(now) - ticks(created)) / 10000.0;
}

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / frequency.QuadPart;
}

int g_frames = 0;
double g_firstFrame = 0;

}  // namespace

void BenchTextureLoaded(const char* file, double milliseconds) {
  std::printf("texture %s: %.1f ms\n", file, milliseconds);
}

void BenchFrameDrawn() {
  if (g_frames++ == 0) {
    std::printf("process start to first frame: %.1f ms\n", MillisecondsSinceProcessStart());
    g_firstFrame = Now();
    return;
  }
  const char* seconds_text = std::getenv("TREMBLIX_BENCH_SECONDS");
  const double seconds = seconds_text ? std::atof(seconds_text) : 5.0;
  const double elapsed = Now() - g_firstFrame;
  if (elapsed >= seconds) {
    std::printf("frames per second: %.1f (%d frames in %.2f s)\n", (g_frames - 1) / elapsed,
                g_frames - 1, elapsed);
    std::fflush(stdout);
    PostQuitMessage(0);
  }
}

}  // namespace tremblix
