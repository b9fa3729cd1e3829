// Tremblix_R: a still picture of the effect inside the display settings'
// preview area.
#include "saver/run/run_win32.h"

#include "saver/common/dpi_win32.h"
#include "saver/forms/form_win32.h"

namespace tremblix {
namespace {

constexpr UINT_PTR kHostWatch = 1;
constexpr UINT kHostWatchMs = 1000;

class PreviewForm : public forms::Form {
 public:
  void Embed(HWND host) {
    // Made in the host's awareness, so that the host's client area is read
    // and filled in the host's own pixels at any scaling.
    TakeAwarenessOf(host);
    // A host whose client area cannot be read gives a preview of no size.
    RECT area = {};
    if (!GetClientRect(host, &area)) area = {};
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!Load(L"Preview Window", WS_POPUP, 0, 0, 0, width, height)) return;
    LONG style = GetWindowLongA(hwnd(), GWL_STYLE);
    SetWindowLongA(hwnd(), GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    SetParent(hwnd(), host);
    MoveWindow(hwnd(), 0, 0, width, height, TRUE);
    host_ = host;
    // A host in another process may go without destroying us first.
    SetTimer(hwnd(), kHostWatch, kHostWatchMs, nullptr);
    ShowWindow(hwnd(), SW_SHOW);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_CREATE:
        picture_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"PREVIEW",
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd(), &paint);
        Paint(dc);
        EndPaint(hwnd(), &paint);
        return 0;
      }
      case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wparam));
        return 0;
      case WM_TIMER:
        if (!IsWindow(host_)) {
          Unload();  // the window is gone: nothing of ours is left to paint
          return 0;
        }
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
      case WM_DESTROY:
        if (picture_) DeleteObject(picture_);
        picture_ = nullptr;
        return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
  }

 private:
  // The picture fills the window, on black where it cannot be drawn.
  void Paint(HDC dc) {
    RECT area;
    GetClientRect(hwnd(), &area);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    BITMAP info;
    if (picture_ && GetObjectW(picture_, sizeof(info), &info)) {
      HDC picture_dc = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(picture_dc, picture_);
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, 0, 0, area.right, area.bottom, picture_dc, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
      SelectObject(picture_dc, old);
      DeleteDC(picture_dc);
    }
  }

  HWND host_ = nullptr;
  HBITMAP picture_ = nullptr;
};

PreviewForm g_preview;

}  // namespace

void EmbedPreview(HWND host) {
  // Nothing to show in: with no form loaded the program ends.
  if (!IsWindow(host)) return;
  g_preview.Embed(host);
}

}  // namespace tremblix
