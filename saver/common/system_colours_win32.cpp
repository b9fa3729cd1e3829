#include "saver/common/system_colours_win32.h"

namespace tremblix {
namespace {

class PlatformColours : public SystemColours {
 public:
  bool HighContrastOn() override {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
  }
  COLORREF Colour(SystemColour which) override {
    switch (which) {
      case SystemColour::kWindow: return GetSysColor(COLOR_WINDOW);
      case SystemColour::kWindowText: return GetSysColor(COLOR_WINDOWTEXT);
      case SystemColour::kButtonFace: return GetSysColor(COLOR_BTNFACE);
      case SystemColour::kButtonText: return GetSysColor(COLOR_BTNTEXT);
      case SystemColour::kHighlight: return GetSysColor(COLOR_HIGHLIGHT);
      case SystemColour::kHighlightText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
      case SystemColour::kHotLight: return GetSysColor(COLOR_HOTLIGHT);
      case SystemColour::kGrayText: return GetSysColor(COLOR_GRAYTEXT);
    }
    return GetSysColor(COLOR_WINDOWTEXT);
  }
};

}  // namespace

SystemColours& PlatformSystemColours() {
  static PlatformColours colours;
  return colours;
}

}  // namespace tremblix
