// What a screen reader is told of the settings dialog, and its high contrast colours.
#include <gtest/gtest.h>

#include "saver/settings/dialog_accessibility.h"
#include "saver/settings/dialog_contrast.h"
#include "saver/settings/settings_dialog.h"

namespace tremblix {
namespace {

using C = DialogControl;
using R = AccessibleRole;
namespace s = accessible_state;

DialogView View(int16_t kind, std::optional<C> focused = std::nullopt, bool all_monitors = true) {
  DialogView view;
  view.kind = kind;
  view.all_monitors = all_monitors;
  view.file_button_enabled = kind == 2;
  view.file_path = "C:\\音楽\\曲.mp3";
  view.focused = focused;
  return view;
}

struct PropertiesRow {
  C control;
  DialogView view;
  R role;
  const char* name;
  uint32_t state;
  const char* action;
};

TEST(DialogAccessibilityTest, EachControlsRoleNameStateAndAction) {
  const PropertiesRow rows[] = {
      {C::kKindNone, View(0), R::kRadioButton, "なし", s::kFocusable | s::kChecked, "選ぶ"},
      {C::kKindCd, View(0), R::kRadioButton, "音楽CD", s::kFocusable, "選ぶ"},
      {C::kKindFile, View(2, C::kKindFile), R::kRadioButton, "MP3、WAV", s::kFocusable | s::kChecked | s::kFocused, "選ぶ"},
      // A kind loaded from outside 0 to 2 checks none.
      {C::kKindNone, View(5), R::kRadioButton, "なし", s::kFocusable, "選ぶ"},
      {C::kKindFile, View(-1), R::kRadioButton, "MP3、WAV", s::kFocusable, "選ぶ"},
      {C::kMonitors, View(0), R::kCheckBox, "すべてのﾓﾆﾀｰに表示", s::kFocusable | s::kChecked, "切り替える"},
      {C::kMonitors, View(0, {}, false), R::kCheckBox, "すべてのﾓﾆﾀｰに表示", s::kFocusable, "切り替える"},
      // 設定 is the default while no button has the focus; the focused one is.
      {C::kSave, View(0), R::kPushButton, "設定", s::kFocusable | s::kDefault, "押す"},
      {C::kSave, View(0, C::kKindCd), R::kPushButton, "設定", s::kFocusable | s::kDefault, "押す"},
      {C::kSave, View(0, C::kCancel), R::kPushButton, "設定", s::kFocusable, "押す"},
      {C::kCancel, View(0, C::kCancel), R::kPushButton, "ｷｬﾝｾﾙ", s::kFocusable | s::kDefault | s::kFocused, "押す"},
      {C::kCancel, View(0), R::kPushButton, "ｷｬﾝｾﾙ", s::kFocusable, "押す"},
      // The file button is unavailable, with nothing to do, but for MP3、WAV.
      {C::kFileButton, View(0), R::kPushButton, "音楽ファイルを選ぶ", s::kUnavailable, ""},
      {C::kFileButton, View(2, C::kFileButton), R::kPushButton, "音楽ファイルを選ぶ", s::kFocusable | s::kDefault | s::kFocused, "押す"},
      {C::kFileButton, View(2, C::kSave), R::kPushButton, "音楽ファイルを選ぶ", s::kFocusable, "押す"},
      {C::kHomePage, View(0, C::kHomePage), R::kLink, "https://tremblix.example/", s::kFocusable | s::kLinked | s::kFocused, "開く"},
      {C::kRepeatCaption, View(1), R::kStaticText, "曲目をﾘﾋﾟｰﾄ", s::kReadOnly, ""},
      {C::kHeading, View(1), R::kStaticText, "BGM", s::kReadOnly, ""},
      {C::kFileLabel, View(2), R::kStaticText, "C:\\音楽\\曲.mp3", s::kReadOnly, ""},
      // Text takes no focus even when asked to say so.
      {C::kFileLabel, View(2, C::kFileLabel), R::kStaticText, "C:\\音楽\\曲.mp3", s::kReadOnly, ""},
  };
  for (const PropertiesRow& row : rows) {
    SCOPED_TRACE(row.name);
    const AccessibleProperties p = AccessiblePropertiesOf(row.control, row.view);
    EXPECT_EQ(p.role, row.role);
    EXPECT_EQ(p.name, row.name);
    EXPECT_EQ(p.state, row.state);
    EXPECT_EQ(p.default_action, row.action);
  }
  EXPECT_EQ(AccessiblePropertiesOf(C::kHomePage, View(0)).value, kHomePage) << "a link's target";
}

struct ColourRow {
  const char* what;
  SystemColour got, want;
};

TEST(HighContrastTest, WhichOfTheSchemesColoursEachPartTakes) {
  using S = SystemColour;
  using F = Face;
  auto Px = [](F face, int x, int y) { return ContrastFacePixel(face, x, y, 77, 25, 1); };
  // A 77 x 25 button at 96 dpi, and at 192 dpi (band 2) 154 x 50.
  const ColourRow rows[] = {
      {"surface", ContrastColourOf(DialogPart::kSurface), S::kButtonFace},
      {"label", ContrastColourOf(DialogPart::kText), S::kButtonText},
      {"link", ContrastColourOf(DialogPart::kLink), S::kHotLight},
      {"heading frame", ContrastColourOf(DialogPart::kHeadingFrame), S::kButtonText},
      {"corner", Px(F::Normal, 0, 0), S::kButtonFace},
      {"far corner", ContrastFacePixel(F::Pressed, 153, 49, 154, 50, 2), S::kButtonFace},
      {"outline", Px(F::Normal, 30, 0), S::kButtonText},
      {"outline, band 2", ContrastFacePixel(F::Normal, 30, 1, 154, 50, 2), S::kButtonText},
      {"inside, band 2", ContrastFacePixel(F::Normal, 30, 2, 154, 50, 2), S::kButtonFace},
      {"normal middle", Px(F::Normal, 38, 12), S::kButtonFace},
      {"no ring unfocused", Px(F::Normal, 30, 2), S::kButtonFace},
      {"focus ring", Px(F::Selected, 30, 2), S::kButtonText},
      {"focus ring right", Px(F::Selected, 73, 12), S::kButtonText},
      {"gap in the ring", Px(F::Selected, 30, 1), S::kButtonFace},
      {"inside the ring", Px(F::Selected, 30, 4), S::kButtonFace},
      {"hover", Px(F::HighLight, 38, 12), S::kHighlight},
      {"hover, focused", Px(F::HighLightSelect, 30, 3), S::kHighlight},
      {"pressed ring", Px(F::Pressed, 30, 3), S::kHighlightText},
      {"pressed middle", Px(F::Pressed, 38, 12), S::kHighlight},
      {"unavailable outline", Px(F::Disable, 0, 12), S::kGrayText},
      {"unavailable middle", Px(F::Disable, 38, 12), S::kButtonFace},
      {"off the button", Px(F::Pressed, 77, 12), S::kButtonFace},
      {"no button", ContrastFacePixel(F::Selected, 0, 0, 0, 0, 1), S::kButtonFace},
      {"band 0 as 1", ContrastFacePixel(F::Normal, 30, 0, 77, 25, 0), S::kButtonText},
      {"caption", ContrastCaption(F::Normal), S::kButtonText},
      {"caption, hover", ContrastCaption(F::HighLightSelect), S::kHighlightText},
      {"caption, pressed", ContrastCaption(F::Pressed), S::kHighlightText},
      {"caption, unavailable", ContrastCaption(F::Disable), S::kGrayText},
      {"mark frame", ContrastMarkPixel(false, 0, 5, 1), S::kWindowText},
      {"open mark", ContrastMarkPixel(false, 5, 5, 1), S::kWindow},
      {"filled mark", ContrastMarkPixel(true, 5, 5, 1), S::kWindowText},
      {"filled mark's gap", ContrastMarkPixel(true, 1, 5, 1), S::kWindow},
      {"filled mark, band 2", ContrastMarkPixel(true, 3, 10, 2), S::kWindow},
      {"beside the mark", ContrastMarkPixel(true, 12, 5, 1), S::kButtonFace},
  };
  for (const ColourRow& row : rows) EXPECT_EQ(static_cast<int>(row.got), static_cast<int>(row.want)) << row.what;
}

}  // namespace
}  // namespace tremblix
