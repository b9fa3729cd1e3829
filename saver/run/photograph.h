// Which pictures a full-screen run hands to the renderer. The effect is the
// user's own desktop, reflected; a copy of the screen that failed, or that
// came back one colour from edge to edge, is no photograph of it. Windows
// gives such copies where it runs a password-protected saver on a desktop of
// its own. A desktop that truly is one colour is rare, and nothing is lost by
// taking it for a blank copy.
//
// A saver that asks for the password on resume keeps the screen's content
// from whoever walks by: then no photograph, this run's or an earlier one's,
// is left where the renderer reads.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "saver/run/hand_off.h"

namespace tremblix {

// Whether every pixel has the colour of the first (blue, green and red; a
// fourth byte is not looked at). A screen without pixels counts as one colour.
bool IsOneColour(const ScreenPixels& screen);

// Whether the saver asks for the password on resume. Windows' own answer
// (asked) where it gives one; else the values Windows keeps it in, the
// policy's before the user's ("1" on, "0" or nothing off).
bool SaverIsSecure(std::optional<bool> asked, const std::optional<std::wstring>& policy_value,
                   const std::optional<std::wstring>& user_value);

// The files the wallpaper is read from, best first: Windows' own copy of it
// (kept under roaming_app_data; the file it names may be moved, deleted or in
// a format only Windows reads), then that file. None when the desktop has no
// picture (named empty), whatever copy an earlier wallpaper left.
std::vector<std::wstring> WallpaperFiles(std::wstring_view named,
                                         std::wstring_view roaming_app_data);

enum class PictureSource {
  kPhotograph,       // the screen as photographed
  kEarlierPictures,  // the four pictures an earlier run left, kept as they are
  kWallpaper,        // the user's desktop wallpaper, stretched to the screen
  kDesktopColour,    // the desktop's plain colour, edge to edge
};

// The sources to try, best first.
std::vector<PictureSource> PictureSources(bool secure, bool photograph_shows_desktop);

// What making one monitor's pictures asks of the platform.
class PictureMaker {
 public:
  virtual ~PictureMaker() = default;
  // Whether the monitor's earlier pictures are all there (for another
  // monitor than the primary, of its size too).
  virtual bool EarlierPicturesThere() = 0;
  // Writes picture n (1 to 4) from source, in place only when complete:
  // false when it could not be made (no wallpaper, no memory) or written,
  // and then the earlier picture n is as it was.
  virtual bool Write(PictureSource source, int n) = 0;
  virtual void Remove(int n) = 0;
};

// Tries the sources in order until one gives all of a monitor's pictures
// (1 to count: the primary's four, another monitor's three); returns it, or
// nothing. When none does and the saver is secure, every picture this run
// did not write is removed: an earlier one may be a photograph. Each
// monitor's copy of the screen is judged alone.
std::optional<PictureSource> MakePictures(bool secure, bool photograph_shows_desktop,
                                          PictureMaker& maker, int count = 4);

}  // namespace tremblix
