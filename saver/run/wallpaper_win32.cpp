#include "saver/run/wallpaper_win32.h"

#include <windows.h>
// The lean Windows header leaves out what GDI+ needs.
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

namespace tremblix {

namespace {

// GDI+ for as long as one object lives.
class GdiPlus {
 public:
  GdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiPlus() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

bool DrawStretched(const wchar_t* file, const ScreenSection& target, int width, int height) {
  Gdiplus::Bitmap picture(file);
  if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0 ||
      picture.GetHeight() == 0) {
    return false;
  }
  Gdiplus::Graphics graphics(target.dc());
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  // Edge pixels are filled from inside the picture, not blended with nothing.
  Gdiplus::ImageAttributes edges;
  edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  return graphics.DrawImage(&picture, Gdiplus::Rect(0, 0, width, height), 0, 0,
                            static_cast<INT>(picture.GetWidth()),
                            static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel,
                            &edges) == Gdiplus::Ok;
}

}  // namespace

std::unique_ptr<ScreenSection> LoadWallpaper(const std::vector<std::wstring>& files, int width,
                                             int height) {
  if (files.empty()) return nullptr;
  GdiPlus gdi_plus;
  if (!gdi_plus.ok()) return nullptr;
  auto target = std::make_unique<ScreenSection>(width, height);
  if (!target->ready()) return nullptr;
  for (const std::wstring& file : files) {
    if (DrawStretched(file.c_str(), *target, width, height)) {
      GdiFlush();
      return target;
    }
  }
  return nullptr;
}

}  // namespace tremblix
