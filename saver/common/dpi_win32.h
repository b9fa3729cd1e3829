// Real pixels for both programs: the saver's photograph and the renderer's
// window measure the screen as it is, not as Windows scales it.
#pragma once

namespace tremblix {

// Per-monitor awareness where Windows has it (10 and 8.1), system awareness
// where it does not (Vista to 8), nothing before. Call it before the first
// window or screen measure.
void DeclareDpiAware();

}  // namespace tremblix
