// The settings dialog in Windows' high contrast: the scheme's colours in
// place of the bands, the pictures and the colours of its own, and again at
// once when the user changes them.
#include "bitmap/bitmap.h"
#include "saver/common/twips.h"
#include "saver/settings/dialog_contrast.h"
#include "saver/settings/dialog_pictures.h"
#include "saver/settings/settings_dialog_win32.h"

namespace tremblix {
namespace {

// The labels' letters as designed: black, the home page white.
constexpr COLORREF kLabelColour = RGB(0, 0, 0);
constexpr COLORREF kLinkColour = RGB(255, 255, 255);

void Fill(HDC dc, int width, int height, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
}

}  // namespace

void SettingsDialogWindow::UseColours(SystemColours& colours) {
  colours_ = &colours;
  if (controls_ready_) ApplyColours();
}

HBITMAP SettingsDialogWindow::MakeContrastMark(bool filled, int band) {
  SystemColours& colours = *colours_;
  return forms::BitmapFromBmp(DrawBmp(kMarkSize * band, kMarkSize * band, [&](int x, int y) {
    const COLORREF c = colours.Colour(ContrastMarkPixel(filled, x, y, band));
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
  }));
}

// Everything of ours in the colours now in force, painted again.
void SettingsDialogWindow::ApplyColours() {
  high_contrast_ = colours_->HighContrastOn();
  auto colour = [this](DialogPart part) { return colours_->Colour(ContrastColourOf(part)); };
  const COLORREF text = high_contrast_ ? colour(DialogPart::kText) : kLabelColour;
  for (forms::Label* label :
       {&lbl15_, &lbl14_, &lbl_bgm_[0], &lbl_bgm_[1], &lbl_bgm_[2], &lbl_fname_, &lbl_monitors_}) {
    label->SetColour(text);
  }
  lbl_url_.SetColour(high_contrast_ ? colour(DialogPart::kLink) : kLinkColour);
  const std::optional<COLORREF> frame =
      high_contrast_ ? std::optional<COLORREF>(text) : std::nullopt;
  const SIZE border = FocusBorder();
  for (forms::Label* stop : {&lbl_bgm_[0], &lbl_bgm_[1], &lbl_bgm_[2], &lbl_monitors_, &lbl_url_}) {
    stop->SetFocusFrame(frame, border);
  }

  // The marks show the new pictures before the old ones go.
  const HBITMAP old_marks[2] = {img_ra_[0], img_ra_[1]};
  MakeMarks(BandWidth(dpi_));
  for (int i = 0; i < 3; ++i) img_bgm_[i].SetPicture(img_ra_[filled_[i] ? 1 : 0]);
  img_monitors_.SetPicture(img_ra_[monitors_checked_ ? 1 : 0]);
  for (HBITMAP mark : old_marks) {
    if (mark) DeleteObject(mark);
  }

  for (CommandWindow* button : {&cmd_file_, &cmd_set_, &cmd_can_}) {
    button->SetColours(colours_);
    button->Repaint();
  }
  if (shown_) Form_Resize();
  // The frames Windows draws (sunken edges, the repeat box) take the
  // system's colours again too.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Windows says a colour or the contrast changed; other settings leave the
// look as it is.
void SettingsDialogWindow::OnColoursChanged(UINT message, WPARAM wparam) {
  if (!controls_ready_) return;
  if (message == WM_SYSCOLORCHANGE || wparam == SPI_SETHIGHCONTRAST ||
      wparam == SPI_SETFOCUSBORDERWIDTH || wparam == SPI_SETFOCUSBORDERHEIGHT ||
      colours_->HighContrastOn() != high_contrast_) {
    ApplyColours();
  }
}

// In high contrast the bands give way to the scheme's plain surface.
bool SettingsDialogWindow::PaintSurfacesInContrast() {
  if (!colours_->HighContrastOn()) return false;
  const COLORREF surface = colours_->Colour(ContrastColourOf(DialogPart::kSurface));
  Fill(surface_.dc(), surface_.width(), surface_.height(), surface);
  forms::Surface& panel = pic_c_.surface();
  Fill(panel.dc(), panel.width(), panel.height(), surface);
  return true;
}

SIZE SettingsDialogWindow::FocusBorder() {
  UINT width = 1, height = 1;
  SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0);
  SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &height, 0);
  return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

COLORREF SettingsDialogWindow::HeadingFrameColour() {
  if (!colours_->HighContrastOn()) return RGB(0, 0, 0);
  return colours_->Colour(ContrastColourOf(DialogPart::kHeadingFrame));
}

}  // namespace tremblix
