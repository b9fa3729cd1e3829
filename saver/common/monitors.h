// Which monitor is which, one rule for both programs: the screen saver
// photographs each monitor into a picture set of that monitor's number, and
// the renderer shows each set on the monitor it was taken from. The saver
// tells the renderer which sets it wrote in a small file of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tremblix {

// A rectangle, right and bottom excluded; rows count downwards.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(const ScreenRect& o) const {
    return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
  }
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const ScreenRect& o) const { return !(*this == o); }
};

// One monitor as Windows lists it, in virtual-screen coordinates (the
// primary's top-left is 0, 0).
struct Monitor {
  ScreenRect rect;
  bool primary = false;
};

// The screen both programs have always assumed, where nothing is known.
constexpr int32_t kFallbackScreenWidth = 1024, kFallbackScreenHeight = 768;

// Picture sets beyond this many monitors are neither written nor read.
constexpr int kMostPictureSets = 16;

// The monitors that get a scene of their own, by number: the primary is
// number 1, the others follow by left edge, then by top edge. Monitors with
// one rectangle (a cloned pair) count once; one lying wholly inside another
// gets none, and where that is the primary, the monitor around it takes its
// place. Empty rectangles count for nothing. With none marked primary, the
// first listed is; with no monitor at all, a 1024 x 768 screen at the origin.
std::vector<ScreenRect> NumberMonitors(const std::vector<Monitor>& monitors);

// The file the saver writes before it starts the renderer: whether the scene
// goes on every monitor, and for each picture set it wrote, its number and
// the rectangle it was taken from. Set 1 is the primary's.
struct PictureSet {
  int number = 1;
  ScreenRect rect;
  bool operator==(const PictureSet& o) const { return number == o.number && rect == o.rect; }
};

struct MonitorsFile {
  bool all_monitors = true;
  std::vector<PictureSet> sets;
};

// "all" or "primary" on the first line, then a line "k left top right bottom"
// for each set.
std::string FormatMonitorsFile(const MonitorsFile& file);

// Nothing for a text that is not such a file in every line, or that names a
// set twice, a number out of range or an empty rectangle: the renderer then
// does as without the file.
std::optional<MonitorsFile> ParseMonitorsFile(std::string_view text);

// The set the renderer shows on monitor number (1 the primary) whose
// rectangle is rect: the primary always shows set 1, as do monitors the file
// has no set of that very rectangle for, and every monitor without a file.
int PictureSetFor(const std::optional<MonitorsFile>& file, int number, const ScreenRect& rect);

}  // namespace tremblix
