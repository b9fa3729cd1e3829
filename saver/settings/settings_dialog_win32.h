// The settings dialog's window: Tremblix_P's controls at their places, its
// painted bands, and the platform calls its handlers ask for.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "saver/common/system_colours_win32.h"
#include "saver/controls/command/command_win32.h"
#include "saver/forms/controls_win32.h"
#include "saver/forms/form_win32.h"
#include "saver/settings/dialog_accessibility.h"
#include "saver/settings/settings_dialog.h"
#include "saver/settings/zoom_win32.h"

namespace tremblix {

inline constexpr wchar_t kChooserTitle[] = L"ﾌｧｲﾙを開く";

class SettingsDialogWindow : public forms::Form, public DialogHost {
 public:
  SettingsDialogWindow(SettingsRecord& settings, ProfileApi& profile, std::wstring ini_file,
                       RectAnimator& animator = PlatformAnimator());
  ~SettingsDialogWindow() override;

  // Creates the window and its controls, hidden, owned by owner (none when
  // null), where it opens (PlaceDialog) at the dpi of that monitor, and runs
  // Form_Load. The owner stays disabled until the dialog closes.
  bool LoadDialog(HWND owner = nullptr);

  // The dots per inch the dialog is laid out at, and its owner while it
  // has one.
  int dpi() const { return dpi_; }
  HWND owner() const { return owner_; }

  // The keyboard's way to what the mouse does, for keys and for a screen
  // reader's default actions alike: a button pressed as a click presses it,
  // and where the focus is.
  void PressButton(DialogButton button);
  DialogStop FocusedStop() const;

  // The controls, for a test to look at.
  forms::Image& Img_BGM(int index) { return img_bgm_[index]; }
  forms::Label& lbl_BGM(int index) { return lbl_bgm_[index]; }
  forms::Label& lbl_Fname() { return lbl_fname_; }
  forms::Label& lbl_URL() { return lbl_url_; }
  forms::Image& Img_Monitors() { return img_monitors_; }
  forms::Label& lbl_Monitors() { return lbl_monitors_; }
  HWND BGM_Repeat() const { return bgm_repeat_; }
  CommandWindow& Cmd_File() { return cmd_file_; }
  CommandWindow& Cmd_Set() { return cmd_set_; }
  CommandWindow& Cmd_Can() { return cmd_can_; }
  forms::PictureBox& Pic_C() { return pic_c_; }
  HBITMAP Img_Ra(int index) const { return img_ra_[index]; }

  // Where the repeat box is named for readers: Windows' own unless a test
  // gives another. Given before LoadDialog.
  void UseAccessibleNames(forms::AccessibleNames& names) { names_ = &names; }

  // Where high contrast and its colours are read: Windows' own unless a
  // test gives others. Given while the dialog is open, it repaints at once.
  void UseColours(SystemColours& colours);

  // DialogHost.
  void PrepareButtons() override;
  void ShowMark(int index, bool filled) override;
  void ShowMonitorsMark(bool checked) override;
  void SetRepeatEnabled(bool enabled) override;
  void SetFileButtonEnabled(bool enabled) override;
  void SetRepeatText(const std::string& text) override;
  std::string RepeatText() override;
  void AddRepeatItem(const std::string& text) override;
  void SetFileLabel(int index, const std::string& path) override;
  bool CursorPos(int32_t& x, int32_t& y) override;
  void ZoomOpen() override;
  void ZoomClose() override;
  void SetMousePointer(MousePointer pointer) override;
  std::optional<std::string> ChooseFile(const std::string& start_folder) override;
  void ShowFileCannotBeChosen() override;
  void OpenHomePage(const std::string& address) override;
  void ShowRepeatOutOfRange() override;
  void ShowSaveFailed() override;
  void Unload() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // How wide and high a focus rectangle's lines are (SPI_GETFOCUSBORDERWIDTH
  // and SPI_GETFOCUSBORDERHEIGHT), for the one drawn in high contrast.
  virtual SIZE FocusBorder();

 private:
  bool CreateControls();
  void MakeFonts();
  void MakePictures();
  void ReleaseFontsAndPictures();
  void LayOut();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void WatchOwner();
  bool OwnerStillThere() const;
  void ReleaseOwner();
  void Form_Resize();
  void PaintSurface(HDC dc);
  void FocusFirstControl();
  void WireKeyboard();
  void ArrangeTabOrder();
  HWND StopWindow(DialogStop stop) const;
  void MoveKindStop();
  void OnKindKey(int index, int key_code);
  bool RepeatListOpen() const;
  LRESULT DefaultButtonId() const;
  bool OnCommand(WPARAM wparam);

  // A screen reader's view of every control (dialog_accessibility_win32).
  void ConnectAccessibility();
  void ForgetNames();
  std::array<HWND, 2> RepeatWindows() const;  // the box and its edit field
  DialogView View();
  std::optional<DialogControl> FocusedControl();
  forms::AccessibleFacts FactsOf(DialogControl control, HWND window, HWND mark);
  void TellChoiceChanged(forms::Label& caption);

  // High contrast (dialog_contrast_win32): the marks, the labels' letters,
  // the buttons and the surfaces in the scheme's colours while it is on.
  void MakeMarks(int band);
  HBITMAP MakeContrastMark(bool filled, int band);
  void ApplyColours();
  void OnColoursChanged(UINT message, WPARAM wparam);
  bool PaintSurfacesInContrast();
  COLORREF HeadingFrameColour();

  // First, so that COM outlives every object a reader may hold.
  forms::ComApartment com_;
  Tremblix_P rules_;
  RectAnimator& animator_;
  forms::Surface surface_;
  forms::PictureBox pic_c_;
  forms::Label lbl15_, lbl14_, lbl_bgm_[3], lbl_fname_, lbl_url_, lbl_monitors_;
  forms::Image img_bgm_[3], img_monitors_;
  HWND bgm_repeat_ = nullptr;
  CommandWindow cmd_file_, cmd_set_, cmd_can_;
  HBITMAP img_ra_[2] = {};
  bool filled_[3] = {};
  bool monitors_checked_ = false;
  HICON icon_ = nullptr, small_icon_ = nullptr;
  HCURSOR hand_ = nullptr;
  int dpi_ = 96;
  HWND owner_ = nullptr;
  DWORD owner_process_ = 0;
  HFONT label_font_ = nullptr, url_font_ = nullptr, panel_font_ = nullptr;
  bool controls_ready_ = false;
  bool shown_ = false;
  bool busy_ = false;  // the hourglass is up
  forms::AccessibleNames* names_ = &forms::PlatformAccessibleNames();
  SystemColours* colours_ = &PlatformSystemColours();
  bool high_contrast_ = false;  // as last applied
};

// Shows the dialog owned by owner (none when null) and returns when it has
// closed.
void ShowSettingsDialogModal(HWND owner);

}  // namespace tremblix
