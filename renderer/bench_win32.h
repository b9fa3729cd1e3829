// Measuring points of the renderer. Every build writes launch timestamps when
// TREMBLIX_TIMES asks for them (timing/launch_times_win32.h); the benchmark
// build also prints its start-up time, each texture load and the frame rate,
// then ends.
#pragma once

namespace tremblix {

// Where one texture's load went, in milliseconds.
struct TextureTimes {
  double read = 0;    // the file into memory
  double chain = 0;   // the mipmap chain
  double wait = 0;    // for a worker still reading or building
  double upload = 0;  // every level into OpenGL
};

void BenchStarted();
void BenchWindowMade();  // with its OpenGL context
void BenchWindowShown();
void BenchTextureLoaded(const char* file, const TextureTimes& times);
void BenchFrameDrawn();

}  // namespace tremblix
