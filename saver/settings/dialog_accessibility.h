// What a screen reader is told of each control of the settings dialog: its
// role, name, value, states and default action, from what the dialog shows.
// The numbers are Active Accessibility's own; the window layer hands them on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tremblix {

// Roles, as ROLE_SYSTEM_* number them.
enum class AccessibleRole : int32_t {
  kLink = 0x1E,
  kStaticText = 0x29,
  kPushButton = 0x2B,
  kCheckBox = 0x2C,
  kRadioButton = 0x2D,
};

// States, as STATE_SYSTEM_* number them.
namespace accessible_state {
inline constexpr uint32_t kUnavailable = 0x1;
inline constexpr uint32_t kFocused = 0x4;
inline constexpr uint32_t kChecked = 0x10;
inline constexpr uint32_t kReadOnly = 0x40;
inline constexpr uint32_t kDefault = 0x100;
inline constexpr uint32_t kInvisible = 0x8000;
inline constexpr uint32_t kFocusable = 0x100000;
inline constexpr uint32_t kLinked = 0x400000;
}  // namespace accessible_state

// Every control of ours a user meets, each once: a kind is one radio button
// however many windows draw its mark and its caption. The kinds go by
// BgmKind. The repeat box is Windows' own and answers for itself.
enum class DialogControl {
  kKindNone,
  kKindCd,
  kKindFile,
  kHeading,        // lbl(15) "BGM"
  kRepeatCaption,  // lbl(14)
  kFileButton,     // Cmd_File(0)
  kFileLabel,      // lbl_Fname(0)
  kMonitors,
  kSave,      // Cmd_Set
  kCancel,    // Cmd_Can
  kHomePage,  // lbl_URL
};

// The repeat box's caption lbl(14), which names the box too.
inline constexpr char kRepeatCaption[] = "曲目をﾘﾋﾟｰﾄ";

// The file button's caption "..." says nothing to a listener: its name says
// what it does.
inline constexpr char kFileButtonName[] = "音楽ファイルを選ぶ";

// What the dialog shows at the moment of the question.
struct DialogView {
  int16_t kind = 0;  // the chosen kind; none outside 0 to 2
  bool all_monitors = false;
  bool file_button_enabled = false;
  std::string file_path;  // UTF-8, as the file label shows it
  std::optional<DialogControl> focused;
};

struct AccessibleProperties {
  AccessibleRole role;
  std::string name;   // UTF-8
  std::string value;  // UTF-8; empty: none
  uint32_t state;
  std::string default_action;  // UTF-8; empty: none
};

AccessibleProperties AccessiblePropertiesOf(DialogControl control, const DialogView& view);

// As Windows' push buttons: the one with the focus is the default, and 設定
// while no button has it.
bool IsDefaultButton(DialogControl button, std::optional<DialogControl> focused);

}  // namespace tremblix
