#include "saver/forms/controls_win32.h"

#include <algorithm>
#include <cstring>

namespace tremblix::forms {
namespace {

constexpr wchar_t kPictureBoxClass[] = L"TremblixPictureBox";
constexpr wchar_t kLabelClass[] = L"TremblixLabel";
constexpr wchar_t kImageClass[] = L"TremblixImage";

bool Register(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc = {};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// The object behind a window, set from the creation parameter; cleared when
// the window goes.
template <typename Control>
LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, HWND Control::*field,
                 LRESULT (Control::*handler)(UINT, WPARAM, LPARAM)) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->*field = hwnd;
  }
  auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = (self->*handler)(message, wparam, lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->*field = nullptr;
    return result;
  }
  return (self->*handler)(message, wparam, lparam);
}

HWND CreateChild(const wchar_t* name, DWORD ex_style, DWORD style, HWND parent, int x, int y,
                 int width, int height, void* self) {
  return CreateWindowExW(ex_style, name, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                         parent, nullptr, GetModuleHandleW(nullptr), self);
}

int MouseButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return 1;
    case WM_RBUTTONDOWN: return 2;
    case WM_MBUTTONDOWN: return 4;
  }
  return 0;
}

void DestroyOwned(HWND hwnd) {
  if (!hwnd) return;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
}

}  // namespace

HBITMAP BitmapFromBmp(const BmpImage& image) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = image.height;  // bottom-up, as the image's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  memcpy(bits, image.pixels.data(), image.pixels.size());
  GdiFlush();
  return bitmap;
}

// --- Surface -----------------------------------------------------------------

void Surface::Resize(int width, int height, COLORREF back_colour) {
  if (dc_ && width == width_ && height == height_) return;
  Release();
  width_ = width;
  height_ = height;
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
  ReleaseDC(nullptr, screen);
  old_bitmap_ = SelectObject(dc_, bitmap_);
  HBRUSH brush = CreateSolidBrush(back_colour);
  RECT all = {0, 0, width, height};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

void Surface::CopyTo(HDC target) const {
  if (dc_) BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

void Surface::Release() {
  if (!dc_) return;
  SelectObject(dc_, old_bitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
  dc_ = nullptr;
}

void PaintParentBehind(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  POINT origin = {0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT old;
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// --- PictureBox --------------------------------------------------------------

PictureBox::~PictureBox() { DestroyOwned(hwnd_); }

bool PictureBox::Create(HWND parent, int x, int y, int width, int height, COLORREF back_colour,
                        bool sunken) {
  if (hwnd_ || !Register(kPictureBoxClass, &PictureBox::WindowProc)) return false;
  back_colour_ = back_colour;
  const DWORD ex_style = WS_EX_CONTROLPARENT | (sunken ? WS_EX_CLIENTEDGE : 0);
  if (!CreateChild(kPictureBoxClass, ex_style, WS_CLIPCHILDREN, parent, x, y, width, height,
                   this)) {
    return false;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  surface_.Resize(client.right, client.bottom, back_colour_);
  return true;
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return Dispatch(hwnd, message, wparam, lparam, &PictureBox::hwnd_, &PictureBox::HandleMessage);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintInto(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintInto(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SIZE:
      surface_.Resize(LOWORD(lparam), HIWORD(lparam), back_colour_);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void PictureBox::PaintInto(HDC dc) {
  surface_.CopyTo(dc);
  if (Decorate) Decorate(dc);
}

// --- Label -------------------------------------------------------------------

Label::~Label() { DestroyOwned(hwnd_); }

void Label::MakeStop(UINT dialog_code, bool wants_enter) {
  style_.tab_stop = true;
  style_.dialog_code = dialog_code;
  style_.wants_enter = wants_enter;
  SetTabStop(true);
}

void Label::SetFocusFrame(std::optional<COLORREF> colour, SIZE border) {
  focus_colour_ = colour;
  focus_border_ = border;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::SetTabStop(bool stop) {
  if (!hwnd_) return;
  const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool Label::Create(HWND parent, int x, int y, int width, int height, const std::wstring& text,
                   const LabelStyle& style) {
  if (hwnd_ || !Register(kLabelClass, &Label::WindowProc)) return false;
  style_ = style;
  const DWORD ex_style = style.sunken ? WS_EX_CLIENTEDGE : 0;
  const DWORD tab_stop = style.tab_stop ? WS_TABSTOP : 0;
  if (!CreateChild(kLabelClass, ex_style, tab_stop, parent, x, y, width, height, this)) {
    return false;
  }
  SetText(text);
  return true;
}

void Label::SetText(const std::wstring& text) {
  if (!hwnd_) return;
  SetWindowTextW(hwnd_, text.c_str());
  if (style_.auto_size) FitToText();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

std::wstring Label::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size())));
  return text;
}

void Label::Place(int x, int y, int width, int height) {
  if (!hwnd_) return;
  // A one-line label is never lower than its font's line, which may be a
  // pixel more than the design's height: no letter loses its foot.
  if (!style_.auto_size && !style_.wrap) height = std::max(height, LineHeight());
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (style_.auto_size) FitToText();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::SetFont(HFONT font) {
  style_.font = font;
  if (hwnd_ && style_.auto_size) FitToText();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::SetColour(COLORREF colour) {
  style_.colour = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

int Label::LineHeight() const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, style_.font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return metrics.tmHeight;
}

void Label::FitToText() {
  const std::wstring text = Text();
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, style_.font);
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Label::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return Dispatch(hwnd, message, wparam, lparam, &Label::hwnd_, &Label::HandleMessage);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (LRESULT answer; accessible.Handle(hwnd_, message, wparam, lparam, answer)) return answer;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(style_.font);
    case WM_SETCURSOR:
      if (style_.cursor && LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(style_.cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int button = MouseButton(message);
      if (button == 1) {
        if (style_.tab_stop && GetFocus() != hwnd_) SetFocus(hwnd_);
        left_down_ = true;
        SetCapture(hwnd_);
      }
      if (MouseDown) MouseDown(button);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);  // the focus rectangle comes or goes
      return 0;
    case WM_KEYDOWN: {
      // Bit 30: the key was already down, a repeat while it is held.
      const int key = static_cast<int>(wparam);
      if (KeyDown && (!(lparam & (1 << 30)) || KeyActsWhileHeld(key))) KeyDown(key);
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT code = style_.dialog_code;
      const MSG* msg = reinterpret_cast<const MSG*>(lparam);
      if (style_.wants_enter && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_UPDATEUISTATE:
      if (style_.tab_stop) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_QUERYUISTATE:
    case WM_CHANGEUISTATE:
      // The form keeps the cues, for every window in it.
      return SendMessageW(GetAncestor(hwnd_, GA_ROOT), message, wparam, lparam);
    case WM_LBUTTONUP: {
      if (GetCapture() == hwnd_) ReleaseCapture();
      RECT client;
      GetClientRect(hwnd_, &client);
      POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const bool click = left_down_ && PtInRect(&client, p);
      left_down_ = false;
      if (click && Click) Click();
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Label::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  // Composed off screen: what lies behind, then the text over it.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old_bitmap = SelectObject(buffer, bitmap);
  PaintParentBehind(hwnd_, buffer);
  const std::wstring text = Text();
  HGDIOBJ old_font = SelectObject(buffer, style_.font);
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, style_.colour);
  UINT format = DT_NOPREFIX | (style_.centred ? DT_CENTER : DT_LEFT);
  format |= style_.wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
  DrawTextW(buffer, text.c_str(), static_cast<int>(text.size()), &client, format);
  if (style_.tab_stop && GetFocus() == hwnd_ &&
      !(SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & kHideFocus)) {
    DrawFocusFrame(buffer, client);
  }
  SelectObject(buffer, old_font);
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(hwnd_, &ps);
}

// In high contrast inverted dots would show colours of no scheme: the dots
// are drawn in the scheme's own.
void Label::DrawFocusFrame(HDC dc, const RECT& client) {
  if (!focus_colour_) {
    DrawFocusRect(dc, &client);
    return;
  }
  const int width = client.right, height = client.bottom;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (IsFocusFrameDot(x, y, width, height, focus_border_.cx, focus_border_.cy)) {
        SetPixelV(dc, x, y, *focus_colour_);
      }
    }
  }
}

// --- Image -------------------------------------------------------------------

Image::~Image() { DestroyOwned(hwnd_); }

bool Image::Create(HWND parent, int x, int y, int width, int height) {
  if (hwnd_ || !Register(kImageClass, &Image::WindowProc)) return false;
  return CreateChild(kImageClass, 0, 0, parent, x, y, width, height, this) != nullptr;
}

void Image::SetPicture(HBITMAP picture) {
  picture_ = picture;
  BITMAP info;
  if (hwnd_ && picture && GetObjectW(picture, sizeof(info), &info)) {
    SetWindowPos(hwnd_, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK Image::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return Dispatch(hwnd, message, wparam, lparam, &Image::hwnd_, &Image::HandleMessage);
}

LRESULT Image::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (LRESULT answer; accessible.Handle(hwnd_, message, wparam, lparam, answer)) return answer;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintParentBehind(hwnd_, dc);
      if (picture_) {
        HDC picture_dc = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(picture_dc, picture_);
        BITMAP info;
        GetObjectW(picture_, sizeof(info), &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, picture_dc, 0, 0, SRCCOPY);
        SelectObject(picture_dc, old);
        DeleteDC(picture_dc);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (MouseDown) MouseDown(MouseButton(message));
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace tremblix::forms
