// The push button's properties, stored record and event handling, with the
// window replaced by a recorder of what would be painted.
#include "saver/controls/command/command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tremblix {
namespace {

class FakeCommand : public Command {
 public:
  struct Paint {
    Face face;
    bool inverted;
  };
  std::vector<Paint> paints;
  std::vector<std::string> notified;
  int timer_starts = 0;
  bool pointer_over = true;

 protected:
  void PaintFace(Face face) override { paints.push_back({face, fields().InvertGradient}); }
  void Present() override {}
  void StartMouseTimer() override { ++timer_starts; }
  bool PointerOverControl() override { return pointer_over; }
  void PropertyChanged(const char* name) override { notified.push_back(name); }
};

FontSpec AmbientFont() {
  FontSpec font;
  font.name = "Tahoma";
  font.size = 8.25;
  return font;
}

// A button as the settings dialog loads it: a record with a caption and font.
void LoadAsTheDialogDoes(FakeCommand& button, const std::string& caption) {
  PropertyRecord record;
  record.Write<std::string>("Caption", caption, kDefaultCaption);
  record.Write<FontSpec>("Font", DesignFont(), AmbientFont());
  button.ReadProperties(record, AmbientFont());
  button.UserControl_Resize();
  button.Initialize();
  button.paints.clear();
}

TEST(CommandTest, CreatedWithAllFieldsZero) {
  FakeCommand button;
  EXPECT_EQ(button.fields().State, ButtonState::StateUnset);
  EXPECT_FALSE(button.fields().LeftDown);
  EXPECT_FALSE(button.fields().IsEnabled);
  EXPECT_EQ(button.fields().FirstRun, 0);
  EXPECT_FALSE(button.fields().InvertGradient);
  EXPECT_EQ(button.Caption(), "Command");
  EXPECT_EQ(button.Font(), DesignFont());
}

TEST(CommandTest, InitializeStartsThePollWithoutRepaint) {
  FakeCommand button;
  button.Initialize();
  EXPECT_EQ(button.fields().State, ButtonState::StateNormal);
  EXPECT_EQ(button.timer_starts, 1);
  EXPECT_TRUE(button.paints.empty());
}

TEST(CommandTest, GradientKeepsItsOrientationInFocusedHover) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "設定");
  // Pointer in (StateHover, inverted), then the focus: FocusHover keeps it.
  button.UserControl_MouseMove();
  button.UserControl_GotFocus();
  ASSERT_EQ(button.paints.size(), 2u);
  EXPECT_EQ(button.paints[0].face, Face::HighLight);
  EXPECT_TRUE(button.paints[0].inverted);
  EXPECT_EQ(button.paints[1].face, Face::Pressed);
  EXPECT_TRUE(button.paints[1].inverted) << "lavender grey top after a StateHover paint";

  // From StateFocus (white top) the pointer comes in: HighLightSelect, white top.
  FakeCommand other;
  LoadAsTheDialogDoes(other, "設定");
  other.UserControl_GotFocus();
  other.UserControl_MouseMove();
  ASSERT_EQ(other.paints.size(), 2u);
  EXPECT_EQ(other.paints[1].face, Face::HighLightSelect);
  EXPECT_FALSE(other.paints[1].inverted) << "white top after a StateFocus paint";
}

TEST(CommandTest, ClickOnAnUnfocusedButton) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "設定");
  int clicks = 0;
  std::vector<Face> faces_at_click;
  button.Click = [&] {
    ++clicks;
    faces_at_click.push_back(*button.last_face());
  };
  button.UserControl_MouseMove();
  button.UserControl_GotFocus();
  button.UserControl_MouseDown(Command::kLeftButton);
  EXPECT_EQ(clicks, 0);
  button.UserControl_MouseUp(Command::kLeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(faces_at_click, std::vector<Face>{Face::HighLightSelect});
  EXPECT_EQ(button.fields().State, ButtonState::StateFocusHover);
}

TEST(CommandTest, DraggingAwayCancelsTheClick) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "ｷｬﾝｾﾙ");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.UserControl_MouseMove();
  button.UserControl_GotFocus();
  button.UserControl_MouseDown(Command::kLeftButton);
  button.pointer_over = false;
  button.TmrMouse_Timer();
  EXPECT_EQ(button.fields().State, ButtonState::StateFocus);
  EXPECT_EQ(*button.last_face(), Face::Selected);
  button.pointer_over = true;
  button.UserControl_MouseMove();  // back, still holding: nothing changes
  button.TmrMouse_Timer();
  EXPECT_EQ(button.fields().State, ButtonState::StateFocus);
  button.UserControl_MouseUp(Command::kLeftButton);
  EXPECT_EQ(clicks, 0);
  button.UserControl_MouseMove();
  EXPECT_EQ(button.fields().State, ButtonState::StateFocusHover);
  EXPECT_EQ(*button.last_face(), Face::HighLightSelect);
}

// The window takes the focus before it hands on the press, as the settings
// dialog's buttons do.
void PressAndRelease(FakeCommand& button) {
  button.UserControl_GotFocus();
  button.UserControl_MouseDown(Command::kLeftButton);
  button.TmrMouse_Timer();
  button.UserControl_MouseUp(Command::kLeftButton);
}

TEST(CommandTest, APressUnderAPointerThatNeverMovedClicks) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "ｷｬﾝｾﾙ");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  // Shown under the pointer: no move, so no hover, yet the press is on it.
  PressAndRelease(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.fields().State, ButtonState::StateFocusHover);
  EXPECT_EQ(*button.last_face(), Face::HighLightSelect);
}

TEST(CommandTest, AClickAgainAfterAMessageTookAndGaveBackTheFocus) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "設定");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.UserControl_MouseMove();
  PressAndRelease(button);
  ASSERT_EQ(clicks, 1);
  // A message box takes the focus and, closed, gives it back; the pointer
  // has stayed on the button throughout without a move.
  button.UserControl_LostFocus();
  button.UserControl_GotFocus();
  button.TmrMouse_Timer();
  PressAndRelease(button);
  EXPECT_EQ(clicks, 2);
  // Or the focus went elsewhere and the press takes it back.
  button.UserControl_LostFocus();
  PressAndRelease(button);
  EXPECT_EQ(clicks, 3);
  // Or the window lost the activation and had it again while the press was held.
  button.UserControl_MouseDown(Command::kLeftButton);
  button.UserControl_LostFocus(), button.UserControl_GotFocus(), button.UserControl_MouseUp(Command::kLeftButton);
  EXPECT_EQ(clicks, 4);
}

TEST(CommandTest, BeforeInitializeNoHoverButFocusShowsSelected) {
  FakeCommand button;
  PropertyRecord record;
  button.ReadProperties(record, AmbientFont());
  button.paints.clear();
  button.UserControl_MouseMove();
  EXPECT_TRUE(button.paints.empty());
  button.UserControl_GotFocus();
  ASSERT_EQ(button.paints.size(), 1u);
  EXPECT_EQ(button.paints[0].face, Face::Selected);
}

TEST(CommandTest, ADisabledButtonRaisesNothingAndKeepsItsFace) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "...");
  button.SetEnabled(false);
  ASSERT_EQ(button.paints.size(), 1u);
  EXPECT_EQ(button.paints[0].face, Face::Disable);
  EXPECT_FALSE(button.LblMsg().enabled);
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.UserControl_MouseMove();
  button.UserControl_GotFocus();
  button.UserControl_MouseDown(Command::kLeftButton);
  button.UserControl_MouseUp(Command::kLeftButton);
  button.pointer_over = false;
  button.TmrMouse_Timer();
  button.UserControl_LostFocus();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.paints.size(), 1u);
  EXPECT_EQ(button.fields().State, ButtonState::StateNormal);
}

// Disabled while Space is held, it lets Space go: no click at the release, the next press down.
TEST(CommandTest, EnablingAgainPaintsNormalAndKeepsTheStateButNotSpace) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "...");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.UserControl_GotFocus();
  button.UserControl_KeyDown(Command::kSpaceKey);
  button.SetEnabled(false);
  button.SetEnabled(true);
  EXPECT_EQ(*button.last_face(), Face::Normal);
  EXPECT_TRUE(button.LblMsg().enabled);
  EXPECT_EQ(button.fields().State, ButtonState::StateFocus);
  EXPECT_EQ(button.notified, (std::vector<std::string>{"Enabled", "Enabled"}));
  button.UserControl_KeyUp(Command::kSpaceKey);
  EXPECT_EQ(clicks, 0);
  button.UserControl_KeyDown(Command::kSpaceKey);
  EXPECT_EQ(*button.last_face(), Face::Pressed);
}

TEST(CommandTest, ReadingEnabledInitialisesANewButton) {
  FakeCommand button;
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.fields().FirstRun, 1);
  EXPECT_TRUE(button.fields().IsEnabled);
  EXPECT_EQ(button.LblMsg().colour, 0u);
  EXPECT_EQ(*button.last_face(), Face::Normal);
}

TEST(CommandTest, ARecordWithOnlyCaptionAndFontLoadsWithTheDefaults) {
  FakeCommand button;
  PropertyRecord record;
  record.Set("Caption", std::string("設定"));
  FontSpec font = DesignFont();
  record.Set("Font", font);
  button.ReadProperties(record, AmbientFont());
  EXPECT_TRUE(button.fields().IsEnabled);
  EXPECT_TRUE(button.opaque());
  EXPECT_EQ(button.LblMsg().colour, 0u);
  EXPECT_EQ(button.fields().FirstRun, 1);
  EXPECT_EQ(button.Caption(), "設定");
  EXPECT_EQ(button.Font(), font);
  ASSERT_FALSE(button.paints.empty());
  EXPECT_EQ(button.paints.back().face, Face::Normal);
}

TEST(CommandTest, ADisabledRecordLoadsWithoutPainting) {
  FakeCommand button;
  PropertyRecord record;
  record.Set("Enabled", false);
  button.ReadProperties(record, AmbientFont());
  EXPECT_FALSE(button.fields().IsEnabled);
  EXPECT_TRUE(button.paints.empty());
}

TEST(CommandTest, DefaultsWriteOnlyCaptionAndFont) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  button.SetCaption("設定");
  button.SetFont(DesignFont());
  PropertyRecord record;
  button.WriteProperties(record, AmbientFont());
  EXPECT_EQ(record.Names(), (std::vector<std::string>{"Caption", "Font"}));
}

TEST(CommandTest, EveryEntryIsWrittenInOrderWhenNotDefault) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  button.SetEnabled(false);
  button.SetCaption("OK");
  button.SetFontColour(0x0000FF);
  button.SetVisible(0);
  button.SetFont(DesignFont());
  PropertyRecord record;
  button.WriteProperties(record, AmbientFont());
  EXPECT_EQ(record.Names(),
            (std::vector<std::string>{"Enabled", "Caption", "Font", "FontColour", "Visible"}));
  EXPECT_EQ(record.Read<int32_t>("FontColour", 0), 0xFF);
  EXPECT_EQ(record.Read<int16_t>("Visible", 1), 0);
}

TEST(CommandTest, ANewButtonWritesFirstRunZero) {
  FakeCommand button;
  PropertyRecord record;
  button.WriteProperties(record, AmbientFont());
  EXPECT_EQ(record.Read<uint8_t>("FirstRun", 1), 0);
}

TEST(CommandTest, CaptionDefaults) {
  // A record without a caption reads as "Command1"; that caption is not
  // written, so every caption, "Command" included, comes back as it was.
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  EXPECT_EQ(button.Caption(), "Command1");
  PropertyRecord record;
  button.WriteProperties(record, AmbientFont());
  EXPECT_FALSE(record.Has("Caption"));

  FakeCommand fresh;
  EXPECT_EQ(fresh.Caption(), "Command");
  PropertyRecord saved;
  fresh.WriteProperties(saved, AmbientFont());
  FakeCommand loaded;
  loaded.ReadProperties(saved, AmbientFont());
  EXPECT_EQ(loaded.Caption(), "Command");
}

TEST(CommandTest, VisibleSevenReadsBackAs255) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  button.SetVisible(7);
  EXPECT_TRUE(button.opaque());
  EXPECT_EQ(button.Visible(), 255);
  button.SetVisible(0);
  EXPECT_FALSE(button.opaque());
  EXPECT_EQ(button.Visible(), 0);
  EXPECT_EQ(button.notified, (std::vector<std::string>{"Visible", "Visible"}));
}

TEST(CommandTest, AStoredVisibleOtherThanZeroIsOpaque) {
  FakeCommand button;
  PropertyRecord record;
  record.Set("Visible", int16_t{7});
  button.ReadProperties(record, AmbientFont());
  EXPECT_TRUE(button.opaque());
  PropertyRecord saved;
  button.WriteProperties(saved, AmbientFont());
  EXPECT_FALSE(saved.Has("Visible"));
}

TEST(CommandTest, AFontOfSize12ComesBackWithSize12) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  FontSpec font = DesignFont();
  font.size = 12;
  button.SetFont(font);
  PropertyRecord record;
  button.WriteProperties(record, AmbientFont());
  FakeCommand loaded;
  loaded.ReadProperties(record, AmbientFont());
  EXPECT_EQ(loaded.Font().size, 12);
  EXPECT_EQ(loaded.Font(), font);
}

TEST(CommandTest, MissingFontTakesTheAmbientOne) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  EXPECT_EQ(button.Font(), AmbientFont());
}

TEST(CommandTest, AnEntryOfAnotherTypeReadsAsTheDefault) {
  FakeCommand button;
  PropertyRecord record;
  record.Set("Enabled", std::string("no"));
  record.Set("Caption", int32_t{5});
  button.ReadProperties(record, AmbientFont());
  EXPECT_TRUE(button.fields().IsEnabled);
  EXPECT_EQ(button.Caption(), "Command1");
}

TEST(CommandTest, FontColourRefusesAColourWithAHighByte) {
  FakeCommand button;
  button.ReadProperties(PropertyRecord(), AmbientFont());
  button.SetFontColour(0x00123456);
  button.notified.clear();
  button.paints.clear();
  button.SetFontColour(0x80000012);
  EXPECT_EQ(button.LblMsg().colour, 0x00123456u);
  EXPECT_TRUE(button.notified.empty());
  ASSERT_EQ(button.paints.size(), 1u) << "still refreshes the look";
  EXPECT_EQ(button.FontColour(), 0x00123456u);
}

TEST(CommandTest, PropertiesLeaveStateAndLeftDownAlone) {
  FakeCommand button;
  LoadAsTheDialogDoes(button, "設定");
  button.UserControl_MouseMove();
  button.UserControl_MouseDown(Command::kLeftButton);
  button.SetCaption("x");
  button.SetFontColour(0xFF);
  button.SetVisible(1);
  button.Enabled();
  button.FontColour();
  button.Visible();
  button.UserControl_Resize();
  EXPECT_EQ(button.fields().State, ButtonState::StateHover);
  EXPECT_TRUE(button.fields().LeftDown);
}

TEST(CommandTest, RecordReadsDefaultsForMissingAndLeavesOutDefaults) {
  PropertyRecord record;
  record.Write<int32_t>("FontColour", 0, 0);
  EXPECT_FALSE(record.Has("FontColour"));
  record.Write<int32_t>("FontColour", 5, 0);
  record.Write<int32_t>("FontColour", 0, 0);
  EXPECT_FALSE(record.Has("FontColour")) << "writing the default drops an older entry";
  EXPECT_EQ(record.Read<uint8_t>("FirstRun", 1), 1);
}

}  // namespace
}  // namespace tremblix
