#include "saver/settings/dialog_pictures.h"

#include <algorithm>
#include <cmath>

#include "bitmap/bitmap.h"
#include "saver/settings/bands.h"

namespace tremblix {
namespace {

constexpr Rgb kMarkFrame{128, 128, 128};
constexpr Rgb kMarkInside{255, 255, 255};
constexpr Rgb kMarkBlue{0, 64, 224};

// The hand as drawn: X the black outline, the rest of the inside white. The
// tip of the index finger, (5, 0) here, is the hot spot.
constexpr int kHandLeft = kHandHotSpotX - 5;
constexpr int kHandTop = kHandHotSpotY;
constexpr const char* kHand[] = {
    ".....XX..........",
    "....X..X.........",
    "....X..X.........",
    "....X..X.........",
    "....X..XXX.......",
    "....X..X..XXX....",
    "....X..X..X..XX..",
    ".XX.X..X..X..X.X.",
    "X..XX........X..X",
    "X...X...........X",
    ".X..............X",
    "..X.............X",
    "..X............X.",
    "...X...........X.",
    "...X..........X..",
    "....X.........X..",
    ".....X.......X...",
    ".....X.......X...",
    ".....XXXXXXXXX...",
};
constexpr int kHandRows = sizeof(kHand) / sizeof(kHand[0]);
constexpr int kHandColumns = 17;

char HandArt(int x, int y) {
  x -= kHandLeft;
  y -= kHandTop;
  if (x < 0 || y < 0 || x >= kHandColumns || y >= kHandRows) return '.';
  return kHand[y][x];
}

// Inside the outline: walled in by X on the left and right of the row.
bool InsideHand(int x, int y) {
  int left = x, right = x;
  while (left >= 0 && HandArt(left, y) != 'X') --left;
  while (right < kIconSize && HandArt(right, y) != 'X') ++right;
  if (left < 0 || right >= kIconSize) return false;
  int up = y, down = y;
  while (up >= 0 && HandArt(x, up) != 'X') --up;
  while (down < kIconSize && HandArt(x, down) != 'X') ++down;
  return up >= 0 && down < kIconSize;
}

class Writer {
 public:
  void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void InfoHeader(int width, int height, int bits, uint32_t image_bytes, int colours) {
    U32(40);
    U32(width);
    U32(height);
    U16(1);
    U16(bits);
    U32(0);
    U32(image_bytes);
    U32(kBmp96Dpi);
    U32(kBmp96Dpi);
    U32(colours);
    U32(0);
  }
  std::vector<uint8_t> bytes;
};

// The AND mask of a 32-pixel-wide picture: 1 where the picture is clear.
template <typename Clear>
void AndMask(Writer& out, Clear clear) {
  for (int y = kIconSize - 1; y >= 0; --y) {
    uint32_t bits = 0;
    for (int x = 0; x < kIconSize; ++x) {
      if (clear(x, y)) bits |= 0x80000000u >> x;
    }
    for (int shift = 24; shift >= 0; shift -= 8) out.U8(bits >> shift);
  }
}

// Palette entry i of the icon: the dialog's band colours, c from 0 to 220.
constexpr int kIconShades = 221;

// At (u, v) of the 32 x 32 design, pixel centres at half steps.
int IconShade(double u, double v) {
  // A ball of radius 15 lit from the upper left: bright near the highlight,
  // navy at the rim, like the bands.
  const double dx = u - 16, dy = v - 16;
  const double hx = u - 11, hy = v - 10;
  const double light = std::exp(-(hx * hx + hy * hy) / 40.0);
  const double rim = std::sqrt(dx * dx + dy * dy) / 15.0;
  const double shade = 40 + 180 * light - 40 * rim;
  return static_cast<int>(std::lround(std::fmin(220, std::fmax(0, shade))));
}

bool IconClear(double u, double v) {
  const double dx = u - 16, dy = v - 16;
  return dx * dx + dy * dy > 15.0 * 15.0;
}

int IconShade(int x, int y) { return IconShade(x + 0.5, y + 0.5); }
bool IconClear(int x, int y) { return IconClear(x + 0.5, y + 0.5); }

}  // namespace

Rgb MarkPixel(bool filled, int x, int y) {
  const int edge = std::min(std::min(x, y), std::min(kMarkSize - 1 - x, kMarkSize - 1 - y));
  if (edge == 0) return kMarkFrame;
  if (filled && edge >= 2) return kMarkBlue;
  return kMarkInside;
}

IconPixel TremblixIconPixel(int x, int y) {
  if (IconClear(x, y)) return {true, {0, 0, 0}};
  return {false, DialogBandColour(IconShade(x, y))};
}

HandPixel PointingHandPixel(int x, int y) {
  if (HandArt(x, y) == 'X') return HandPixel::kBlack;
  return InsideHand(x, y) ? HandPixel::kWhite : HandPixel::kClear;
}

Rgb MarkPixelAt(bool filled, int x, int y, int band) {
  return MarkPixel(filled, x / band, y / band);
}

IconPixel TremblixIconPixelAt(int x, int y, int size) {
  const double u = (x + 0.5) * kIconSize / size, v = (y + 0.5) * kIconSize / size;
  if (IconClear(u, v)) return {true, {0, 0, 0}};
  return {false, DialogBandColour(IconShade(u, v))};
}

HandPixel PointingHandPixelAt(int x, int y, int band) {
  return PointingHandPixel(x / band, y / band);
}

std::vector<uint8_t> MarkBmp(bool filled) {
  const BmpImage image =
      DrawBmp(kMarkSize, kMarkSize, [filled](int x, int y) { return MarkPixel(filled, x, y); });
  return EncodeBmp(image, kBmp96Dpi);
}

std::vector<uint8_t> IconIco() {
  constexpr uint32_t kImage = kIconSize * kIconSize + kIconSize * 4;  // colour, mask
  constexpr uint32_t kBytes = 40 + 256 * 4 + kImage;
  Writer out;
  out.U16(0);
  out.U16(1);  // icon
  out.U16(1);
  out.U8(kIconSize);
  out.U8(kIconSize);
  out.U8(0);  // 256 colours
  out.U8(0);
  out.U16(1);
  out.U16(8);
  out.U32(kBytes);
  out.U32(22);
  out.InfoHeader(kIconSize, 2 * kIconSize, 8, kImage, 256);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = DialogBandColour(i < kIconShades ? i : 0);
    out.U8(c.b);
    out.U8(c.g);
    out.U8(c.r);
    out.U8(0);
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; ++x) out.U8(IconClear(x, y) ? 0 : IconShade(x, y));
  }
  AndMask(out, [](int x, int y) { return IconClear(x, y); });
  return out.bytes;
}

std::vector<uint8_t> HandCur() {
  constexpr uint32_t kImage = 2 * kIconSize * 4;  // colour, mask
  constexpr uint32_t kBytes = 40 + 2 * 4 + kImage;
  Writer out;
  out.U16(0);
  out.U16(2);  // cursor
  out.U16(1);
  out.U8(kIconSize);
  out.U8(kIconSize);
  out.U8(2);
  out.U8(0);
  out.U16(kHandHotSpotX);
  out.U16(kHandHotSpotY);
  out.U32(kBytes);
  out.U32(22);
  out.InfoHeader(kIconSize, 2 * kIconSize, 1, kImage, 2);
  out.U32(0x00000000);  // black
  out.U32(0x00FFFFFF);  // white
  for (int y = kIconSize - 1; y >= 0; --y) {
    uint32_t bits = 0;
    for (int x = 0; x < kIconSize; ++x) {
      if (PointingHandPixel(x, y) == HandPixel::kWhite) bits |= 0x80000000u >> x;
    }
    for (int shift = 24; shift >= 0; shift -= 8) out.U8(bits >> shift);
  }
  AndMask(out, [](int x, int y) { return PointingHandPixel(x, y) == HandPixel::kClear; });
  return out.bytes;
}

std::vector<DialogPicture> DialogPictures() {
  return {{"mark_open.bmp", MarkBmp(false)},
          {"mark_filled.bmp", MarkBmp(true)},
          {"tremblix.ico", IconIco()},
          {"hand.cur", HandCur()}};
}

}  // namespace tremblix
