#include "tools/preview/made_up_desktop_win32.h"

void PaintMadeUpDesktop(HDC dc, int width, int height) {
  RECT area = {0, 0, width, height};
  // A sky from teal to navy, in bands.
  for (int y = 0; y < area.bottom; y += 8) {
    int k = y * 255 / (area.bottom ? area.bottom : 1);
    HBRUSH band = CreateSolidBrush(RGB(0, 160 - k * 120 / 255, 180 - k * 60 / 255));
    RECT row = {0, y, area.right, y + 8};
    FillRect(dc, &row, band);
    DeleteObject(band);
  }
  // A few windows, each with a title bar.
  const struct { int x, y, w, h; COLORREF body, bar; } windows[] = {
      {80, 90, 420, 300, RGB(250, 250, 240), RGB(200, 40, 40)},
      {560, 160, 380, 420, RGB(240, 240, 250), RGB(40, 120, 220)},
      {200, 520, 520, 260, RGB(250, 230, 120), RGB(40, 160, 60)},
      {980, 60, 220, 760, RGB(230, 230, 230), RGB(150, 60, 200)},
  };
  for (const auto& w : windows) {
    HBRUSH body = CreateSolidBrush(w.body), bar = CreateSolidBrush(w.bar);
    RECT whole = {w.x, w.y, w.x + w.w, w.y + w.h}, title = {w.x, w.y, w.x + w.w, w.y + 26};
    FillRect(dc, &whole, body);
    FillRect(dc, &title, bar);
    DeleteObject(body);
    DeleteObject(bar);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HFONT font = CreateFontW(120, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HGDIOBJ old = SelectObject(dc, font);
  RECT text = {0, area.bottom - 200, area.right, area.bottom - 40};
  DrawTextW(dc, L"Tremblix", -1, &text, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
  DeleteObject(font);
}

