// Measuring points of the benchmark build of the renderer. In the shipping
// program they are empty and cost nothing.
#pragma once

namespace tremblix {

#ifdef TREMBLIX_BENCHMARK
void BenchFrameDrawn();
void BenchTextureLoaded(const char* file, double milliseconds);
#else
inline void BenchFrameDrawn() {}
inline void BenchTextureLoaded(const char*, double) {}
#endif

}  // namespace tremblix
