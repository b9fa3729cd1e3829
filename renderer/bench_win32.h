// Measuring points of the renderer. Every build writes launch timestamps when
// TREMBLIX_TIMES asks for them (timing/launch_times_win32.h), one for every
// frame drawn among them; the benchmark build also prints its start-up time,
// each texture load, the frame rate and its processor time, then ends.
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

// Whether to draw as fast as possible: only the benchmark build, and only
// when TREMBLIX_BENCH_UNPACED=1, for the unpaced frame rate. Every other run
// keeps the display's pace.
bool BenchUnpaced();

}  // namespace tremblix
