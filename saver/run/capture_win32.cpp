#include "saver/run/capture_win32.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "saver/run/photograph.h"
#include "saver/run/wallpaper_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {

namespace {

// One write of the whole file. An earlier run's file is written over and cut
// to length rather than emptied first: the same bytes in the end, and several
// times faster for a screen-sized file than freeing its pages and taking new.
void WriteWholeFile(const std::wstring& folder, int number, const std::vector<uint8_t>& bytes) {
  const std::wstring path = PicturePath(folder, number);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  SetEndOfFile(file);
  CloseHandle(file);
  launch_times::Mark("scr wrote Tremblix%d.bmp", number);
}

void WritePictures(const std::wstring& folder, const ScreenPixels& screen) {
  std::vector<uint8_t> bytes;
  for (const HandOffFile& file : kScreenFiles) {
    MakeHandOffFile(screen, file.view, bytes);
    WriteWholeFile(folder, file.number, bytes);
  }
  WriteWholeFile(folder, kBlackFile, BlackHandOffFile());
}

bool EarlierPicturesThere(const std::wstring& folder) {
  for (int number = 1; number <= kBlackFile; ++number) {
    if (!FileThere(PicturePath(folder, number))) return false;
  }
  return true;
}

}  // namespace

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

void PhotographAndWriteHandOffPictures() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ScreenSection photograph(width, height);
  bool copied = false;
  HWND desktop = GetDesktopWindow();
  if (HDC screen_dc = GetDC(desktop)) {
    copied = photograph.ready() &&
             BitBlt(photograph.dc(), 0, 0, width, height, screen_dc, 0, 0, SRCCOPY);
    GdiFlush();
    ReleaseDC(desktop, screen_dc);
  }
  launch_times::Mark("scr photographed %dx%d", width, height);

  const std::wstring folder = PictureFolderOfThisUser(true);
  std::unique_ptr<ScreenSection> wallpaper;
  const PictureSource source = ChoosePictures(
      copied && !IsOneColour(photograph.pixels()), EarlierPicturesThere(folder),
      [&] { return (wallpaper = LoadWallpaper(width, height)) != nullptr; });
  switch (source) {
    case PictureSource::kPhotograph:
      WritePictures(folder, photograph.pixels());
      break;
    case PictureSource::kEarlierPictures:
      launch_times::Mark("scr kept the earlier pictures");
      break;
    case PictureSource::kWallpaper:
      WritePictures(folder, wallpaper->pixels());
      break;
    case PictureSource::kBlack: {
      const size_t row_bytes = static_cast<size_t>(width > 0 ? width : 0) * 4;
      std::vector<uint8_t> black(row_bytes * (height > 0 ? height : 0), 0);
      WritePictures(folder, {width, height, 4, row_bytes, black.data()});
      break;
    }
  }
}

void WriteHandOffPictures(const ScreenPixels& screen) {
  WritePictures(PictureFolderOfThisUser(true), screen);
}

}  // namespace tremblix
