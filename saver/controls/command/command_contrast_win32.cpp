// The push button in Windows' high contrast, and what it tells readers.
#include <cmath>
#include <string>

#include "bitmap/bitmap.h"
#include "saver/common/twips.h"
#include "saver/common/wide_text_win32.h"
#include "saver/controls/command/command_win32.h"
#include "saver/controls/command/face_contrast.h"
#include "saver/controls/command/face_layout.h"
#include "saver/controls/command/face_pictures.h"
#include "saver/forms/controls_win32.h"

namespace tremblix {

bool CommandWindow::HighContrast() const { return colours_ && colours_->HighContrastOn(); }

bool CommandWindow::PaintInContrast(Face face) {
  if (!HighContrast()) return false;
  const int band = BandWidth(dpi_);
  const int width = width_, height = height_;
  SystemColours& colours = *colours_;
  const BmpImage image = DrawBmp(width, height, [&](int x, int y) {
    const COLORREF c = colours.Colour(ContrastFacePixel(face, x, y, width, height, band));
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
  });
  HBITMAP picture = forms::BitmapFromBmp(image);
  HDC picture_dc = CreateCompatibleDC(surface_);
  HGDIOBJ old = SelectObject(picture_dc, picture);
  BitBlt(surface_, 0, 0, width, height, picture_dc, 0, 0, SRCCOPY);
  SelectObject(picture_dc, old);
  DeleteDC(picture_dc);
  DeleteObject(picture);

  const int height_twips = static_cast<int>(std::lround(PixelsToTwips(height_, dpi_)));
  caption_top_ = TwipsToPixels(CaptionTop(height_twips), dpi_);
  Present();
  return true;
}

// One colour, no etching: the scheme's grey text says unavailable.
bool CommandWindow::DrawCaptionInContrast(HDC dc) {
  if (!HighContrast()) return false;
  const Face face = LblMsg().enabled ? last_face().value_or(Face::Normal) : Face::Disable;
  const std::wstring text = Wide(Caption(), CP_UTF8);
  RECT rect = {0, caption_top_, width_, caption_top_ + TwipsToPixels(kCaptionHeight, dpi_)};
  HGDIOBJ old_font = SelectObject(dc, CaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours_->Colour(ContrastCaption(face)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  SelectObject(dc, old_font);
  return true;
}

void CommandWindow::Repaint() {
  if (last_face()) {
    PaintFace(*last_face());
  } else {
    Present();
  }
}

}  // namespace tremblix
