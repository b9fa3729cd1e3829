// The settings dialog laid out at a display's dots per inch, and placed over
// its owner.
#include "saver/settings/dialog_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "saver/common/twips.h"
#include "saver/settings/dialog_pictures.h"

namespace tremblix {

std::ostream& operator<<(std::ostream& out, const PixelBox& b) {
  return out << b.left << "," << b.top << " " << b.width << "x" << b.height;
}

namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192, 240, 288};

struct Placed {
  const char* name;
  TwipsBox box;
};

// Controls on the dialog, and on the panel (their places relative to it).
const std::vector<Placed> kOnDialog = {
    {"Pic_C", kPic_C},     {"lbl_URL", kLbl_URL},           {"Cmd_Set", kCmd_Set},
    {"Cmd_Can", kCmd_Can}, {"Img_Monitors", kImg_Monitors}, {"lbl_Monitors", kLbl_Monitors}};
const std::vector<Placed> kOnPanel = {
    {"Shape3", kShape3},       {"lbl15", kLbl15},         {"Img_BGM(0)", kImg_BGM[0]},
    {"Img_BGM(1)", kImg_BGM[1]}, {"Img_BGM(2)", kImg_BGM[2]}, {"lbl_BGM(0)", kLbl_BGM[0]},
    {"lbl_BGM(1)", kLbl_BGM[1]}, {"lbl_BGM(2)", kLbl_BGM[2]}, {"BGM_Repeat", kBGM_Repeat},
    {"lbl14", kLbl14},         {"Cmd_File", kCmd_File},   {"lbl_Fname", kLbl_Fname}};

bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= outer.width &&
         inner.top + inner.height <= outer.height;
}

TEST(TwipsAtADpi, ConvertExactlyWhereAPixelIsNoWholeNumberOfTwips) {
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(75, 192), 10);  // 7.5 twips a pixel
  EXPECT_EQ(TwipsToPixels(7440, 192), 992);
  EXPECT_EQ(TwipsToPixels(7440, 120), 620);  // 12 twips a pixel
  EXPECT_DOUBLE_EQ(PixelsToTwips(1.0, 192), 7.5);
  EXPECT_DOUBLE_EQ(PixelsToTwips(992.0, 192), 7440.0);
  EXPECT_EQ(PointsToPixels(9.75, 96), 13);
  EXPECT_EQ(PointsToPixels(9.75, 192), 26);
  EXPECT_EQ(PointsToPixels(8.25, 144), 17);  // 16.5, away from zero
}

TEST(BandWidth, IsTheScaleRoundedAndAtLeastOne) {
  EXPECT_EQ(BandWidth(96), 1);
  EXPECT_EQ(BandWidth(120), 1);
  EXPECT_EQ(BandWidth(144), 2);
  EXPECT_EQ(BandWidth(192), 2);
  EXPECT_EQ(BandWidth(240), 3);
  EXPECT_EQ(BandWidth(288), 3);
  EXPECT_EQ(BandWidth(48), 1);
  EXPECT_EQ(BandWidth(0), 1);
}

TEST(DialogLayoutAt, At96DpiIsTheDesignInWholePixels) {
  EXPECT_EQ(DialogClientAt(96), (PixelBox{0, 0, 496, 243}));
  EXPECT_EQ(PixelsAt(kPic_C, 96), (PixelBox{12, 16, 469, 165}));
  EXPECT_EQ(PixelsAt(kCmd_Set, 96), (PixelBox{324, 200, 77, 25}));
  EXPECT_EQ(PixelsAt(kLbl_Fname, 96), (PixelBox{72, 116, 373, 33}));
}

TEST(DialogLayoutAt, TheClientAreaIsInProportionTo96sWithinAPixel) {
  const PixelBox base = DialogClientAt(96);
  for (int dpi : kDpis) {
    const PixelBox client = DialogClientAt(dpi);
    const double scale = dpi / 96.0;
    EXPECT_LE(std::fabs(client.width - base.width * scale), 1.0) << dpi;
    EXPECT_LE(std::fabs(client.height - base.height * scale), 1.0) << dpi;
  }
  EXPECT_EQ(DialogClientAt(192), (PixelBox{0, 0, 992, 486}));
  EXPECT_EQ(DialogClientAt(120), (PixelBox{0, 0, 620, 304}));  // 303.75
}

TEST(DialogLayoutAt, EveryControlLiesInsideItsParentAtEveryDpi) {
  for (int dpi : kDpis) {
    const PixelBox client = DialogClientAt(dpi);
    const PixelBox panel = PixelsAt(kPic_C, dpi);
    for (const Placed& p : kOnDialog) {
      EXPECT_TRUE(Inside(PixelsAt(p.box, dpi), client)) << p.name << " at " << dpi;
    }
    for (const Placed& p : kOnPanel) {
      EXPECT_TRUE(Inside(PixelsAt(p.box, dpi), panel)) << p.name << " at " << dpi;
    }
  }
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The monitors choice keeps to its strip: below the panel, clear of the
// buttons and the home page, its mark (a picture of band-wide pixels, larger
// than the design at 144 dpi) left of its caption.
TEST(DialogLayoutAt, TheMonitorsChoiceSitsInTheStripBetweenThePanelAndTheButtons) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const PixelBox panel = PixelsAt(kPic_C, dpi), label = PixelsAt(kLbl_Monitors, dpi);
    PixelBox mark = PixelsAt(kImg_Monitors, dpi);
    mark.width = mark.height = kMarkSize * BandWidth(dpi);
    for (const PixelBox& box : {mark, label}) {
      EXPECT_GE(box.top, panel.top + panel.height);
      for (const TwipsBox& other : {kLbl_URL, kCmd_Set, kCmd_Can}) {
        EXPECT_FALSE(Overlap(box, PixelsAt(other, dpi))) << box << " meets " << PixelsAt(other, dpi);
      }
    }
    EXPECT_LE(mark.left + mark.width, label.left);
    EXPECT_TRUE(Inside(mark, DialogClientAt(dpi)));
  }
  EXPECT_EQ(PixelsAt(kImg_Monitors, 96), (PixelBox{20, 187, 13, 13}));
  EXPECT_EQ(PixelsAt(kLbl_Monitors, 96).top, 186);
  EXPECT_EQ(PixelsAt(kLbl_Monitors, 192).top, 372);
}

// Edges rounded, not sizes: what meets in twips meets in pixels, and a size
// is its design size scaled within a pixel.
TEST(DialogLayoutAt, NeighboursStayNeighboursAndSizesScale) {
  const TwipsBox left{100, 0, 1005, 100}, right{1105, 0, 1005, 100};
  for (int dpi : kDpis) {
    const PixelBox a = PixelsAt(left, dpi), b = PixelsAt(right, dpi);
    EXPECT_EQ(a.left + a.width, b.left) << dpi;
    for (const auto* placed : {&kOnPanel, &kOnDialog}) {
      for (const Placed& p : *placed) {
        const PixelBox box = PixelsAt(p.box, dpi);
        EXPECT_LE(std::fabs(box.width - p.box.width * dpi / 1440.0), 1.0) << p.name << dpi;
        EXPECT_LE(std::fabs(box.height - p.box.height * dpi / 1440.0), 1.0) << p.name << dpi;
      }
    }
  }
}

TEST(DialogLayoutAt, FontsAreAtTheDpi) {
  EXPECT_EQ(FontPixelsAt(kLabelFontPoints, 96), 13);
  EXPECT_EQ(FontPixelsAt(kLabelFontPoints, 120), 16);  // 16.25
  EXPECT_EQ(FontPixelsAt(kLabelFontPoints, 144), 20);  // 19.5
  EXPECT_EQ(FontPixelsAt(kLabelFontPoints, 192), 26);
  EXPECT_EQ(FontPixelsAt(kPanelFontPoints, 96), 11);
}

// Two monitors side by side, at 100 % and at 150 %, each with a taskbar at
// its foot; a frame as Windows draws it at each dpi.
const DialogMonitor kAt100{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const DialogMonitor kAt150{{1920, 0, 4480, 1440}, {1920, 0, 4480, 1380}, 144};
FrameMargins FrameAt(int dpi) { return dpi == 96 ? FrameMargins{3, 26, 3, 3} : FrameMargins{4, 37, 4, 4}; }

// The monitor is the owner's as Windows tells it (the one with most of the owner), else the
// pointer's. At 150 % the window is 744 x 365 inside its frame, at 100 % 496 x 243.
TEST(PlaceDialog, OpensOnItsMonitorAtItsScalingInsideTheWorkArea) {
  struct Row { const char* what; std::optional<ScreenBox> owner; DialogMonitor monitor; PixelBox window; } rows[] = {
      {"over an owner at 100 %", ScreenBox{100, 200, 700, 600}, kAt100, {149, 264, 502, 272}},
      {"over an owner at 150 %", ScreenBox{2500, 300, 3300, 900}, kAt150, {2524, 397, 752, 406}},
      {"owner astride, mostly at 150 %", ScreenBox{1700, 100, 2500, 500}, kAt150, {1920, 97, 752, 406}},
      {"owner astride, mostly at 100 %", ScreenBox{1400, 100, 2000, 500}, kAt100, {1418, 164, 502, 272}},
      {"owner in the corner, above the taskbar", ScreenBox{1800, 1000, 1920, 1080}, kAt100, {1418, 768, 502, 272}},
      {"no owner, pointer at 100 %", std::nullopt, kAt100, {709, 269, 502, 272}},
      {"no owner, pointer at 150 %", std::nullopt, kAt150, {2824, 345, 752, 406}},
      {"higher than a small monitor: its top shows", std::nullopt,
       {{-800, 0, 0, 300}, {-800, 0, 0, 300}, 144}, {-776, 0, 752, 406}},
      {"an owner of any size", ScreenBox{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, kAt100, {0, 0, 502, 272}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PlaceDialog(row.owner, row.monitor, FrameAt(row.monitor.dpi)), row.window) << row.what;
  }
}

}  // namespace
}  // namespace tremblix
