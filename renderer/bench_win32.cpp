#include "renderer/bench_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "timing/launch_times_win32.h"

namespace tremblix {

namespace {

#ifdef TREMBLIX_BENCHMARK
double g_firstFrame = 0;           // ms
double g_firstFrameProcessor = 0;  // ms
#endif

int g_frames = 0;

}  // namespace

void BenchStarted() {
  launch_times::MarkProcessStart("dll process created");
  launch_times::Mark("dll main");
}

void BenchWindowMade() { launch_times::Mark("dll window and context made"); }

void BenchWindowShown() { launch_times::Mark("dll window shown"); }

void BenchTextureLoaded(const char* file, const TextureTimes& times) {
  launch_times::Mark("dll texture %s: read %.1f ms, chain %.1f ms, wait %.1f ms, upload %.1f ms",
                     file, times.read, times.chain, times.wait, times.upload);
#ifdef TREMBLIX_BENCHMARK
  std::printf("texture %s: read %.1f ms, chain %.1f ms, wait %.1f ms, upload %.1f ms\n", file,
              times.read, times.chain, times.wait, times.upload);
#endif
}

void BenchFrameDrawn() {
  ++g_frames;
  // Every frame is stamped, so that a run can be watched frame by frame.
  launch_times::Mark("dll frame %d", g_frames);
  if (g_frames == 1) {
    launch_times::Mark("dll first frame, processor %.0f ms", launch_times::ProcessorMs());
    launch_times::MarkMemory("dll memory at the first frame");
  }
#ifdef TREMBLIX_BENCHMARK
  if (g_frames == 1) {
    std::printf("process start to first frame: %.1f ms\n", launch_times::ProcessAgeMs());
    g_firstFrame = launch_times::Now();
    g_firstFrameProcessor = launch_times::ProcessorMs();
    return;
  }
  const char* seconds_text = std::getenv("TREMBLIX_BENCH_SECONDS");
  const double seconds = seconds_text ? std::atof(seconds_text) : 5.0;
  const double elapsed = (launch_times::Now() - g_firstFrame) / 1000;
  if (elapsed >= seconds) {
    std::printf("frames per second: %.1f (%d frames in %.2f s)\n", (g_frames - 1) / elapsed,
                g_frames - 1, elapsed);
    std::printf("processor per second of run: %.0f ms\n",
                (launch_times::ProcessorMs() - g_firstFrameProcessor) / elapsed);
    std::fflush(stdout);
    PostQuitMessage(0);
  }
#endif
}

bool BenchUnpaced() {
#ifdef TREMBLIX_BENCHMARK
  const char* unpaced = std::getenv("TREMBLIX_BENCH_UNPACED");
  return unpaced && std::strcmp(unpaced, "1") == 0;
#else
  return false;
#endif
}

}  // namespace tremblix
