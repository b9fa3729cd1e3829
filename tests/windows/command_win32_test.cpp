// The push button in a real window on the display: what it paints, and how it
// follows the pointer and the focus. The pointer is moved with SetCursorPos and
// the buttons pressed with SendInput, as a user's hand would; Tab is posted to
// the focused window and goes through the host's dialog handling.
#include "saver/controls/command/command_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "saver/controls/command/face_pictures.h"
#include "saver/forms/form_win32.h"
#include "tests/windows/user_input_win32.h"

namespace tremblix {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLavenderGrey{198, 197, 215};

class Host : public forms::Form {};

class CommandWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, 0);
    ASSERT_TRUE(host_.Load(L"Command test", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 200, 200,
                           400, 200));
  }
  void TearDown() override {
    buttons_.clear();
    host_.Unload();
    Pump(20);
  }

  // A button as the settings dialog makes one: caption and font stored,
  // loaded, initialised.
  CommandWindow& AddButton(const char* caption, int left, int top, int width = 1155,
                           int height = 375) {
    auto button = std::make_unique<CommandWindow>();
    PropertyRecord record;
    record.Set("Caption", std::string(caption));
    record.Set("Font", DesignFont());
    EXPECT_TRUE(button->Create(host_.hwnd(), left, top, width, height, record, DesignFont()));
    button->Initialize();
    button->Click = [this, b = button.get()] {
      ++clicks_;
      faces_at_click_.push_back(*b->last_face());
    };
    buttons_.push_back(std::move(button));
    return *buttons_.back();
  }

  void Pump(int ms) { testing::PumpMessages(host_.hwnd(), ms); }

  // Milliseconds until the condition held, or -1 after 20 s (none missed under load).
  int PumpUntil(const std::function<bool()>& condition, int timeout_ms = 20000) {
    const DWORD start = GetTickCount();
    while (static_cast<int>(GetTickCount() - start) < timeout_ms) {
      Pump(1);
      if (condition()) return static_cast<int>(GetTickCount() - start);
    }
    return -1;
  }
  void PumpPolls(const CommandWindow& button, int polls) {
    const int until = button.polls() + polls;
    ASSERT_GE(PumpUntil([&] { return button.polls() >= until; }), 0) << "no polls";
  }

  static POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  void MoveTo(HWND hwnd, int x, int y) {
    POINT p = ScreenPoint(hwnd, x, y);
    SetCursorPos(p.x, p.y);
  }
  static void Mouse(DWORD flags) { testing::SendMouse(flags); }

  // The button's pixels as the screen shows them.
  struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[y * width + x]; }
  };
  Picture Capture(HWND hwnd) {
    Pump(60);  // lets the window reach the screen
    RECT r;
    GetWindowRect(hwnd, &r);
    Picture picture;
    picture.width = r.right - r.left;
    picture.height = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
    const auto* p = static_cast<const uint8_t*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i) {
      picture.pixels.push_back({p[4 * i + 2], p[4 * i + 1], p[4 * i]});
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return picture;
  }

  // The four 4 x 4 corners come from the face picture unscaled.
  static void ExpectCornersOf(const Picture& shot, Face face) {
    const int fx[2] = {0, kFacePixelWidth - 4}, fy[2] = {0, kFacePixelHeight - 4};
    const int sx[2] = {0, shot.width - 4}, sy[2] = {0, shot.height - 4};
    int wrong = 0;
    for (int cx = 0; cx < 2; ++cx) {
      for (int cy = 0; cy < 2; ++cy) {
        for (int x = 0; x < 4; ++x) {
          for (int y = 0; y < 4; ++y) {
            if (!(shot.at(sx[cx] + x, sy[cy] + y) == FacePixel(face, fx[cx] + x, fy[cy] + y))) {
              ++wrong;
            }
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "corner pixels that differ from the " << FaceName(face) << " face";
  }

  // The gradient's first and last middle rows, in a column clear of the
  // caption; GradientFill runs from row 0 to row height - 1.
  static void ExpectGradient(const Picture& shot, Rgb top, Rgb bottom) {
    auto expected = [&](int row) {
      const double t = static_cast<double>(row) / (shot.height - 1);
      return Rgb{static_cast<uint8_t>(top.r + (bottom.r - top.r) * t),
                 static_cast<uint8_t>(top.g + (bottom.g - top.g) * t),
                 static_cast<uint8_t>(top.b + (bottom.b - top.b) * t)};
    };
    for (int row : {4, shot.height - 5}) {
      const Rgb got = shot.at(8, row), want = expected(row);
      std::printf("gradient row %d: %d,%d,%d (about %d,%d,%d)\n", row, got.r, got.g, got.b,
                  want.r, want.g, want.b);
      EXPECT_LE(std::abs(got.r - want.r), 4) << "row " << row;
      EXPECT_LE(std::abs(got.g - want.g), 4) << "row " << row;
      EXPECT_LE(std::abs(got.b - want.b), 4) << "row " << row;
    }
  }

  // Darkest pixel of the caption's middle band (sum of the three parts).
  static int DarkestCaptionPixel(const Picture& shot) {
    int darkest = 3 * 255;
    for (int y = 5; y < 18; ++y) {
      for (int x = 20; x < shot.width - 20; ++x) {
        const Rgb p = shot.at(x, y);
        darkest = std::min(darkest, p.r + p.g + p.b);
      }
    }
    return darkest;
  }

  Host host_;
  std::vector<std::unique_ptr<CommandWindow>> buttons_;
  int clicks_ = 0;
  std::vector<Face> faces_at_click_;
};

TEST_F(CommandWindowTest, A77By25ButtonShowsTheNormalFaceOverAWhiteToGreyGradient) {
  CommandWindow& button = AddButton("設定", 300, 300);
  const Picture shot = Capture(button.hwnd());
  ASSERT_EQ(shot.width, 77);
  ASSERT_EQ(shot.height, 25);
  ExpectCornersOf(shot, Face::Normal);
  ExpectGradient(shot, kWhite, kLavenderGrey);
  EXPECT_LT(DarkestCaptionPixel(shot), 150) << "the caption shows in black";
}

TEST_F(CommandWindowTest, ThePointerOverTheButtonLightsItAndTurnsTheGradient) {
  CommandWindow& button = AddButton("設定", 300, 300);
  Pump(50);
  MoveTo(button.hwnd(), 38, 12);  // over the caption
  ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }), 0);
  PumpPolls(button, 3);  // the caption counts as the button
  EXPECT_EQ(button.fields().State, ButtonState::StateHover);
  const Picture shot = Capture(button.hwnd());
  ExpectCornersOf(shot, Face::HighLight);
  ExpectGradient(shot, kLavenderGrey, kWhite);
}

TEST_F(CommandWindowTest, TheFocusShowsTheSelectedFace) {
  CommandWindow& button = AddButton("ｷｬﾝｾﾙ", 300, 300);
  SetFocus(button.hwnd());
  Pump(20);
  EXPECT_EQ(button.fields().State, ButtonState::StateFocus);
  const Picture shot = Capture(button.hwnd());
  ExpectCornersOf(shot, Face::Selected);
  ExpectGradient(shot, kWhite, kLavenderGrey);
}

TEST_F(CommandWindowTest, ADisabledButtonShowsTheDisableFaceAndAGreyCaption) {
  CommandWindow& button = AddButton("設定", 300, 300);
  const int enabled_darkest = DarkestCaptionPixel(Capture(button.hwnd()));
  button.SetEnabled(false);
  const Picture shot = Capture(button.hwnd());
  ExpectCornersOf(shot, Face::Disable);
  const int disabled_darkest = DarkestCaptionPixel(shot);
  std::printf("darkest caption pixel: enabled %d, disabled %d (sum of r, g, b)\n",
              enabled_darkest, disabled_darkest);
  EXPECT_GT(disabled_darkest, 3 * 100) << "no black text on a disabled button";
}

TEST_F(CommandWindowTest, AClickOnAnUnfocusedButtonClicksOnceWithHighLightSelect) {
  CommandWindow& button = AddButton("設定", 300, 300);
  Pump(50);
  ASSERT_NE(GetFocus(), button.hwnd());
  MoveTo(button.hwnd(), 20, 12);
  ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }), 0);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_GE(PumpUntil([&] { return button.fields().LeftDown; }), 0);
  EXPECT_EQ(GetFocus(), button.hwnd());
  EXPECT_EQ(button.fields().State, ButtonState::StateFocusHover);
  ExpectCornersOf(Capture(button.hwnd()), Face::Pressed);
  EXPECT_EQ(clicks_, 0);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_GE(PumpUntil([&] { return clicks_ > 0; }), 0);
  Pump(100);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(faces_at_click_, std::vector<Face>{Face::HighLightSelect});
  ExpectCornersOf(Capture(button.hwnd()), Face::HighLightSelect);
}

TEST_F(CommandWindowTest, PressDragAwayComeBackAndReleaseDoesNotClick) {
  CommandWindow& button = AddButton("設定", 300, 300);
  Pump(50);
  MoveTo(button.hwnd(), 20, 12);
  ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }), 0);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_GE(PumpUntil([&] { return button.fields().LeftDown; }), 0);

  MoveTo(button.hwnd(), 20, 60);  // the host's background, below the button
  const int ms = PumpUntil([&] { return button.fields().State == ButtonState::StateFocus; });
  std::printf("dragged off: Selected after %d ms\n", ms);
  ASSERT_GE(ms, 0);
  ExpectCornersOf(Capture(button.hwnd()), Face::Selected);

  MoveTo(button.hwnd(), 24, 12);  // back over the button, still holding
  PumpPolls(button, 3);
  EXPECT_EQ(button.fields().State, ButtonState::StateFocus);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_GE(PumpUntil([&] { return !button.fields().LeftDown; }), 0);
  Pump(100);
  EXPECT_EQ(clicks_, 0);

  // The next move over the button lights it again.
  MoveTo(button.hwnd(), 30, 12);
  ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateFocusHover; }), 0);
  EXPECT_EQ(*button.last_face(), Face::HighLightSelect);
}

TEST_F(CommandWindowTest, AReleaseJustAfterDraggingOffDoesNotClick) {
  CommandWindow& button = AddButton("設定", 300, 300);
  Pump(50);
  MoveTo(button.hwnd(), 20, 12);
  ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }), 0);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_GE(PumpUntil([&] { return button.fields().LeftDown; }), 0);
  // Off and released before the next poll.
  MoveTo(button.hwnd(), 20, 60);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_GE(PumpUntil([&] { return !button.fields().LeftDown; }), 0);
  Pump(100);
  EXPECT_EQ(clicks_, 0);
}

// One poll restores it (tested natively); here the poll comes, however late.
TEST_F(CommandWindowTest, MovingThePointerOffRestoresTheFace) {
  CommandWindow& button = AddButton("設定", 300, 300);
  Pump(50);
  int total = 0;
  const int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    MoveTo(button.hwnd(), 20 + round, 12);
    ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }), 0);
    MoveTo(button.hwnd(), 20, 60);
    const int ms = PumpUntil([&] { return button.fields().State == ButtonState::StateNormal; });
    std::printf("pointer off: Normal face after %d ms\n", ms);
    ASSERT_GE(ms, 0);
    EXPECT_EQ(*button.last_face(), Face::Normal);
    total += ms;
  }
  std::printf("pointer off: %d ms on average (poll every 100 ms)\n", total / kRounds);
}

TEST_F(CommandWindowTest, TabbingOntoAndOffTheButton) {
  CommandWindow& first = AddButton("設定", 300, 300);
  CommandWindow& second = AddButton("ｷｬﾝｾﾙ", 1560, 300);
  SetFocus(first.hwnd());
  Pump(20);
  ASSERT_EQ(first.fields().State, ButtonState::StateFocus);
  EXPECT_EQ(*first.last_face(), Face::Selected);

  PostMessageW(first.hwnd(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_GE(PumpUntil([&] { return GetFocus() == second.hwnd(); }), 0);
  EXPECT_EQ(first.fields().State, ButtonState::StateNormal);
  EXPECT_EQ(*first.last_face(), Face::Normal);
  EXPECT_EQ(second.fields().State, ButtonState::StateFocus);
  ExpectCornersOf(Capture(second.hwnd()), Face::Selected);
  ExpectCornersOf(Capture(first.hwnd()), Face::Normal);

  PostMessageW(second.hwnd(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_GE(PumpUntil([&] { return GetFocus() == first.hwnd(); }), 0);
  EXPECT_EQ(second.fields().State, ButtonState::StateNormal);
  EXPECT_EQ(first.fields().State, ButtonState::StateFocus);
  EXPECT_EQ(clicks_, 0) << "no key clicks the button";
}

TEST_F(CommandWindowTest, TabPassesOverADisabledButton) {
  CommandWindow& first = AddButton("設定", 300, 300);
  CommandWindow& disabled = AddButton("...", 1560, 300, 615, 315);
  CommandWindow& third = AddButton("ｷｬﾝｾﾙ", 2400, 300);
  disabled.SetEnabled(false);
  SetFocus(first.hwnd());
  Pump(20);
  PostMessageW(first.hwnd(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_GE(PumpUntil([&] { return GetFocus() == third.hwnd(); }), 0);
  EXPECT_EQ(*disabled.last_face(), Face::Disable);
}

TEST_F(CommandWindowTest, ADisabledButtonRaisesNothing) {
  CommandWindow& button = AddButton("...", 300, 300, 615, 315);
  button.SetEnabled(false);
  Pump(50);
  MoveTo(button.hwnd(), 10, 10);
  Pump(150);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Pump(100);
  Mouse(MOUSEEVENTF_LEFTUP);
  Pump(150);
  MoveTo(button.hwnd(), 10, 60);
  Pump(250);
  EXPECT_EQ(clicks_, 0);
  EXPECT_NE(GetFocus(), button.hwnd());
  EXPECT_EQ(button.fields().State, ButtonState::StateNormal);
  EXPECT_FALSE(button.fields().LeftDown);
  EXPECT_EQ(*button.last_face(), Face::Disable);
  ExpectCornersOf(Capture(button.hwnd()), Face::Disable);
}

TEST_F(CommandWindowTest, APointerRestingWhereTheButtonAppearsGivesNoHoverUntilItMovesOrReturns) {
  // As a dialog is built hidden under a resting pointer and then shown.
  ShowWindow(host_.hwnd(), SW_HIDE);
  Pump(50);
  POINT where = ScreenPoint(host_.hwnd(), 40, 32);  // on the button to come
  SetCursorPos(where.x, where.y);
  Pump(50);
  CommandWindow& button = AddButton("設定", 300, 300);  // 20, 20 pixels in
  ShowWindow(host_.hwnd(), SW_SHOW);
  PumpPolls(button, 3);
  EXPECT_EQ(WindowFromPoint(where), button.hwnd()) << "the pointer rests on the button";
  EXPECT_EQ(button.fields().State, ButtonState::StateNormal);
  EXPECT_EQ(*button.last_face(), Face::Normal);
  // The pointer leaves and comes back to the very pixel it rested on, twice:
  // each time the button lights and one click acts.
  for (int round = 1; round <= 2; ++round) {
    SetCursorPos(where.x, where.y + 60);
    PumpPolls(button, 2);  // one sees the pointer gone
    SetCursorPos(where.x, where.y);
    ASSERT_GE(PumpUntil([&] { return button.fields().State == ButtonState::StateHover; }),
              0)
        << "round " << round;
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_GE(PumpUntil([&] { return clicks_ == round; }), 0) << "round " << round;
    SetFocus(host_.hwnd());  // as a file chooser takes the focus away
    Pump(50);
  }
  EXPECT_EQ(clicks_, 2);
}

TEST_F(CommandWindowTest, TheEmbeddedPicturesAreTheGeneratedOnes) {
  for (int i = 0; i < kFaceCount; ++i) {
    const Face face = static_cast<Face>(i);
    HBITMAP bitmap = CommandFaceBitmap(face);
    ASSERT_NE(bitmap, nullptr) << FaceName(face);
    BITMAP info;
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, kFacePixelWidth);
    EXPECT_EQ(info.bmHeight, kFacePixelHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    int wrong = 0;
    for (int y = 0; y < kFacePixelHeight; ++y) {
      for (int x = 0; x < kFacePixelWidth; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        const Rgb want = FacePixel(face, x, y);
        if (GetRValue(c) != want.r || GetGValue(c) != want.g || GetBValue(c) != want.b) ++wrong;
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(wrong, 0) << FaceName(face);
  }
}

}  // namespace
}  // namespace tremblix
