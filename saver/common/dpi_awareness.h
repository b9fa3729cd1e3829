// How the programs ask Windows for their scaling: the ways there are, newest
// first, and which each program takes.
#pragma once

#include <optional>

namespace tremblix {

enum class Awareness {
  kPerMonitorV2,      // SetProcessDpiAwarenessContext, Windows 10 1703 on
  kPerMonitor,        // the same call's version 1, Windows 10 1607 on
  kPerMonitorShcore,  // SetProcessDpiAwareness, Windows 8.1 on
  kSystem,            // SetProcessDPIAware, Vista on
};

// Asks Windows for one way: false where it lacks the call or refuses.
class AwarenessRequests {
 public:
  virtual ~AwarenessRequests() = default;
  virtual bool Declare(Awareness awareness) = 0;
};

// Real pixels, for the photograph and the renderer: per-monitor awareness of
// any version, else the system's. What Windows took; nothing when none.
std::optional<Awareness> DeclareRealPixels(AwarenessRequests& windows);

// The settings dialog: per-monitor v2, with which Windows scales a window's
// frame and common controls, else the system's; never version 1, which
// leaves the frame and the controls at the size they were made.
std::optional<Awareness> DeclareForDialog(AwarenessRequests& windows);

}  // namespace tremblix
