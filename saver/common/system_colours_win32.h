// Whether Windows' high contrast is on and the colours of its scheme, behind
// a seam a test can replace: Windows under test reports it off.
#pragma once

#include <windows.h>

#include "saver/common/system_colour.h"

namespace tremblix {

class SystemColours {
 public:
  virtual ~SystemColours() = default;
  virtual bool HighContrastOn() = 0;
  virtual COLORREF Colour(SystemColour which) = 0;
};

// SPI_GETHIGHCONTRAST and GetSysColor.
SystemColours& PlatformSystemColours();

}  // namespace tremblix
