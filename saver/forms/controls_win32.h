// The windowless-looking controls of the screen-saver program's forms: a
// retained drawing surface, a picture box that keeps one, labels with a
// transparent background and images that show a picture unstretched. Places
// and sizes are pixels here; forms convert their layout before.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "bitmap/bitmap.h"
#include "saver/forms/accessible_win32.h"
#include "saver/forms/keyboard_cues.h"

namespace tremblix::forms {

// A picture drawn by a rule as a bitmap the screen can show (a DIB section);
// nothing when it cannot be made.
HBITMAP BitmapFromBmp(const BmpImage& image);

// A memory picture the size of a window's client area, shown on every paint:
// what is drawn on it stays when the window is covered and uncovered.
class Surface {
 public:
  Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { Release(); }

  void Resize(int width, int height, COLORREF back_colour);
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void CopyTo(HDC target) const;

 private:
  void Release();
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Asks the parent to paint what lies behind a child, into the child's dc.
void PaintParentBehind(HWND child, HDC dc);

// A child window with a retained surface; it hosts controls of its own and
// takes part in the Tab order of its form.
class PictureBox {
 public:
  PictureBox() = default;
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;
  ~PictureBox();

  bool Create(HWND parent, int x, int y, int width, int height, COLORREF back_colour,
              bool sunken);
  HWND hwnd() const { return hwnd_; }
  Surface& surface() { return surface_; }
  // Drawn over the surface on every paint (shapes).
  std::function<void(HDC)> Decorate;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void PaintInto(HDC dc);
  HWND hwnd_ = nullptr;
  Surface surface_;
  COLORREF back_colour_ = 0;
};

struct LabelStyle {
  HFONT font = nullptr;
  COLORREF colour = 0;
  bool centred = false;
  bool auto_size = false;  // takes the size of its text
  bool sunken = false;     // a sunken three-dimensional border
  bool wrap = false;       // more than one line
  HCURSOR cursor = nullptr;
  // A stop for Tab: a left press takes the focus too, and a focus rectangle
  // shows while it has it and its form shows the cues.
  bool tab_stop = false;
  // What it answers the dialog handling (WM_GETDLGCODE), as the kind of
  // control of Windows' own it stands for does; and Enter kept for KeyDown.
  UINT dialog_code = 0;
  bool wants_enter = false;
};

// A label: text over whatever lies behind it. Any mouse button pressed on it
// raises MouseDown with the button (1 left, 2 right, 4 middle); a left press
// and release on it raise Click. With the focus, a key's press raises
// KeyDown with the virtual-key code, and so do the repeats of a held key
// that acts while held (KeyActsWhileHeld). Its focus rectangle follows its
// form's keyboard cues.
class Label {
 public:
  Label() = default;
  Label(const Label&) = delete;
  Label& operator=(const Label&) = delete;
  ~Label();

  bool Create(HWND parent, int x, int y, int width, int height, const std::wstring& text,
              const LabelStyle& style);
  void SetText(const std::wstring& text);
  std::wstring Text() const;
  // Moves the label (taking its text's size again when it sizes itself), or
  // gives it another font or pointer: the dialog laid out at another dpi.
  void Place(int x, int y, int width, int height);
  void SetFont(HFONT font);
  void SetCursor(HCURSOR cursor) { style_.cursor = cursor; }
  // The letters in another colour (the scheme's, in high contrast).
  void SetColour(COLORREF colour);
  HWND hwnd() const { return hwnd_; }
  // Makes the label a stop for Tab (LabelStyle::tab_stop) answering the
  // dialog handling with dialog_code, and keeping Enter for its KeyDown.
  void MakeStop(UINT dialog_code, bool wants_enter);
  // The focus rectangle in a colour of its own, border pixels wide and
  // high, in place of the inverted dots (high contrast); none: inverted.
  void SetFocusFrame(std::optional<COLORREF> colour, SIZE border);
  // Whether Tab stops here; a stop's label takes the focus from a click or a
  // key either way.
  void SetTabStop(bool stop);

  std::function<void(int button)> MouseDown;
  std::function<void()> Click;
  std::function<void(int key_code)> KeyDown;
  AccessibleAnswer accessible;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint();
  void DrawFocusFrame(HDC dc, const RECT& client);
  void FitToText();
  int LineHeight() const;
  HWND hwnd_ = nullptr;
  LabelStyle style_;
  bool left_down_ = false;
  std::optional<COLORREF> focus_colour_;
  SIZE focus_border_ = {1, 1};
};

// An image: its picture unstretched at its top-left corner, and from the first
// picture on the picture's size.
class Image {
 public:
  Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  ~Image();

  bool Create(HWND parent, int x, int y, int width, int height);
  void SetPicture(HBITMAP picture);
  HBITMAP picture() const { return picture_; }
  HWND hwnd() const { return hwnd_; }

  std::function<void(int button)> MouseDown;
  AccessibleAnswer accessible;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
  HBITMAP picture_ = nullptr;
};

}  // namespace tremblix::forms
