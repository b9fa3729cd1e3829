#include "saver/run/capture_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "saver/common/monitors.h"
#include "saver/common/monitors_win32.h"
#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "saver/common/wide_text_win32.h"
#include "saver/run/desktop_copy_win32.h"
#include "saver/run/photograph.h"
#include "saver/run/wallpaper_win32.h"
#include "timing/launch_times_win32.h"

// Vista's; MinGW's headers give it only to programs built for Vista on.
#ifndef SPI_GETSCREENSAVESECURE
#define SPI_GETSCREENSAVESECURE 0x0076
#endif

namespace tremblix {

namespace {

// A text value of the user's, or nothing when it is not there.
std::optional<std::wstring> UserText(const wchar_t* key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t value[64] = {};
  DWORD type = 0, size = sizeof(value) - sizeof(wchar_t);
  const LONG result =
      RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  return std::wstring(value);
}

std::vector<std::wstring> WallpaperFilesNow() {
  wchar_t named[MAX_PATH] = {};
  if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, named, 0)) named[0] = L'\0';
  return WallpaperFiles(named, KnownFolder(CSIDL_APPDATA));
}

// The replaced picture is kept as the next run's temporary file: writing over
// a file of the right size is several times faster than growing a new one.
bool PutInPlace(const std::wstring& folder, int set, int n, const std::wstring& temp) {
  const std::wstring path = PicturePath(folder, set, n),
                     backup = PictureBackupPath(folder, set, n);
  if (ReplaceFileW(path.c_str(), temp.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                   nullptr, nullptr)) {
    MoveFileExW(backup.c_str(), temp.c_str(), MOVEFILE_REPLACE_EXISTING);
    return true;
  }
  // The first run: there is nothing to replace.
  return MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

// Picture n of a set written whole into its temporary file, then put in
// place; a write that fails leaves the earlier picture and no temporary file.
bool WritePictureFile(const std::wstring& folder, int set, int n,
                      const std::vector<uint8_t>& bytes) {
  const std::wstring temp = PictureTempPath(folder, set, n);
  const bool ok = WriteWholeFile(temp, bytes.data(), bytes.size()) &&
                  PutInPlace(folder, set, n, temp);
  if (!ok) DeleteFileW(temp.c_str());
  if (ok) launch_times::Mark("scr wrote %s", Narrow(PictureName(set, n), CP_UTF8).c_str());
  return ok;
}

// Every file of the sets past count (a picture, or its temporary or replaced
// file): their monitors are gone, or the primary alone is shown.
void RemoveSetsPast(const std::wstring& folder, size_t count) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\Tremblix-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::optional<int> set = PictureSetOfFile(found.cFileName);
    if (set && static_cast<size_t>(*set) > count) {
      DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// One monitor's pictures in a folder (the primary's four, another's three),
// made from its photograph, the wallpaper or the desktop's colour; each file
// is made in one buffer kept for the next.
class Win32PictureMaker : public PictureMaker {
 public:
  Win32PictureMaker(std::wstring folder, int set, int width, int height,
                    const ScreenSection* photograph, ScreenPixels companion)
      : folder_(std::move(folder)),
        set_(set),
        width_(width),
        height_(height),
        photograph_(photograph),
        companion_(companion) {}

  int count() const { return set_ == 1 ? kBlackFile : kBlackFile - 1; }

  bool Write(PictureSource source, int n) override {
    try {
      if (n == kBlackFile) return WritePictureFile(folder_, set_, n, BlackHandOffFile());
      const std::optional<ScreenPixels> screen = PixelsOf(source);
      if (!screen) return false;
      MakeHandOffFile(*screen, kScreenFiles[n - 1].view, bytes_);
      return WritePictureFile(folder_, set_, n, bytes_);
    } catch (const std::bad_alloc&) {
      // Out of memory: the next source, or the earlier pictures.
      std::vector<uint8_t>().swap(bytes_);
      return false;
    }
  }

  void Remove(int n) override { DeleteFileW(PicturePath(folder_, set_, n).c_str()); }

  // The temporary files hold earlier pictures, which may be photographs.
  void RemoveTemporaryFiles() {
    for (int n = 1; n <= count(); ++n) DeleteFileW(PictureTempPath(folder_, set_, n).c_str());
  }

 private:
  std::optional<ScreenPixels> PixelsOf(PictureSource source) {
    switch (source) {
      case PictureSource::kPhotograph:
        if (photograph_ && photograph_->ready()) return photograph_->pixels();
        return std::nullopt;
      case PictureSource::kWallpaper:
        if (!wallpaper_tried_) {
          wallpaper_tried_ = true;
          wallpaper_ = LoadWallpaper(WallpaperFilesNow(), width_, height_);
        }
        if (wallpaper_) return wallpaper_->pixels();
        return std::nullopt;
      case PictureSource::kDesktopColour: {
        // One row serves for every row.
        const COLORREF colour = GetSysColor(COLOR_DESKTOP);
        colour_row_.resize(static_cast<size_t>(width_ > 0 ? width_ : 0) * 4);
        for (size_t i = 0; i < colour_row_.size(); i += 4) {
          colour_row_[i] = GetBValue(colour);
          colour_row_[i + 1] = GetGValue(colour);
          colour_row_[i + 2] = GetRValue(colour);
        }
        return ScreenPixels{width_, height_, 4, 0, colour_row_.data()};
      }
      case PictureSource::kCompanionCopy:
        if (companion_.rows) return companion_;
        return std::nullopt;
    }
    return std::nullopt;
  }

  std::wstring folder_;
  int set_;
  int width_, height_;
  const ScreenSection* photograph_;
  ScreenPixels companion_;
  bool wallpaper_tried_ = false;
  std::unique_ptr<ScreenSection> wallpaper_;
  std::vector<uint8_t> colour_row_;
  std::vector<uint8_t> bytes_;
};

}  // namespace

bool SaverIsSecureNow() {
  BOOL on = FALSE;
  std::optional<bool> asked;
  if (SystemParametersInfoW(SPI_GETSCREENSAVESECURE, 0, &on, 0)) asked = on != FALSE;
  return SaverIsSecure(
      asked,
      UserText(L"Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop",
               L"ScreenSaverIsSecure"),
      UserText(L"Control Panel\\Desktop", L"ScreenSaverIsSecure"));
}

ScreenSection::ScreenSection(int width, int height) : width_(width), height_(height) {
  // 32 bits a pixel, the screen's own depth, so that GDI copies without
  // converting; the files take three of the four bytes.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the files keep it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  if (dc_ && section_ && bits_) {
    old_ = SelectObject(dc_, section_);
  } else {
    bits_ = nullptr;
  }
}

ScreenSection::~ScreenSection() {
  if (old_) SelectObject(dc_, old_);
  if (section_) DeleteObject(section_);
  if (dc_) DeleteDC(dc_);
}

ScreenPixels ScreenSection::pixels() const {
  return {width_, height_, 4, static_cast<size_t>(width_) * 4,
          static_cast<const uint8_t*>(bits_)};
}

void PhotographAndWriteHandOffPictures(bool all_monitors) {
  std::vector<ScreenRect> monitors = NumberMonitors(ListMonitors());
  const std::vector<ScreenRect> present = monitors;
  monitors.resize(all_monitors ? std::min<size_t>(monitors.size(), kMostPictureSets) : 1);
  PictureFacts facts;
  facts.secure = SaverIsSecureNow();
  facts.desktop = ThreadDesktopName();
  launch_times::Mark("scr desktop %s", Narrow(facts.desktop, CP_UTF8).c_str());
  // Where the user's own folder cannot be had, no picture is written at all.
  const std::wstring folder = PictureFolderOfThisUser(true);
  if (folder.empty()) return;
  // The whole virtual screen, in screen coordinates: a monitor left of or
  // above the primary lies at negative ones. A password-protected saver does
  // not even copy the screen, nor does a run on a desktop of Windows' own.
  HDC screen_dc = MayCopyScreen(facts.desktop, facts.secure) ? GetDC(nullptr) : nullptr;
  std::optional<OpenedCopy> companion;
  if (!facts.secure) {
    companion.emplace();
    const std::optional<DesktopCopy>& copy = companion->copy();
    // The clock after the last input: an input between the two readings
    // then lies before the clock, as it happened.
    const uint32_t last_input = LastInputTick(), now = GetTickCount();
    facts.companion = StateOfCopy(copy.has_value(), copy ? copy->taken : 0, last_input, now);
    facts.copy_of_present_monitors = copy && copy->monitors == present;
    if (copy) {
      launch_times::Mark("scr companion's copy %u ms old, %u ms after the last input, %s",
                         now - copy->taken, copy->taken - last_input,
                         facts.copy_of_present_monitors ? "of these monitors" : "of others");
    }
  }
  MonitorsFile sets;
  sets.all_monitors = all_monitors;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int set = static_cast<int>(i) + 1;
    const ScreenRect& m = monitors[i];
    const int width = m.Width(), height = m.Height();
    ScreenSection photograph(screen_dc ? width : 0, screen_dc ? height : 0);
    const bool copied = screen_dc && photograph.ready() &&
                        BitBlt(photograph.dc(), 0, 0, width, height, screen_dc, m.left, m.top,
                               SRCCOPY);
    GdiFlush();
    if (set == 1) {
      launch_times::Mark("scr photographed %dx%d", width, height);
    } else {
      launch_times::Mark("scr photographed monitor %d, %dx%d", set, width, height);
    }
    facts.photograph_shows_desktop = copied && !IsOneColour(photograph.pixels());
    Win32PictureMaker maker(folder, set, width, height, &photograph,
                            companion ? companion->PixelsOf(i) : ScreenPixels{});
    const std::optional<PictureSource> source = MakePictures(facts, maker, maker.count());
    launch_times::Mark("scr monitor %d pictures from %s", set,
                       source ? NameOf(*source) : "nothing");
    if (source) sets.sets.push_back({set, m});
    if (facts.secure) maker.RemoveTemporaryFiles();
  }
  if (screen_dc) ReleaseDC(nullptr, screen_dc);
  RemoveSetsPast(folder, monitors.size());
  WriteMonitorsFile(folder, sets);
}

void WriteHandOffPictures(const ScreenPixels& screen) {
  const std::wstring folder = PictureFolderOfThisUser(true);
  if (folder.empty()) return;
  std::vector<uint8_t> bytes;
  for (const HandOffFile& file : kScreenFiles) {
    MakeHandOffFile(screen, file.view, bytes);
    WritePictureFile(folder, 1, file.number, bytes);
  }
  WritePictureFile(folder, 1, kBlackFile, BlackHandOffFile());
}

}  // namespace tremblix
