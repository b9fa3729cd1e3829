// The pictures the settings dialog carries: the two choice marks, the window
// icon and the pointing hand over the home-page label. tools/dialoggen writes
// them from these rules into saver/settings/pictures; the program embeds them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "saver/controls/command/face_pictures.h"

namespace tremblix {

inline constexpr int kMarkSize = 12;  // pixels
inline constexpr int kIconSize = 32;
inline constexpr int kHandHotSpotX = 12;
inline constexpr int kHandHotSpotY = 10;

// Img_Ra(0), the open mark, and Img_Ra(1), the filled one.
Rgb MarkPixel(bool filled, int x, int y);

// The icon: a dark mirror ball on a clear ground. Nothing when clear.
struct IconPixel {
  bool clear;
  Rgb colour;
};
IconPixel TremblixIconPixel(int x, int y);

enum class HandPixel { kClear, kBlack, kWhite };
HandPixel PointingHandPixel(int x, int y);

// The same pictures drawn for another dpi. The marks and the hand are drawn
// in one-pixel lines: each becomes band pixels (BandWidth). The icon is a
// shaded ball, drawn afresh at the size Windows asks for (SM_CXICON or
// SM_CXSMICON at that dpi) in the same shades.
Rgb MarkPixelAt(bool filled, int x, int y, int band);
IconPixel TremblixIconPixelAt(int x, int y, int size);
HandPixel PointingHandPixelAt(int x, int y, int band);

std::vector<uint8_t> MarkBmp(bool filled);  // 24-bit bitmap file
std::vector<uint8_t> IconIco();             // 32 x 32, 256 colours
std::vector<uint8_t> HandCur();             // 32 x 32, two colours, hot spot (12, 10)

struct DialogPicture {
  std::string file_name;
  std::vector<uint8_t> bytes;
};
std::vector<DialogPicture> DialogPictures();

}  // namespace tremblix
