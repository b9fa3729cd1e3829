// Which pictures a full-screen run hands to the renderer. The effect is the
// user's own desktop, reflected; a copy of the screen that failed, or that
// came back one colour from edge to edge, is no photograph of it. Windows
// gives such copies on the desktop of its own where it starts the saver at
// the idle time; there the companion's copy, taken just before, stands in.
// A desktop that truly is one colour is rare, and nothing is lost by taking
// it for a blank copy.
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

#include "saver/run/desktop_copy.h"
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
  kPhotograph,      // the screen as this run photographed it
  kCompanionCopy,   // the companion's copy, taken a moment before Windows switched
  kWallpaper,       // the user's desktop wallpaper, stretched to the screen
  kDesktopColour,   // the desktop's plain colour, edge to edge
};

// The name the times file gives a source.
const char* NameOf(PictureSource source);

// Whether a run on the desktop of this name (its thread's) runs on the
// user's own: "Default", in any case. Windows starts the saver at the idle
// time on a desktop of its own ("Screen-saver"), where a copy of the screen
// shows only that empty desktop.
bool IsUsersDesktop(std::wstring_view desktop);

// Whether the run copies the screen at all: on the user's desktop only, and
// never for a saver that asks for the password.
bool MayCopyScreen(std::wstring_view desktop, bool secure);

// What a run knows when it chooses a monitor's pictures.
struct PictureFacts {
  std::wstring desktop;                      // the run's thread's
  bool secure = false;
  bool photograph_shows_desktop = false;     // this run's own copy, not blank
  CopyState companion = CopyState::kAbsent;  // the companion's copy
  bool copy_of_present_monitors = false;     // the copy is of the monitors there are now
};

// The sources to try, best first. Pictures an earlier run left are never
// among them: they show the desktop as it was, perhaps days ago, to whoever
// passes, once the user has been back.
std::vector<PictureSource> PictureSources(const PictureFacts& facts);

// What making one monitor's pictures asks of the platform.
class PictureMaker {
 public:
  virtual ~PictureMaker() = default;
  // Writes picture n (1 to 4) from source, in place only when complete:
  // false when it could not be made (no wallpaper, no memory) or written,
  // and then the earlier picture n is as it was.
  virtual bool Write(PictureSource source, int n) = 0;
  virtual void Remove(int n) = 0;
};

// Tries the sources in order until one gives all of a monitor's pictures
// (1 to count: the primary's four, another monitor's three); returns it, or
// nothing. When none does, every picture this run did not write is removed:
// an earlier one may show an old desktop. Each monitor is judged alone.
std::optional<PictureSource> MakePictures(const PictureFacts& facts, PictureMaker& maker,
                                          int count = 4);

}  // namespace tremblix
