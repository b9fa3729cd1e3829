// Where everything of the settings dialog stands, in twips as designed. The
// window code turns them into pixels through saver/common/twips.h.
#pragma once

#include <cstdint>

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

// Loading's placement: centred across the screen, at a third of the free
// height. All values in twips; differences rounded, divisions truncated.
TwipsPoint DialogPlacement(double screen_width, double screen_height, double window_width,
                           double window_height);

}  // namespace tremblix
