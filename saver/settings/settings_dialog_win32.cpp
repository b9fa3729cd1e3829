#include "saver/settings/settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include "saver/common/dpi_win32.h"
#include "saver/common/twips.h"
#include "saver/common/wide_text_win32.h"
#include "saver/settings/bands.h"
#include "saver/settings/dialog_layout.h"
#include "saver/settings/dialog_pictures.h"
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
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on
constexpr UINT_PTR kOwnerWatch = 1;
constexpr UINT kOwnerWatchMs = 500;
// Far above MAX_PATH: a path too long to keep still comes back whole, to be
// refused with a word rather than taken for a cancel.
constexpr int kChooserBuffer = 32768;
constexpr int kRepeatListRows = 8;
// The buttons' commands, as the dialog handling sends Enter and Escape: 設定
// and ｷｬﾝｾﾙ take the platform's own for OK and Cancel.
constexpr int kFileButtonId = 3;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

HFONT MakeFont(const wchar_t* name, double points, bool underline, BYTE charset, int dpi) {
  return CreateFontW(-FontPixelsAt(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                     charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, name);
}

void SetPlace(HWND hwnd, const PixelBox& p) {
  SetWindowPos(hwnd, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A one-bit picture, rows padded to 16 bits as CreateBitmap takes them; a
// set bit is white.
template <typename Set>
HBITMAP MonoBitmap(int width, int height, Set set) {
  const int row = (width + 15) / 16 * 2;
  std::string bits(static_cast<size_t>(row) * height, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (set(x, y)) bits[y * row + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
  }
  return CreateBitmap(width, height, 1, 1, bits.data());
}

// The icon drawn at the size Windows asks for, from the rule that drew the
// 32 x 32 one.
HICON MakeIcon(int size) {
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmMask = MonoBitmap(size, size, [size](int x, int y) {
    return TremblixIconPixelAt(x, y, size).clear;
  });
  info.hbmColor = forms::BitmapFromBmp(DrawBmp(size, size, [size](int x, int y) {
    const IconPixel p = TremblixIconPixelAt(x, y, size);
    return p.clear ? Rgb{0, 0, 0} : p.colour;
  }));
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  return icon;
}

// The two-colour hand with its lines band pixels wide: the AND mask above the
// XOR picture in one bitmap, as a monochrome cursor is made.
HCURSOR MakeHand(int band) {
  const int size = kIconSize * band;
  ICONINFO info = {};
  info.fIcon = FALSE;
  info.xHotspot = kHandHotSpotX * band;
  info.yHotspot = kHandHotSpotY * band;
  info.hbmMask = MonoBitmap(size, 2 * size, [size, band](int x, int y) {
    const HandPixel p = PointingHandPixelAt(x, y % size, band);
    return y < size ? p == HandPixel::kClear : p == HandPixel::kWhite;
  });
  HCURSOR hand = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  return hand;
}

HBITMAP MakeMark(bool filled, int band) {
  return forms::BitmapFromBmp(DrawBmp(kMarkSize * band, kMarkSize * band, [=](int x, int y) {
    return MarkPixelAt(filled, x, y, band);
  }));
}

DWORD ProcessOf(HWND hwnd) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  return process;
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

RECT ClientRect(int dpi) {
  const PixelBox client = DialogClientAt(dpi);
  return {0, 0, client.width, client.height};
}

ScreenBox Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Where the dialog opens and at which dpi: over its owner on the owner's
// monitor, else on the monitor under the pointer.
struct Opening {
  PixelBox window;
  int dpi;
};

Opening PlanOpening(HWND owner) {
  std::optional<ScreenBox> over;
  HMONITOR monitor;
  RECT r;
  // A minimised owner lies far off screen: its monitor is where it was.
  if (owner && !IsIconic(owner) && GetWindowRect(owner, &r)) over = Box(r);
  if (owner) {
    monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  } else {
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
  }
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) {
    info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info.rcWork = info.rcMonitor;
  }
  const int dpi = DpiOfMonitor(monitor);
  const RECT frame = FrameForClient({0, 0, 0, 0}, kStyle, 0, dpi);
  return {PlaceDialog(over, {Box(info.rcMonitor), Box(info.rcWork), dpi},
                      {-frame.left, -frame.top, frame.right, frame.bottom}),
          dpi};
}

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
  ReleaseOwner();
  // The controls go with the window, before the pictures and fonts they use.
  Form::Unload();
  ReleaseFontsAndPictures();
}

bool SettingsDialogWindow::LoadDialog(HWND owner) {
  if (owner && !IsWindow(owner)) owner = nullptr;
  // Made where it opens: a window made on another monitor and moved keeps
  // that monitor's scaling, or Windows resizes it off its place.
  const Opening opening = PlanOpening(owner);
  const PixelBox& place = opening.window;
  if (!Load(kCaption, kStyle, 0, place.left, place.top, place.width, place.height, owner)) {
    return false;
  }
  // Laid out at the dpi Windows gave it, the planned one unless it spills
  // onto a monitor of another; a move to another monitor lays it out again
  // (WM_DPICHANGED).
  dpi_ = DpiOfWindow(hwnd());
  if (dpi_ != opening.dpi) {
    const RECT frame = FrameForClient(ClientRect(dpi_), kStyle, 0, dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!CreateControls()) return false;
  if (owner) {
    owner_ = owner;
    owner_process_ = ProcessOf(owner);
    SetTimer(hwnd(), kOwnerWatch, kOwnerWatchMs, nullptr);
  }
  rules_.Form_Load();
  // The page that opened the dialog waits for it, as for a modal dialog of
  // its own.
  if (owner_) EnableWindow(owner_, FALSE);
  return true;
}

// The handle may name another window by now: only one of the owner's
// process counts.
bool SettingsDialogWindow::OwnerStillThere() const {
  return IsWindow(owner_) && ProcessOf(owner_) == owner_process_;
}

void SettingsDialogWindow::ReleaseOwner() {
  if (!owner_) return;
  if (OwnerStillThere()) EnableWindow(owner_, TRUE);
  owner_ = nullptr;
  if (hwnd()) KillTimer(hwnd(), kOwnerWatch);
}

// An owner destroyed while the dialog is open leaves it open and unowned.
void SettingsDialogWindow::WatchOwner() {
  if (!owner_ || OwnerStillThere()) return;
  owner_ = nullptr;
  KillTimer(hwnd(), kOwnerWatch);
  SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, 0);
}

void SettingsDialogWindow::MakeFonts() {
  label_font_ = MakeFont(L"ＭＳ Ｐゴシック", kLabelFontPoints, false, SHIFTJIS_CHARSET, dpi_);
  url_font_ = MakeFont(L"ＭＳ Ｐゴシック", kLabelFontPoints, true, SHIFTJIS_CHARSET, dpi_);
  panel_font_ = MakeFont(L"Tahoma", kPanelFontPoints, false, ANSI_CHARSET, dpi_);
}

// The marks, the icons and the hand at the dialog's dpi; at 96 the ones
// stored with the program.
void SettingsDialogWindow::MakePictures() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const int band = BandWidth(dpi_);
  const int big = MetricAtDpi(SM_CXICON, dpi_), small = MetricAtDpi(SM_CXSMICON, dpi_);
  icon_ = big == kIconSize
              ? static_cast<HICON>(LoadImageW(instance, L"TREMBLIX", IMAGE_ICON, big, big, 0))
              : MakeIcon(big);
  small_icon_ = MakeIcon(small > 0 ? small : kIconSize / 2);
  if (band == 1) {
    hand_ = static_cast<HCURSOR>(
        LoadImageW(instance, L"TREMBLIX_HAND", IMAGE_CURSOR, kIconSize, kIconSize, 0));
  } else {
    hand_ = MakeHand(band);
  }
  MakeMarks(band);
}

// Img_Ra(0) and (1) at this band width: stored with the program at 1, drawn
// from the same rule above, and in the scheme's colours in high contrast.
void SettingsDialogWindow::MakeMarks(int band) {
  for (int i = 0; i < 2; ++i) {
    const bool filled = i == 1;
    if (colours_->HighContrastOn()) {
      img_ra_[i] = MakeContrastMark(filled, band);
    } else if (band == 1) {
      img_ra_[i] = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                   filled ? L"MARK_FILLED" : L"MARK_OPEN",
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    } else {
      img_ra_[i] = MakeMark(filled, band);
    }
  }
}

void SettingsDialogWindow::ReleaseFontsAndPictures() {
  for (HBITMAP& picture : img_ra_) {
    if (picture) DeleteObject(picture);
    picture = nullptr;
  }
  for (HFONT* font : {&label_font_, &url_font_, &panel_font_}) {
    if (*font) DeleteObject(*font);
    *font = nullptr;
  }
  for (HICON* icon : {&icon_, &small_icon_}) {
    if (*icon) DestroyIcon(*icon);
    *icon = nullptr;
  }
  if (hand_) DestroyCursor(hand_);
  hand_ = nullptr;
}

bool SettingsDialogWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  MakeFonts();
  MakePictures();

  // Created in the keyboard order: the panel holds BGM_Repeat and Cmd_File(0),
  // then come the monitors choice, Cmd_Set and Cmd_Can. LayOut gives them
  // their places.
  if (!pic_c_.Create(hwnd(), 0, 0, 0, 0, kPanelBackColour, true)) return false;
  pic_c_.Decorate = [this](HDC dc) {
    const PixelBox s = PixelsAt(kShape3, dpi_);
    // A line of one pixel at 96 dpi, as wide as any other band at this one.
    HPEN pen = CreatePen(PS_INSIDEFRAME, BandWidth(dpi_), HeadingFrameColour());
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, s.left, s.top, s.left + s.width, s.top + s.height);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
  };
  const HWND panel = pic_c_.hwnd();

  forms::LabelStyle black{label_font_, RGB(0, 0, 0)};
  forms::LabelStyle sized = black;
  sized.auto_size = true;
  forms::LabelStyle centred = black;
  centred.centred = true;
  lbl15_.Create(panel, 0, 0, 0, 0, L"BGM", centred);
  for (int i = 0; i < 3; ++i) {
    img_bgm_[i].Create(panel, 0, 0, 0, 0);
    img_bgm_[i].MouseDown = [this, i](int) { rules_.Img_BGM_MouseDown(static_cast<int16_t>(i)); };
    lbl_bgm_[i].Create(panel, 0, 0, 0, 0, Wide(kKindCaptions[i], CP_UTF8), sized);
    lbl_bgm_[i].MouseDown = [this, i](int) { rules_.lbl_BGM_MouseDown(static_cast<int16_t>(i)); };
  }

  bgm_repeat_ = CreateWindowExW(0, L"ComboBox", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                                0, 0, 0, 0, panel, nullptr, instance, nullptr);
  lbl14_.Create(panel, 0, 0, 0, 0, L"曲目をﾘﾋﾟｰﾄ", sized);

  const FontSpec ambient = DesignFont();
  cmd_file_.Create(panel, kCmd_File.left, kCmd_File.top, kCmd_File.width, kCmd_File.height,
                   ButtonRecord("..."), ambient, dpi_);
  cmd_file_.Click = [this] { rules_.Cmd_File_Click(0); };
  forms::LabelStyle framed = black;
  framed.sunken = true;
  framed.wrap = true;
  lbl_fname_.Create(panel, 0, 0, 0, 0, L"", framed);

  forms::LabelStyle link = sized;
  link.font = url_font_;
  link.colour = RGB(255, 255, 255);
  link.cursor = hand_;
  lbl_url_.Create(hwnd(), 0, 0, 0, 0, Wide(kHomePage, CP_UTF8), link);
  lbl_url_.Click = [this] { rules_.lbl_URL_Click(); };

  // Drawn as the kinds are, a mark and a transparent caption over the bands;
  // the caption is what takes the focus, for the mark as well.
  img_monitors_.Create(hwnd(), 0, 0, 0, 0);
  img_monitors_.MouseDown = [this](int button) {
    if (button == kLeftButton) SetFocus(lbl_monitors_.hwnd());
    rules_.Img_Monitors_MouseDown(static_cast<int16_t>(button));
  };
  lbl_monitors_.Create(hwnd(), 0, 0, 0, 0, Wide(kMonitorsCaption, CP_UTF8), sized);
  lbl_monitors_.MouseDown = [this](int button) {
    rules_.lbl_Monitors_MouseDown(static_cast<int16_t>(button));
  };
  lbl_monitors_.KeyDown = [this](int key) {
    rules_.lbl_Monitors_KeyDown(static_cast<int16_t>(key));
  };

  cmd_set_.Create(hwnd(), kCmd_Set.left, kCmd_Set.top, kCmd_Set.width, kCmd_Set.height,
                  ButtonRecord("設定"), ambient, dpi_);
  cmd_set_.Click = [this] { rules_.Cmd_Set_Click(); };
  cmd_can_.Create(hwnd(), kCmd_Can.left, kCmd_Can.top, kCmd_Can.width, kCmd_Can.height,
                  ButtonRecord("ｷｬﾝｾﾙ"), ambient, dpi_);
  cmd_can_.Click = [this] { rules_.Cmd_Can_Click(); };
  WireKeyboard();
  LayOut();
  ApplyColours();
  ConnectAccessibility();
  controls_ready_ = true;
  return true;
}

// Every control at its place for dpi_, with the fonts and pictures made for
// it.
void SettingsDialogWindow::LayOut() {
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
  RECT client;
  GetClientRect(hwnd(), &client);
  surface_.Resize(client.right, client.bottom, kDialogBackColour);

  SetPlace(pic_c_.hwnd(), PixelsAt(kPic_C, dpi_));
  SendMessageW(pic_c_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(panel_font_), FALSE);
  auto place = [this](forms::Label& label, const TwipsBox& t, HFONT font) {
    label.SetFont(font);
    const PixelBox p = PixelsAt(t, dpi_);
    label.Place(p.left, p.top, p.width, p.height);
  };
  place(lbl15_, kLbl15, label_font_);
  for (int i = 0; i < 3; ++i) {
    const PixelBox p = PixelsAt(kImg_BGM[i], dpi_);
    SetPlace(img_bgm_[i].hwnd(), p);
    img_bgm_[i].SetPicture(img_ra_[filled_[i] ? 1 : 0]);
    place(lbl_bgm_[i], kLbl_BGM[i], label_font_);
  }

  const PixelBox r = PixelsAt(kBGM_Repeat, dpi_);
  SendMessageW(bgm_repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(panel_font_), FALSE);
  SetPlace(bgm_repeat_, {r.left, r.top, r.width, r.height * kRepeatListRows});
  // The closed box at its designed height.
  RECT closed;
  GetWindowRect(bgm_repeat_, &closed);
  const LRESULT item = SendMessageW(bgm_repeat_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (item > 0) {
    SendMessageW(bgm_repeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 item + r.height - (closed.bottom - closed.top));
  }
  place(lbl14_, kLbl14, label_font_);
  place(lbl_fname_, kLbl_Fname, label_font_);
  lbl_url_.SetCursor(hand_);
  place(lbl_url_, kLbl_URL, url_font_);
  SetPlace(img_monitors_.hwnd(), PixelsAt(kImg_Monitors, dpi_));
  img_monitors_.SetPicture(img_ra_[monitors_checked_ ? 1 : 0]);
  place(lbl_monitors_, kLbl_Monitors, label_font_);
  for (CommandWindow* button : {&cmd_file_, &cmd_set_, &cmd_can_}) button->SetDpi(dpi_);
}

// A move to a monitor of other scaling: everything again at the dpi the
// message carries, in the rectangle Windows suggests.
void SettingsDialogWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0 || !controls_ready_) return;
  dpi_ = dpi;
  // The old fonts and pictures go once nothing shows them any more.
  const HGDIOBJ old_objects[] = {label_font_, url_font_, panel_font_, img_ra_[0], img_ra_[1]};
  const HICON old_icons[] = {icon_, small_icon_};
  const HCURSOR old_hand = hand_;
  MakeFonts();
  MakePictures();
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  if (shown_) Form_Resize();
  for (HGDIOBJ object : old_objects) {
    if (object) DeleteObject(object);
  }
  for (HICON icon : old_icons) {
    if (icon) DestroyIcon(icon);
  }
  if (old_hand) DestroyCursor(old_hand);
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
    case DM_GETDEFID:
      return DefaultButtonId();
    case WM_COMMAND:
      if (OnCommand(wparam)) return 0;
      break;
    case kDpiChanged:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kOwnerWatch) WatchOwner();
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      OnColoursChanged(message, wparam);
      break;
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
      // Every way of closing unloads through here. The owner is enabled
      // before the window goes, so that Windows gives it the activation.
      rules_.Form_Unload();
      ReleaseOwner();
      DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      ReleaseOwner();  // destroyed another way
      ForgetNames();   // while the controls are still there
      break;
  }
  return Form::HandleMessage(message, wparam, lparam);
}

void SettingsDialogWindow::PaintSurface(HDC dc) { surface_.CopyTo(dc); }

void SettingsDialogWindow::Form_Resize() {
  RECT client;
  GetClientRect(hwnd(), &client);
  surface_.Resize(client.right, client.bottom, kDialogBackColour);
  GdiBands dialog(surface_), panel(pic_c_.surface());
  if (!PaintSurfacesInContrast()) PaintBands(dialog, panel);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// As a form shows: the focus goes to the first control that can take it.
void SettingsDialogWindow::FocusFirstControl() {
  HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (first) SetFocus(first);
}

// --- The keyboard -------------------------------------------------------------

// The kinds one stop that the arrows go through, the home-page link a stop
// that Enter and Space open, the buttons known to the dialog handling by
// their commands, and Tab in the order kTabOrder gives.
void SettingsDialogWindow::WireKeyboard() {
  SetWindowLongPtrW(cmd_set_.hwnd(), GWLP_ID, IDOK);
  SetWindowLongPtrW(cmd_can_.hwnd(), GWLP_ID, IDCANCEL);
  SetWindowLongPtrW(cmd_file_.hwnd(), GWLP_ID, kFileButtonId);
  // Each control answers the dialog handling as Windows' own of its kind:
  // the kinds as radio buttons (that walk by the arrows themselves), the
  // monitors choice and the link as buttons.
  for (int i = 0; i < 3; ++i) {
    lbl_bgm_[i].MakeStop(DLGC_BUTTON | DLGC_RADIOBUTTON | DLGC_WANTARROWS, false);
    lbl_bgm_[i].KeyDown = [this, i](int key) { OnKindKey(i, key); };
    // A press on the mark takes the focus to its caption, as a press there does.
    img_bgm_[i].MouseDown = [this, i, choose = img_bgm_[i].MouseDown](int button) {
      if (button == kLeftButton) SetFocus(lbl_bgm_[i].hwnd());
      if (choose) choose(button);
    };
  }
  lbl_url_.MakeStop(DLGC_BUTTON, true);
  lbl_monitors_.MakeStop(DLGC_BUTTON, false);
  for (auto [button, control] : {std::pair{&cmd_file_, DialogControl::kFileButton},
                                 {&cmd_set_, DialogControl::kSave},
                                 {&cmd_can_, DialogControl::kCancel}}) {
    button->IsDefault = [this, control] { return IsDefaultButton(control, FocusedControl()); };
  }
  lbl_url_.KeyDown = [this](int key) { rules_.lbl_URL_KeyDown(static_cast<int16_t>(key)); };
  ArrangeTabOrder();
}

// Tab follows the order of the dialog's own windows: each stop's after the
// one before it. The panel holds the kinds, the repeat box and the file
// button, made in that order.
void SettingsDialogWindow::ArrangeTabOrder() {
  HWND previous = nullptr;
  for (DialogStop stop : kTabOrder) {
    HWND window = StopWindow(stop);
    while (window && GetParent(window) != hwnd()) window = GetParent(window);
    if (!window) continue;
    if (previous && window != previous) {
      SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    previous = window;
  }
  // Each window a group of its own: an arrow that the dialog handling walks
  // (on a button) finds no other window to take the focus to. The file
  // label, which takes no key, goes before its button and joins the group
  // of the caption before it.
  SetWindowPos(lbl_fname_.hwnd(), lbl14_.hwnd(), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND parent : {hwnd(), pic_c_.hwnd()}) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w != lbl_fname_.hwnd()) SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE) | WS_GROUP);
    }
  }
}

HWND SettingsDialogWindow::StopWindow(DialogStop stop) const {
  switch (stop) {
    case DialogStop::kKinds: return lbl_bgm_[kKindsOnScreen[0]].hwnd();
    case DialogStop::kRepeatBox: return bgm_repeat_;
    case DialogStop::kFileButton: return cmd_file_.hwnd();
    case DialogStop::kMonitors: return lbl_monitors_.hwnd();
    case DialogStop::kSet: return cmd_set_.hwnd();
    case DialogStop::kCancel: return cmd_can_.hwnd();
    case DialogStop::kHomePage: return lbl_url_.hwnd();
    case DialogStop::kElsewhere: break;
  }
  return nullptr;
}

DialogStop SettingsDialogWindow::FocusedStop() const {
  const HWND focus = GetFocus();
  if (!focus) return DialogStop::kElsewhere;
  for (const forms::Label& kind : lbl_bgm_) {
    if (focus == kind.hwnd()) return DialogStop::kKinds;
  }
  // The repeat box's text is a window of its own inside it.
  if (IsChild(bgm_repeat_, focus)) return DialogStop::kRepeatBox;
  for (DialogStop stop : kTabOrder) {
    if (focus == StopWindow(stop)) return stop;
  }
  return DialogStop::kElsewhere;
}

// The one caption of the kinds that Tab stops at follows the choice.
void SettingsDialogWindow::MoveKindStop() {
  int16_t chosen = -1;
  for (int16_t i = 0; i < 3; ++i) {
    if (filled_[i]) chosen = i;
  }
  const int16_t stop = KindTabStop(chosen);
  for (int i = 0; i < 3; ++i) lbl_bgm_[i].SetTabStop(i == stop);
}

void SettingsDialogWindow::OnKindKey(int index, int key_code) {
  const std::optional<int16_t> kind =
      rules_.lbl_BGM_KeyDown(static_cast<int16_t>(index), static_cast<int16_t>(key_code));
  if (kind) SetFocus(lbl_bgm_[*kind].hwnd());
}

bool SettingsDialogWindow::RepeatListOpen() const {
  return SendMessageW(bgm_repeat_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// Enter: the dialog handling asks which button is the default, and sends its
// command.
LRESULT SettingsDialogWindow::DefaultButtonId() const {
  switch (ButtonForKey(kKeyReturn, FocusedStop(), RepeatListOpen())) {
    case DialogButton::kFileButton: return MAKELRESULT(kFileButtonId, DC_HASDEFID);
    case DialogButton::kSet: return MAKELRESULT(IDOK, DC_HASDEFID);
    case DialogButton::kCancel: return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case DialogButton::kNone: break;
  }
  return 0;
}

// Enter and Escape as the dialog handling sends them: the default button's
// command, OK when there was none, Cancel for Escape.
bool SettingsDialogWindow::OnCommand(WPARAM wparam) {
  if (HIWORD(wparam) != BN_CLICKED) return false;
  const DialogStop focus = FocusedStop();
  switch (LOWORD(wparam)) {
    case kFileButtonId:
      PressButton(DialogButton::kFileButton);
      return true;
    case IDOK:
      PressButton(ButtonForKey(kKeyReturn, focus, RepeatListOpen()));
      return true;
    case IDCANCEL:
      PressButton(ButtonForKey(kKeyEscape, focus, RepeatListOpen()));
      return true;
  }
  return false;
}

void SettingsDialogWindow::PressButton(DialogButton button) {
  switch (button) {
    case DialogButton::kFileButton: cmd_file_.Press(); break;
    case DialogButton::kSet: cmd_set_.Press(); break;
    case DialogButton::kCancel: cmd_can_.Press(); break;
    case DialogButton::kNone: break;
  }
}

void SettingsDialogWindow::PrepareButtons() {
  for (CommandWindow* button : {&cmd_file_, &cmd_set_, &cmd_can_}) button->Initialize();
}

void SettingsDialogWindow::ShowMark(int index, bool filled) {
  filled_[index] = filled;
  img_bgm_[index].SetPicture(img_ra_[filled ? 1 : 0]);
  TellChoiceChanged(lbl_bgm_[index]);
  MoveKindStop();
}

void SettingsDialogWindow::ShowMonitorsMark(bool checked) {
  monitors_checked_ = checked;
  img_monitors_.SetPicture(img_ra_[checked ? 1 : 0]);
  TellChoiceChanged(lbl_monitors_);
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

void ShowSettingsDialogModal(HWND owner) {
  Win32Profile profile;
  SettingsDialogWindow dialog(Settings, profile, ThisSettingsFile());
  if (!dialog.LoadDialog(owner)) return;
  forms::ShowModal(dialog);
}

}  // namespace tremblix
