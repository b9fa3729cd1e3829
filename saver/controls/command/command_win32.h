// The push button's window: a child window with a retained drawing surface.
// Faces are painted into the surface at any time; every repaint shows the
// surface with the caption over it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "saver/common/system_colours_win32.h"
#include "saver/controls/command/command.h"
#include "saver/forms/accessible_win32.h"

namespace tremblix {

// The face picture with every one-pixel band band pixels wide (BandWidth):
// the one embedded in the program at 1, drawn from the same rule above.
// Made once, kept for the life of the process.
HBITMAP CommandFaceBitmap(Face face, int band = 1);

class CommandWindow final : public Command {
 public:
  CommandWindow() = default;
  ~CommandWindow() override;

  // Creates the button on the parent at a place given in twips, at the
  // parent's dots per inch, reads its stored record and paints it. The host
  // calls Initialize afterwards.
  bool Create(HWND parent, int left, int top, int width, int height,
              const PropertyRecord& record, const FontSpec& ambient_font, int dpi = 96);
  // Places and paints the button again at another dpi (a move to a monitor
  // of other scaling).
  void SetDpi(int dpi);
  HWND hwnd() const { return hwnd_; }
  // The timer's looks at the pointer so far: a test of what they leave alone
  // waits for them rather than for a time.
  int polls() const { return polls_; }
  // The retained surface, for looking at what was painted.
  HDC surface() const { return surface_; }
  // Where high contrast and its colours are read; none: never on.
  void SetColours(SystemColours* colours) { colours_ = colours; }
  // Paints the face it shows again, in the colours now in force.
  void Repaint();
  forms::AccessibleAnswer accessible;
  // Whether it is the dialog's default button now, as the dialog handling
  // asks a push button; none: never.
  std::function<bool()> IsDefault;

 protected:
  void PaintFace(Face face) override;
  void Present() override;
  void StartMouseTimer() override;
  bool PointerOverControl() override;
  void IsEnabledChanged() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnMouseMove(LPARAM lparam);
  void OnPaint();
  void ResizeSurface(int width, int height);
  void FillGradient();
  void PaintBehind(HDC dc);
  void DrawCaption(HDC dc);
  // In high contrast: the face and the caption in the scheme's colours
  // alone, and true; false when it is off.
  bool HighContrast() const;
  bool PaintInContrast(Face face);
  bool DrawCaptionInContrast(HDC dc);
  HFONT CaptionFont();
  void ReleaseSurface();

  HWND hwnd_ = nullptr;
  int polls_ = 0;
  HDC surface_ = nullptr;
  HBITMAP surface_bitmap_ = nullptr;
  HGDIOBJ old_surface_bitmap_ = nullptr;
  int width_ = 0, height_ = 0;  // pixels
  int left_twips_ = 0, top_twips_ = 0, width_twips_ = 0, height_twips_ = 0;
  int dpi_ = 96;
  int caption_top_ = 0;         // pixels
  HFONT font_ = nullptr;
  FontSpec font_spec_;
  SystemColours* colours_ = nullptr;
  bool loaded_ = false;
  // Where the pointer rested when the button was made, until it moves or
  // leaves the button.
  std::optional<POINT> resting_pointer_;
};

}  // namespace tremblix
