// command_gallery: the push button's six face pictures, and real buttons put
// into every state, side by side in one window for a reviewer's eye.
// The states are reached by calling the button's handlers in order, not by
// input, so the picture does not depend on where the pointer is.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "saver/common/twips.h"
#include "saver/controls/command/command_win32.h"
#include "saver/controls/command/face_pictures.h"
#include "saver/forms/form_win32.h"

namespace tremblix {
namespace {

constexpr wchar_t kTitle[] = L"Tremblix Command gallery";
constexpr int kColumnWidth = 100;  // pixels
constexpr int kLeft = 16;
constexpr int kFacesTop = 28;      // the face pictures, twice their size
constexpr int kButtonsTop = 120;   // the first row of buttons
constexpr int kRowHeight = 40;

struct Column {
  const wchar_t* name;
  void (*enter)(Command&);
};

void Normal(Command& b) {
  b.UserControl_GotFocus();
  b.UserControl_LostFocus();
}
void Hover(Command& b) {
  Normal(b);
  b.UserControl_MouseMove();
}
void Pressed(Command& b) {
  Hover(b);
  b.UserControl_MouseDown(Command::kLeftButton);
}
void Focus(Command& b) { b.UserControl_GotFocus(); }
void FocusHover(Command& b) {
  Focus(b);
  b.UserControl_MouseMove();
}
void HoverThenFocus(Command& b) {
  Hover(b);
  b.UserControl_GotFocus();
  b.UserControl_MouseUp(Command::kLeftButton);  // shows HighLightSelect, no click
}
void Disabled(Command& b) { b.SetEnabled(false); }
void Transparent(Command& b) { b.SetVisible(0); }

constexpr Column kColumns[] = {
    {L"Normal", Normal},         {L"Hover", Hover},
    {L"Pressed", Pressed},       {L"Focus", Focus},
    {L"FocusHover", FocusHover}, {L"Hover, focus", HoverThenFocus},
    {L"Disabled", Disabled},     {L"Transparent", Transparent},
};

struct Row {
  const char* caption;
  int width, height;  // twips
};
constexpr Row kRows[] = {{"設定", 1155, 375}, {"ｷｬﾝｾﾙ", 1155, 375}, {"...", 615, 315}};

constexpr const wchar_t* kFaceNames[kFaceCount] = {L"Normal",   L"HighLight", L"HighLightSelect",
                                                   L"Selected", L"Pressed",   L"Disable"};

class Gallery : public forms::Form {
 public:
  void AddButtons() {
    FontSpec ambient = DesignFont();
    int y = kButtonsTop;
    for (const Row& row : kRows) {
      int x = kLeft;
      for (const Column& column : kColumns) {
        auto button = std::make_unique<CommandWindow>();
        PropertyRecord record;
        record.Set("Caption", std::string(row.caption));
        button->Create(hwnd(), PixelsToTwips(x), PixelsToTwips(y), row.width, row.height, record,
                       ambient);
        column.enter(*button);
        buttons_.push_back(std::move(button));
        x += kColumnWidth;
      }
      y += kRowHeight;
    }
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
  }

 private:
  void Paint(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < kFaceCount; ++i) {
      const int x = kLeft + i * 136;
      TextOutW(dc, x, kFacesTop - 16, kFaceNames[i], lstrlenW(kFaceNames[i]));
      DrawFacePicture(dc, static_cast<Face>(i), x, kFacesTop);
    }
    int x = kLeft;
    for (const Column& column : kColumns) {
      TextOutW(dc, x, kButtonsTop - 18, column.name, lstrlenW(column.name));
      x += kColumnWidth;
    }
    SelectObject(dc, old_font);
  }

  // The picture as embedded in the program, twice its size.
  static void DrawFacePicture(HDC dc, Face face, int x, int y) {
    HDC face_dc = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(face_dc, CommandFaceBitmap(face));
    StretchBlt(dc, x, y, 2 * kFacePixelWidth, 2 * kFacePixelHeight, face_dc, 0, 0,
               kFacePixelWidth, kFacePixelHeight, SRCCOPY);
    SelectObject(face_dc, old);
    DeleteDC(face_dc);
  }

  std::vector<std::unique_ptr<CommandWindow>> buttons_;
};

}  // namespace
}  // namespace tremblix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The pointer rests away from the window so that no button hears it.
  SetCursorPos(0, 0);
  static tremblix::Gallery gallery;
  RECT frame = {0, 0, tremblix::kLeft * 2 + 8 * tremblix::kColumnWidth,
                tremblix::kButtonsTop + 3 * tremblix::kRowHeight + 8};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&frame, style, FALSE);
  if (!gallery.Load(tremblix::kTitle, style, 0, 40, 40, frame.right - frame.left,
                    frame.bottom - frame.top)) {
    return 1;
  }
  gallery.AddButtons();
  ShowWindow(gallery.hwnd(), SW_SHOWNORMAL);
  tremblix::forms::RunUntilLastFormUnloaded();
}
