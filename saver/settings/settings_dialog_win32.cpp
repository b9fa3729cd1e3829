#include "saver/settings/settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include "saver/common/twips.h"
#include "saver/common/wide_text_win32.h"
#include "saver/settings/bands.h"
#include "saver/settings/dialog_layout.h"
#include "saver/startup/profile_win32.h"

namespace tremblix {
namespace {

constexpr wchar_t kCaption[] = L"<Tremblix>";
constexpr wchar_t kProgramTitle[] = L"Tremblix (ScreenSaver)";
constexpr wchar_t kRepeatOutOfRange[] =
    L"曲目をﾘﾋﾟｰﾄ には -32768 から 32767 までの数を入れてください。";
constexpr wchar_t kSaveFailed[] = L"設定を保存できませんでした。";
constexpr wchar_t kFileCannotBeChosen[] =
    L"このファイルは選べません。ファイルの名前か場所を変えてください。";
constexpr wchar_t kChooserFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr UINT kFocusFirst = WM_APP + 1;
constexpr UINT kSaveFailedMessage = WM_APP + 2;
// Far above MAX_PATH: a path too long to keep still comes back whole, to be
// refused with a word rather than taken for a cancel.
constexpr int kChooserBuffer = 32768;
constexpr int kRepeatListRows = 8;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

// The one place the dialog's twips become pixels.
RECT Pixels(const TwipsBox& t) {
  const int left = TwipsToPixels(t.left), top = TwipsToPixels(t.top);
  return {left, top, left + TwipsToPixels(t.width), top + TwipsToPixels(t.height)};
}

HFONT MakeFont(const wchar_t* name, double points, bool underline, BYTE charset) {
  return CreateFontW(-PointsToPixels(points), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                     charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, name);
}

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// PaintBands' lines on a retained surface.
class GdiBands : public BandSurface {
 public:
  explicit GdiBands(forms::Surface& surface) : surface_(surface) {}
  double InnerWidth() override { return surface_.width(); }
  double InnerHeight() override { return surface_.height(); }
  void DrawRow(int y, double width, Rgb colour) override {
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(colour));
    HGDIOBJ old = SelectObject(surface_.dc(), pen);
    MoveToEx(surface_.dc(), 0, y, nullptr);
    LineTo(surface_.dc(), static_cast<int>(width), y);
    SelectObject(surface_.dc(), old);
    DeleteObject(pen);
  }

 private:
  forms::Surface& surface_;
};

PropertyRecord ButtonRecord(const char* caption) {
  PropertyRecord record;
  record.Set("Caption", std::string(caption));
  record.Set("Font", DesignFont());
  return record;
}

}  // namespace

SettingsDialogWindow::SettingsDialogWindow(SettingsRecord& settings, ProfileApi& profile,
                                           std::wstring ini_file, RectAnimator& animator)
    : rules_(*this, settings, profile, std::move(ini_file)), animator_(animator) {}

SettingsDialogWindow::~SettingsDialogWindow() {
  // The controls go with the window, before the pictures and fonts they use.
  Form::Unload();
  for (HBITMAP picture : img_ra_) {
    if (picture) DeleteObject(picture);
  }
  for (HFONT font : {label_font_, url_font_, panel_font_}) {
    if (font) DeleteObject(font);
  }
  if (icon_) DestroyIcon(icon_);
}

bool SettingsDialogWindow::LoadDialog() {
  RECT frame = {0, 0, TwipsToPixels(kDialogClientWidth), TwipsToPixels(kDialogClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  if (!Load(kCaption, kStyle, 0, 0, 0, frame.right - frame.left, frame.bottom - frame.top)) {
    return false;
  }
  if (!CreateControls()) return false;
  rules_.Form_Load();
  return true;
}

void SettingsDialogWindow::CreateFonts() {
  label_font_ = MakeFont(L"ＭＳ Ｐゴシック", kLabelFontPoints, false, SHIFTJIS_CHARSET);
  url_font_ = MakeFont(L"ＭＳ Ｐゴシック", kLabelFontPoints, true, SHIFTJIS_CHARSET);
  panel_font_ = MakeFont(L"Tahoma", kPanelFontPoints, false, ANSI_CHARSET);
}

bool SettingsDialogWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  icon_ = static_cast<HICON>(LoadImageW(instance, L"TREMBLIX", IMAGE_ICON, 32, 32, 0));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  hand_ = LoadCursorW(instance, L"TREMBLIX_HAND");
  img_ra_[0] = static_cast<HBITMAP>(
      LoadImageW(instance, L"MARK_OPEN", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  img_ra_[1] = static_cast<HBITMAP>(
      LoadImageW(instance, L"MARK_FILLED", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  CreateFonts();

  RECT client;
  GetClientRect(hwnd(), &client);
  surface_.Resize(client.right, client.bottom, kDialogBackColour);

  // Created in the keyboard order: the panel holds BGM_Repeat and Cmd_File(0),
  // then come Cmd_Set and Cmd_Can.
  RECT r = Pixels(kPic_C);
  if (!pic_c_.Create(hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                     kPanelBackColour, true)) {
    return false;
  }
  SendMessageW(pic_c_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(panel_font_), FALSE);
  pic_c_.Decorate = [](HDC dc) {
    const RECT s = Pixels(kShape3);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, s.left, s.top, s.right, s.bottom);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
  };
  const HWND panel = pic_c_.hwnd();

  forms::LabelStyle black{label_font_, RGB(0, 0, 0)};
  forms::LabelStyle sized = black;
  sized.auto_size = true;
  auto place = [](forms::Label& label, HWND parent, const TwipsBox& t, const std::wstring& text,
                  const forms::LabelStyle& style) {
    const RECT p = Pixels(t);
    return label.Create(parent, p.left, p.top, p.right - p.left, p.bottom - p.top, text, style);
  };

  forms::LabelStyle centred = black;
  centred.centred = true;
  place(lbl15_, panel, kLbl15, L"BGM", centred);
  for (int i = 0; i < 3; ++i) {
    const RECT p = Pixels(kImg_BGM[i]);
    img_bgm_[i].Create(panel, p.left, p.top, p.right - p.left, p.bottom - p.top);
    img_bgm_[i].MouseDown = [this, i](int) { rules_.Img_BGM_MouseDown(static_cast<int16_t>(i)); };
    place(lbl_bgm_[i], panel, kLbl_BGM[i], Wide(kKindCaptions[i], CP_UTF8), sized);
    lbl_bgm_[i].MouseDown = [this, i](int) { rules_.lbl_BGM_MouseDown(static_cast<int16_t>(i)); };
  }

  r = Pixels(kBGM_Repeat);
  const int field_height = r.bottom - r.top;
  bgm_repeat_ = CreateWindowExW(0, L"ComboBox", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                                r.left, r.top, r.right - r.left, field_height * kRepeatListRows,
                                panel, nullptr, instance, nullptr);
  SendMessageW(bgm_repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(panel_font_), FALSE);
  // The closed box at its designed height.
  RECT closed;
  GetWindowRect(bgm_repeat_, &closed);
  const LRESULT item = SendMessageW(bgm_repeat_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (item > 0) {
    SendMessageW(bgm_repeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 item + field_height - (closed.bottom - closed.top));
  }
  place(lbl14_, panel, kLbl14, L"曲目をﾘﾋﾟｰﾄ", sized);

  const FontSpec ambient = DesignFont();
  cmd_file_.Create(panel, kCmd_File.left, kCmd_File.top, kCmd_File.width, kCmd_File.height,
                   ButtonRecord("..."), ambient);
  cmd_file_.Click = [this] { rules_.Cmd_File_Click(0); };
  forms::LabelStyle framed = black;
  framed.sunken = true;
  framed.wrap = true;
  place(lbl_fname_, panel, kLbl_Fname, L"", framed);

  forms::LabelStyle link = sized;
  link.font = url_font_;
  link.colour = RGB(255, 255, 255);
  link.cursor = hand_;
  place(lbl_url_, hwnd(), kLbl_URL, Wide(kHomePage, CP_UTF8), link);
  lbl_url_.Click = [this] { rules_.lbl_URL_Click(); };

  cmd_set_.Create(hwnd(), kCmd_Set.left, kCmd_Set.top, kCmd_Set.width, kCmd_Set.height,
                  ButtonRecord("設定"), ambient);
  cmd_set_.Click = [this] { rules_.Cmd_Set_Click(); };
  cmd_can_.Create(hwnd(), kCmd_Can.left, kCmd_Can.top, kCmd_Can.width, kCmd_Can.height,
                  ButtonRecord("ｷｬﾝｾﾙ"), ambient);
  cmd_can_.Click = [this] { rules_.Cmd_Can_Click(); };
  controls_ready_ = true;
  return true;
}

LRESULT SettingsDialogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      PaintSurface(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintSurface(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SHOWWINDOW:
      if (wparam && !shown_) {
        shown_ = true;
        Form_Resize();
        PostMessageW(hwnd(), kFocusFirst, 0, 0);
      }
      break;
    case WM_SIZE:
      if (controls_ready_ && shown_) Form_Resize();
      break;
    case kFocusFirst:
      FocusFirstControl();
      return 0;
    case kSaveFailedMessage:
      MessageBoxW(hwnd(), kSaveFailed, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // Every way of closing unloads through here.
      rules_.Form_Unload();
      DestroyWindow(hwnd());
      return 0;
  }
  return Form::HandleMessage(message, wparam, lparam);
}

void SettingsDialogWindow::PaintSurface(HDC dc) { surface_.CopyTo(dc); }

void SettingsDialogWindow::Form_Resize() {
  RECT client;
  GetClientRect(hwnd(), &client);
  surface_.Resize(client.right, client.bottom, kDialogBackColour);
  GdiBands dialog(surface_), panel(pic_c_.surface());
  PaintBands(dialog, panel);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// As a form shows: the focus goes to the first control that can take it.
void SettingsDialogWindow::FocusFirstControl() {
  HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (first) SetFocus(first);
}

double SettingsDialogWindow::ScreenWidth() {
  return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN));
}
double SettingsDialogWindow::ScreenHeight() {
  return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN));
}
double SettingsDialogWindow::WindowWidth() {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return PixelsToTwips(r.right - r.left);
}
double SettingsDialogWindow::WindowHeight() {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return PixelsToTwips(r.bottom - r.top);
}

void SettingsDialogWindow::Move(int32_t left, int32_t top) {
  SetWindowPos(hwnd(), nullptr, TwipsToPixels(left), TwipsToPixels(top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialogWindow::PrepareButtons() {
  for (CommandWindow* button : {&cmd_file_, &cmd_set_, &cmd_can_}) button->Initialize();
}

void SettingsDialogWindow::ShowMark(int index, bool filled) {
  img_bgm_[index].SetPicture(img_ra_[filled ? 1 : 0]);
}

void SettingsDialogWindow::SetRepeatEnabled(bool enabled) { EnableWindow(bgm_repeat_, enabled); }

void SettingsDialogWindow::SetFileButtonEnabled(bool enabled) { cmd_file_.SetEnabled(enabled); }

void SettingsDialogWindow::SetRepeatText(const std::string& text) {
  SetWindowTextW(bgm_repeat_, Wide(text, CP_UTF8).c_str());
}

std::string SettingsDialogWindow::RepeatText() {
  return Narrow(WindowText(bgm_repeat_), CP_UTF8);
}

void SettingsDialogWindow::AddRepeatItem(const std::string& text) {
  SendMessageW(bgm_repeat_, CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(Wide(text, CP_UTF8).c_str()));
}

// Paths are kept in the ANSI code page, as the settings file holds them.
void SettingsDialogWindow::SetFileLabel(int index, const std::string& path) {
  if (index == 0) lbl_fname_.SetText(Wide(path, CP_UTF8));
}

bool SettingsDialogWindow::CursorPos(int32_t& x, int32_t& y) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

void SettingsDialogWindow::ZoomOpen() {
  WindowZoom zoom(hwnd(), animator_);
  tremblix::ZoomOpen(zoom);
}

void SettingsDialogWindow::ZoomClose() {
  WindowZoom zoom(hwnd(), animator_);
  tremblix::ZoomClose(zoom);
}

void SettingsDialogWindow::SetMousePointer(MousePointer pointer) {
  busy_ = pointer == MousePointer::kHourglass;
  if (busy_) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return;
  }
  // Back to whatever the window under the pointer shows.
  POINT p;
  if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
}

// The wide call with the fields of the ANSI request: the title and filter are
// Japanese, which the ANSI code page of a Western system cannot carry. The
// chosen path comes back whole, in UTF-8 like every path we keep.
std::optional<std::string> SettingsDialogWindow::ChooseFile(const std::string& start_folder) {
  std::vector<wchar_t> file(kChooserBuffer, L'\0');
  std::vector<wchar_t> file_title(kChooserBuffer, L'\0');
  const std::wstring folder = Wide(start_folder, CP_UTF8);
  OPENFILENAMEW request = {};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the 76-byte record
  request.hwndOwner = hwnd();
  request.hInstance = GetModuleHandleW(nullptr);
  request.lpstrFilter = kChooserFilter;
  request.lpstrFile = file.data();
  request.nMaxFile = kChooserBuffer;
  request.lpstrFileTitle = file_title.data();
  request.nMaxFileTitle = kChooserBuffer;
  request.lpstrInitialDir = folder.c_str();
  request.lpstrTitle = kChooserTitle;
  request.Flags = 0;
  if (GetOpenFileNameW(&request) <= 0) return std::nullopt;
  return Narrow(file.data(), CP_UTF8);
}

void SettingsDialogWindow::ShowFileCannotBeChosen() {
  MessageBoxW(hwnd(), kFileCannotBeChosen, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
}

void SettingsDialogWindow::OpenHomePage(const std::string& address) {
  ShellExecuteA(hwnd(), "open", address.c_str(), "", "", SW_SHOWNORMAL);
}

// The dialog stays open with the repeat text selected for correcting.
void SettingsDialogWindow::ShowRepeatOutOfRange() {
  MessageBoxW(hwnd(), kRepeatOutOfRange, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  SetFocus(bgm_repeat_);
  SendMessageW(bgm_repeat_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// The dialog stays open with the user's choice, to try again or cancel.
// Posted, so that the button whose click this is has finished with the
// pointer and the focus before the message takes them.
void SettingsDialogWindow::ShowSaveFailed() { PostMessageW(hwnd(), kSaveFailedMessage, 0, 0); }

// Posted, so that the button whose click this is has finished with its window.
void SettingsDialogWindow::Unload() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void ShowSettingsDialogModal() {
  Win32Profile profile;
  SettingsDialogWindow dialog(Settings, profile, ThisSettingsFile());
  if (!dialog.LoadDialog()) return;
  forms::ShowModal(dialog);
}

}  // namespace tremblix
