// Where everything of the settings dialog stands, in twips as designed, and
// where that puts it in pixels at a display's dots per inch.
#pragma once

#include <cstdint>
#include <optional>

namespace tremblix {

// A control's place on the dialog, in twips from its top-left corner.
struct TwipsBox {
  int left, top, width, height;
};

// The dialog's client area.
inline constexpr int kDialogClientWidth = 7440;
inline constexpr int kDialogClientHeight = 3645;

// On the dialog.
inline constexpr TwipsBox kPic_C{180, 240, 7035, 2475};
inline constexpr TwipsBox kLbl_URL{180, 3120, 3105, 195};
inline constexpr TwipsBox kCmd_Set{4860, 3000, 1155, 375};
inline constexpr TwipsBox kCmd_Can{6060, 3000, 1155, 375};
// The monitors choice, in the strip between the panel (its foot at 2715) and
// the buttons (their top at 3000); the label sizes itself to its text.
inline constexpr TwipsBox kImg_Monitors{300, 2805, 195, 195};
inline constexpr TwipsBox kLbl_Monitors{540, 2790, 1725, 195};

// On the panel Pic_C(0).
inline constexpr TwipsBox kShape3{300, 300, 1695, 315};
inline constexpr TwipsBox kLbl15{300, 360, 1665, 195};
inline constexpr TwipsBox kImg_BGM[3] = {
    {420, 1140, 195, 195}, {420, 840, 195, 195}, {420, 1440, 195, 195}};
inline constexpr TwipsBox kLbl_BGM[3] = {
    {660, 1140, 330, 195}, {660, 840, 645, 195}, {660, 1440, 900, 195}};
inline constexpr TwipsBox kBGM_Repeat{1680, 780, 615, 300};
inline constexpr TwipsBox kLbl14{2340, 840, 990, 195};
inline constexpr TwipsBox kCmd_File{420, 1740, 615, 315};
inline constexpr TwipsBox kLbl_Fname{1080, 1740, 5595, 495};

// Fonts, in points.
inline constexpr double kLabelFontPoints = 9.75;  // "ＭＳ Ｐゴシック", Shift-JIS
inline constexpr double kPanelFontPoints = 8.25;  // "Tahoma", Western

// Colours, 0x00BBGGRR.
inline constexpr uint32_t kDialogBackColour = 0xC0C0C0;
inline constexpr uint32_t kPanelBackColour = 0xE0E0E0;

struct TwipsPoint {
  int32_t left, top;
};

// A place in pixels at one dpi.
struct PixelBox {
  int left, top, width, height;
  bool operator==(const PixelBox& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// The box at this dpi. Its edges are rounded, not its size, so that controls
// that meet in twips meet in pixels at every dpi.
PixelBox PixelsAt(const TwipsBox& box, int dpi);

// The dialog's client area at this dpi, from (0, 0).
PixelBox DialogClientAt(int dpi);

// A font's height in pixels at this dpi (the em height, as a negative
// CreateFont height asks).
int FontPixelsAt(double points, int dpi);

struct ScreenBox {
  int32_t left, top, right, bottom;
};

// The monitor the dialog opens on, in screen pixels, with the dots per inch
// its windows are drawn at there.
struct DialogMonitor {
  ScreenBox rect, work_area;
  int dpi;
};

// How far the window's edges lie outside its client area at that dpi.
struct FrameMargins {
  int left, top, right, bottom;
};

// The dialog's window before it is made, in screen pixels: its client area
// at the monitor's dpi inside its frame, centred over the owner's window
// when it has one, else across the monitor at a third of its free height
// (DialogPlacement); then moved as little as it takes into the monitor's
// work area, its top-left corner kept when it is the larger.
PixelBox PlaceDialog(const std::optional<ScreenBox>& owner, const DialogMonitor& monitor,
                     const FrameMargins& frame);

// Loading's placement: centred across the screen, at a third of the free
// height. All values in twips; differences rounded, divisions truncated.
TwipsPoint DialogPlacement(double screen_width, double screen_height, double window_width,
                           double window_height);

}  // namespace tremblix
