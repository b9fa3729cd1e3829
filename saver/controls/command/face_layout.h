// Where the face picture goes on the button: a frame of eight slices, corners
// unscaled and edges stretched along their length, and the caption's place.
#pragma once

#include <vector>

namespace tremblix {

// Face pictures are 64 x 25 pixels.
inline constexpr int FaceWidth = 960;   // twips
inline constexpr int FaceHeight = 375;  // twips
inline constexpr int kCornerSize = 60;  // twips, 4 pixels
// The caption is one line of the design font high.
inline constexpr int kCaptionHeight = 195;  // twips

struct TwipsRect {
  int x, y, width, height;
  bool operator==(const TwipsRect& other) const {
    return x == other.x && y == other.y && width == other.width && height == other.height;
  }
};

struct Slice {
  TwipsRect source;  // in the face picture
  TwipsRect dest;    // on the button
};

// The slices for a button of this size, in painting order. A slice whose
// figures leave the 16-bit range, or whose size is not positive (a button
// smaller than two corners), is left out.
std::vector<Slice> FaceSlices(int width, int height);

struct PixelArea {
  int x, y, width, height;
  bool operator==(const PixelArea& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

struct PixelSlice {
  PixelArea source;  // in the face picture drawn at this band width
  PixelArea dest;    // on the button
};

// The same eight slices in pixels, for a button of this many pixels and a
// face picture whose every one-pixel band is band pixels wide (BandWidth):
// corners of 4 x band pixels unscaled, edges stretched along their length
// only, so no colour appears that the face lacks. A slice of no size is left
// out.
std::vector<PixelSlice> FaceSlicesInPixels(int width, int height, int band);

// Top of the caption: 10 twips above the exact vertical centre.
double CaptionTop(int height, int caption_height = kCaptionHeight);

}  // namespace tremblix
