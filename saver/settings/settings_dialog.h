// The settings dialog Tremblix_P: what its handlers decide, over what they ask
// of the window. The window itself is settings_dialog_win32.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "saver/music/settings.h"
#include "saver/settings/dialog_keys.h"
#include "saver/settings/dialog_layout.h"
#include "saver/startup/settings_file.h"

namespace tremblix {

// Our home page, shown by lbl_URL and opened by it.
inline constexpr char kHomePage[] = "https://tremblix.example/";

// The kind captions lbl_BGM(0 to 2), UTF-8.
inline constexpr const char* kKindCaptions[3] = {"なし", "音楽CD", "MP3、WAV"};

// The caption of the monitors choice lbl_Monitors, UTF-8.
inline constexpr char kMonitorsCaption[] = "すべてのﾓﾆﾀｰに表示";

// The mouse button the monitors choice answers to; its key is kKeySpace.
inline constexpr int16_t kLeftButton = 1;

// What the repeat box offers: 0 to 30 formatted with "##".
std::vector<std::string> RepeatList();

// BgmRepeat from the repeat box's text: a number is rounded to the nearest
// integer, ties to even; any other text is 0. Nothing when the text is a
// number that 16 bits cannot hold.
std::optional<int16_t> RepeatFromText(std::string_view text);

enum class MousePointer { kDefault, kHourglass };

// What the handlers ask of the dialog's window and of the platform.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void PrepareButtons() = 0;  // Initialize on every Command
  // Img_BGM(index) shows Img_Ra(1) when filled, Img_Ra(0) otherwise.
  virtual void ShowMark(int index, bool filled) = 0;
  // Img_Monitors likewise: the filled mark while the scene goes on every
  // monitor.
  virtual void ShowMonitorsMark(bool checked) = 0;
  virtual void SetRepeatEnabled(bool enabled) = 0;
  virtual void SetFileButtonEnabled(bool enabled) = 0;  // Cmd_File(0)
  virtual void SetRepeatText(const std::string& text) = 0;
  virtual std::string RepeatText() = 0;
  virtual void AddRepeatItem(const std::string& text) = 0;
  virtual void SetFileLabel(int index, const std::string& path) = 0;  // lbl_Fname
  virtual bool CursorPos(int32_t& x, int32_t& y) = 0;
  virtual void ZoomOpen() = 0;
  virtual void ZoomClose() = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
  // The file chooser opened in the folder; the chosen path, or nothing. Paths
  // are UTF-8.
  virtual std::optional<std::string> ChooseFile(const std::string& start_folder) = 0;
  // Tells the user the chosen file cannot be kept (its path is too long for
  // the music to play); the earlier choice stays.
  virtual void ShowFileCannotBeChosen() = 0;
  virtual void OpenHomePage(const std::string& address) = 0;
  // Tells the user the repeat text cannot be saved; the dialog stays open.
  virtual void ShowRepeatOutOfRange() = 0;
  // Tells the user the settings could not be saved; the dialog stays open.
  virtual void ShowSaveFailed() = 0;
  virtual void Unload() = 0;
};

class Tremblix_P {
 public:
  // Saves to the settings file ini_file.
  Tremblix_P(DialogHost& host, SettingsRecord& settings, ProfileApi& profile,
             std::wstring ini_file);

  void Form_Load();
  void Img_BGM_MouseDown(int16_t index) { ChooseMusicKind(index); }
  void lbl_BGM_MouseDown(int16_t index) { ChooseMusicKind(index); }
  // The monitors choice turns over at a press of the left button on its mark
  // or its caption, and at Space while it has the focus.
  void Img_Monitors_MouseDown(int16_t button);
  void lbl_Monitors_MouseDown(int16_t button) { Img_Monitors_MouseDown(button); }
  void lbl_Monitors_KeyDown(int16_t key_code);
  void Cmd_File_Click(int16_t index);
  // Writes every key and unloads; refuses, writing nothing, when the
  // repeat text is a number out of range, and stays open, saying so, when the
  // file cannot be written. Returns whether it saved.
  bool Cmd_Set_Click();
  void Cmd_Can_Click();
  void lbl_URL_Click();
  void Form_Unload();

  // Keys on a kind's caption, with the focus on kind index: the arrows and
  // Space choose as a click does. Returns the kind chosen, whose caption
  // takes the focus.
  std::optional<int16_t> lbl_BGM_KeyDown(int16_t index, int16_t key_code);
  // Enter and Space on the home-page link open it.
  void lbl_URL_KeyDown(int16_t key_code);

  // What a press on a kind or on the monitors choice does, for any way of
  // asking.
  void ChooseMusicKind(int16_t index);
  void ToggleMonitors();

 private:
  void ShowMarks(int16_t kind);

  DialogHost& host_;
  SettingsRecord& settings_;
  ProfileApi& profile_;
  const std::wstring ini_file_;
};

}  // namespace tremblix
