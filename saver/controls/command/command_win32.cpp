#include "saver/controls/command/command_win32.h"

#include <string>

#include <cmath>
#include <map>
#include <utility>

#include "bitmap/bitmap.h"
#include "saver/common/twips.h"
#include "saver/common/wide_text_win32.h"
#include "saver/controls/command/face_layout.h"
#include "saver/controls/command/face_pictures.h"
#include "saver/forms/controls_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {
namespace {

constexpr wchar_t kCommandClass[] = L"TremblixCommand";
constexpr UINT_PTR kTmrMouse = 1;
constexpr UINT kTmrMouseInterval = 100;  // ms

// Face pictures embedded by faces.rc, in the order of Face.
constexpr const wchar_t* kFaceResources[kFaceCount] = {
    L"COMMAND_NORMAL",   L"COMMAND_HIGHLIGHT", L"COMMAND_HIGHLIGHTSELECT",
    L"COMMAND_SELECTED", L"COMMAND_PRESSED",   L"COMMAND_DISABLE"};

bool RegisterCommandClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kCommandClass;
  registered = RegisterClassExW(&wc) != 0;
  return registered;
}

COLORREF ToColorRef(uint32_t colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

}  // namespace

HBITMAP CommandFaceBitmap(Face face, int band) {
  static std::map<std::pair<int, int>, HBITMAP> bitmaps;
  const int i = static_cast<int>(face);
  HBITMAP& bitmap = bitmaps[{i, band}];
  if (bitmap) return bitmap;
  if (band <= 1) {
    bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), kFaceResources[i],
                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  } else {
    bitmap = forms::BitmapFromBmp(DrawBmp(kFacePixelWidth * band, kFacePixelHeight * band,
                                          [face, band](int x, int y) {
                                            return FacePixelAt(face, x, y, band);
                                          }));
  }
  return bitmap;
}

CommandWindow::~CommandWindow() {
  if (hwnd_) {
    // The window goes without telling this half-destroyed button of it.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  ReleaseSurface();
  if (font_) DeleteObject(font_);
}

bool CommandWindow::Create(HWND parent, int left, int top, int width, int height,
                           const PropertyRecord& record, const FontSpec& ambient_font,
                           int dpi) {
  if (hwnd_ || !RegisterCommandClass(&CommandWindow::WindowProc)) return false;
  POINT pointer;
  if (GetCursorPos(&pointer)) resting_pointer_ = pointer;
  left_twips_ = left, top_twips_ = top, width_twips_ = width, height_twips_ = height;
  dpi_ = dpi;
  // Edges rounded, as the dialog places its other controls.
  const int x = TwipsToPixels(left, dpi), y = TwipsToPixels(top, dpi);
  if (!CreateWindowExW(0, kCommandClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y,
                       TwipsToPixels(left + width, dpi) - x, TwipsToPixels(top + height, dpi) - y,
                       parent, nullptr, GetModuleHandleW(nullptr), this)) {
    return false;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  ResizeSurface(client.right, client.bottom);
  // As a host loads a control: its record, then its size.
  ReadProperties(record, ambient_font);
  loaded_ = true;
  UserControl_Resize();
  return true;
}

void CommandWindow::SetDpi(int dpi) {
  if (!hwnd_) return;
  dpi_ = dpi;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  const int x = TwipsToPixels(left_twips_, dpi), y = TwipsToPixels(top_twips_, dpi);
  // The size change repaints the face (WM_SIZE); a repaint covers an equal size.
  SetWindowPos(hwnd_, nullptr, x, y, TwipsToPixels(left_twips_ + width_twips_, dpi) - x,
               TwipsToPixels(top_twips_ + height_twips_, dpi) - y, SWP_NOZORDER | SWP_NOACTIVATE);
  UserControl_Resize();
}

LRESULT CALLBACK CommandWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<CommandWindow*>(create->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    self->accessible.Disconnect();
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT CommandWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (LRESULT answer; accessible.Handle(hwnd_, message, wparam, lparam, answer)) return answer;
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(CaptionFont());
    case WM_SIZE:
      ResizeSurface(LOWORD(lparam), HIWORD(lparam));
      if (loaded_) UserControl_Resize();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lparam);
      return 0;
    case WM_LBUTTONDOWN:
      // The button takes the focus first, then sees the press; it keeps the
      // pointer until the release so that the release is always its own.
      // A disabled button takes neither.
      if (fields().IsEnabled) {
        if (GetFocus() != hwnd_) SetFocus(hwnd_);
        SetCapture(hwnd_);
      }
      UserControl_MouseDown(kLeftButton);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd_) ReleaseCapture();
      // Look where the pointer is, as the next poll would: a release just
      // after dragging off the button must not click it.
      TmrMouse_Timer();
      UserControl_MouseUp(kLeftButton);
      return 0;
    case WM_RBUTTONDOWN:
      UserControl_MouseDown(2);
      return 0;
    case WM_RBUTTONUP:
      UserControl_MouseUp(2);
      return 0;
    case WM_MBUTTONDOWN:
      UserControl_MouseDown(4);
      return 0;
    case WM_MBUTTONUP:
      UserControl_MouseUp(4);
      return 0;
    case WM_GETDLGCODE:
      // A push button's answer: the dialog handling leaves Space to it.
      return DLGC_BUTTON | (IsDefault && IsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_KEYDOWN:
      UserControl_KeyDown(static_cast<int>(wparam));
      return 0;
    case WM_KEYUP:
      UserControl_KeyUp(static_cast<int>(wparam));
      return 0;
    case WM_SETFOCUS:
      UserControl_GotFocus();
      return 0;
    case WM_KILLFOCUS:
      UserControl_LostFocus();
      return 0;
    case WM_TIMER:
      if (wparam == kTmrMouse) {
        TmrMouse_Timer();
        ++polls_;
      }
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTmrMouse);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void CommandWindow::OnMouseMove(LPARAM lparam) {
  // The platform also sends a move when a window appears under a resting
  // pointer; that one is no move. Once the pointer has moved, or left and
  // come back to the very same pixel, every move counts.
  POINT pointer = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  ClientToScreen(hwnd_, &pointer);
  if (resting_pointer_ && pointer.x == resting_pointer_->x && pointer.y == resting_pointer_->y)
    return;
  resting_pointer_.reset();
  UserControl_MouseMove();
}

void CommandWindow::PaintFace(Face face) {
  if (!surface_) return;
  if (PaintInContrast(face)) return;
  RECT all = {0, 0, width_, height_};
  FillRect(surface_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FillGradient();

  // The face drawn at this scale, never stretched across a band: it stays
  // sharp and shows no colour the face lacks.
  const int band = BandWidth(dpi_);
  HDC face_dc = CreateCompatibleDC(surface_);
  HGDIOBJ old = SelectObject(face_dc, CommandFaceBitmap(face, band));
  SetStretchBltMode(surface_, COLORONCOLOR);
  for (const PixelSlice& s : FaceSlicesInPixels(width_, height_, band)) {
    StretchBlt(surface_, s.dest.x, s.dest.y, s.dest.width, s.dest.height, face_dc, s.source.x,
               s.source.y, s.source.width, s.source.height, SRCCOPY);
  }
  SelectObject(face_dc, old);
  DeleteDC(face_dc);

  const int height_twips = static_cast<int>(std::lround(PixelsToTwips(height_, dpi_)));
  caption_top_ = TwipsToPixels(CaptionTop(height_twips), dpi_);
  Present();
}

// A vertical two-colour gradient over the whole button but its last column
// and row, which the frame covers.
void CommandWindow::FillGradient() {
  const COLOR16 kWhite[3] = {0xFF00, 0xFF00, 0xFF00};
  const COLOR16 kLavenderGrey[3] = {0xC600, 0xC500, 0xD700};
  const COLOR16* top = fields().InvertGradient ? kLavenderGrey : kWhite;
  const COLOR16* bottom = fields().InvertGradient ? kWhite : kLavenderGrey;
  TRIVERTEX vertices[2] = {
      {0, 0, top[0], top[1], top[2], 0},
      {width_ - 1, height_ - 1, bottom[0], bottom[1], bottom[2], 0},
  };
  GRADIENT_RECT rect = {0, 1};
  GradientFill(surface_, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void CommandWindow::Present() {
  if (!hwnd_) return;
  const std::wstring caption = Wide(Caption(), CP_UTF8);
  SetWindowTextW(hwnd_, caption.c_str());
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void CommandWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // Composed off screen so that the caption never flickers over the face.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width_, height_);
  HGDIOBJ old = SelectObject(buffer, bitmap);
  if (opaque()) {
    BitBlt(buffer, 0, 0, width_, height_, surface_, 0, 0, SRCCOPY);
  } else {
    PaintBehind(buffer);
  }
  DrawCaption(buffer);
  BitBlt(dc, 0, 0, width_, height_, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(hwnd_, &ps);
}

// Transparent background: the parent paints what lies behind the button.
void CommandWindow::PaintBehind(HDC dc) {
  HWND parent = GetParent(hwnd_);
  POINT origin = {0, 0};
  MapWindowPoints(hwnd_, parent, &origin, 1);
  POINT old;
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void CommandWindow::DrawCaption(HDC dc) {
  if (DrawCaptionInContrast(dc)) return;
  const std::wstring text = Wide(Caption(), CP_UTF8);
  RECT rect = {0, caption_top_, width_, caption_top_ + TwipsToPixels(kCaptionHeight, dpi_)};
  HGDIOBJ old_font = SelectObject(dc, CaptionFont());
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
  if (LblMsg().enabled) {
    SetTextColor(dc, ToColorRef(LblMsg().colour));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  } else {
    // The platform's disabled text: an etched grey.
    RECT etch = rect;
    OffsetRect(&etch, BandWidth(dpi_), BandWidth(dpi_));
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &etch, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  }
  SelectObject(dc, old_font);
}

HFONT CommandWindow::CaptionFont() {
  const FontSpec& spec = Font();
  if (font_ && spec == font_spec_) return font_;
  if (font_) DeleteObject(font_);
  const std::wstring name = Wide(spec.name, CP_UTF8);
  font_ = CreateFontW(-PointsToPixels(spec.size, dpi_), 0, 0, 0, spec.weight, spec.italic,
                      spec.underline, spec.strikethrough, spec.charset, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name.c_str());
  font_spec_ = spec;
  return font_;
}

void CommandWindow::StartMouseTimer() {
  if (hwnd_) SetTimer(hwnd_, kTmrMouse, kTmrMouseInterval, nullptr);
}

bool CommandWindow::PointerOverControl() {
  POINT pointer;
  // When the pointer cannot be read, nothing changes.
  if (!GetCursorPos(&pointer)) return true;
  const bool over = WindowFromPoint(pointer) == hwnd_;
  if (!over && resting_pointer_) {
    // Marked, so that a test of a return to the very pixel waits for it.
    RECT area;
    if (GetWindowRect(hwnd_, &area) && PtInRect(&area, *resting_pointer_))
      launch_times::Mark("scr button saw the resting pointer go");
    resting_pointer_.reset();
  }
  return over;
}

void CommandWindow::IsEnabledChanged() {
  // A disabled button is no stop for the Tab key.
  if (!hwnd_) return;
  // Readers hear it from us: the window itself stays enabled.
  accessible.StateMayHaveChanged(hwnd_);
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  style = fields().IsEnabled ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
  SetWindowLongW(hwnd_, GWL_STYLE, style);
}

void CommandWindow::ResizeSurface(int width, int height) {
  if (surface_ && width == width_ && height == height_) return;
  ReleaseSurface();
  width_ = width;
  height_ = height;
  HDC screen = GetDC(nullptr);
  surface_ = CreateCompatibleDC(screen);
  surface_bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  old_surface_bitmap_ = SelectObject(surface_, surface_bitmap_);
}

void CommandWindow::ReleaseSurface() {
  if (!surface_) return;
  SelectObject(surface_, old_surface_bitmap_);
  DeleteObject(surface_bitmap_);
  DeleteDC(surface_);
  surface_ = nullptr;
  surface_bitmap_ = nullptr;
}

}  // namespace tremblix
