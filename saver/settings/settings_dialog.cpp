#include "saver/settings/settings_dialog.h"

#include "saver/common/numbers.h"
#include "saver/settings/dialog_layout.h"
#include "saver/settings/zoom.h"

namespace tremblix {

std::vector<std::string> RepeatList() {
  std::vector<std::string> list;
  for (int i = 0; i <= 30; ++i) list.push_back(FormatHashHash(i));
  return list;
}

std::optional<int16_t> RepeatFromText(std::string_view text) {
  if (!HasNumberForm(text)) return 0;
  // A number too large even for a double is out of range like any other.
  std::optional<double> number = ParseNumber(text);
  if (!number) return std::nullopt;
  return RoundToInt16(*number);
}

Tremblix_P::Tremblix_P(DialogHost& host, SettingsRecord& settings, ProfileApi& profile,
                       std::wstring ini_file)
    : host_(host), settings_(settings), profile_(profile), ini_file_(std::move(ini_file)) {}

// Its place is where its window was made (PlaceDialog): made elsewhere and
// moved, it would keep the scaling of the monitor it was made on.
void Tremblix_P::Form_Load() {
  host_.PrepareButtons();
  host_.SetRepeatEnabled(false);
  ShowMarks(settings_.BgmKind);
  if (settings_.BgmKind == kBgmCd) host_.SetRepeatEnabled(true);
  host_.SetFileButtonEnabled(settings_.BgmKind == kBgmFile);
  host_.SetRepeatText(FormatHashHash(settings_.BgmRepeat));
  for (const std::string& item : RepeatList()) host_.AddRepeatItem(item);
  host_.SetFileLabel(0, settings_.BgmFile);
  host_.ShowMonitorsMark(settings_.AllMonitors);

  int32_t x = 0, y = 0;
  if (host_.CursorPos(x, y)) {
    ZoomPointX = static_cast<int16_t>(x);
    ZoomPointY = static_cast<int16_t>(y);
  } else {
    ZoomPointX = ZoomPointY = 0;
  }
  host_.ZoomOpen();
  host_.SetMousePointer(MousePointer::kDefault);
}

// A kind outside 0 to 2 fills no mark.
void Tremblix_P::ShowMarks(int16_t kind) {
  for (int i = 0; i < 3; ++i) host_.ShowMark(i, false);
  if (kind >= 0 && kind < 3) host_.ShowMark(kind, true);
}

void Tremblix_P::ChooseMusicKind(int16_t index) {
  settings_.BgmKind = index;
  host_.SetFileButtonEnabled(false);
  host_.SetRepeatEnabled(false);
  ShowMarks(index);
  if (index == kBgmCd) host_.SetRepeatEnabled(true);
  if (index == kBgmFile) host_.SetFileButtonEnabled(true);
}

std::optional<int16_t> Tremblix_P::lbl_BGM_KeyDown(int16_t index, int16_t key_code) {
  const std::optional<int16_t> kind = KindForKey(index, key_code);
  if (kind) ChooseMusicKind(*kind);
  return kind;
}

void Tremblix_P::lbl_URL_KeyDown(int16_t key_code) {
  if (key_code == kKeyReturn || key_code == kKeySpace) lbl_URL_Click();
}

void Tremblix_P::Img_Monitors_MouseDown(int16_t button) {
  if (button == kLeftButton) ToggleMonitors();
}

void Tremblix_P::lbl_Monitors_KeyDown(int16_t key_code) {
  if (key_code == kKeySpace) ToggleMonitors();
}

// In memory until 設定 saves it with the rest.
void Tremblix_P::ToggleMonitors() {
  settings_.AllMonitors = !settings_.AllMonitors;
  host_.ShowMonitorsMark(settings_.AllMonitors);
}

void Tremblix_P::Cmd_File_Click(int16_t index) {
  std::optional<std::string> chosen = host_.ChooseFile(settings_.BgmFolder);
  if (!chosen) return;
  // A path the music could not play from is never taken in silence: the
  // earlier choice stays, and the user hears why.
  if (!PathCanBeKept(*chosen)) {
    host_.ShowFileCannotBeChosen();
    return;
  }
  settings_.BgmFile = *chosen;
  host_.SetFileLabel(index, settings_.BgmFile);
  // UTF-8: no byte of a longer character is a colon or a backslash.
  settings_.BgmFolder = FolderOf(settings_.BgmFile, &NoLeadBytes);
}

bool Tremblix_P::Cmd_Set_Click() {
  // Checked before the first key is written, so that a refusal leaves the
  // file whole.
  std::optional<int16_t> repeat = RepeatFromText(host_.RepeatText());
  if (!repeat) {
    host_.ShowRepeatOutOfRange();
    return false;
  }
  settings_.BgmRepeat = *repeat;
  if (!SaveSettings(profile_, ini_file_, settings_)) {
    host_.ShowSaveFailed();
    return false;
  }
  host_.Unload();
  return true;
}

void Tremblix_P::Cmd_Can_Click() { host_.Unload(); }

void Tremblix_P::lbl_URL_Click() {
  host_.SetMousePointer(MousePointer::kHourglass);
  host_.OpenHomePage(kHomePage);
  host_.SetMousePointer(MousePointer::kDefault);
}

void Tremblix_P::Form_Unload() { host_.ZoomClose(); }

}  // namespace tremblix
