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

const ScreenBox kWorkArea{0, 0, 1280, 994};

TEST(PlaceOverOwner, CentresTheDialogOverItsOwner) {
  EXPECT_EQ(PlaceOverOwner({100, 100, 700, 500}, 200, 100, kWorkArea),
            (PixelBox{300, 250, 200, 100}));
  // An owner smaller than the dialog: still centred.
  EXPECT_EQ(PlaceOverOwner({500, 400, 560, 440}, 200, 100, kWorkArea),
            (PixelBox{430, 370, 200, 100}));
}

TEST(PlaceOverOwner, KeepsTheDialogOnTheOwnersMonitor) {
  EXPECT_EQ(PlaceOverOwner({-50, -50, 50, 50}, 200, 100, kWorkArea), (PixelBox{0, 0, 200, 100}));
  EXPECT_EQ(PlaceOverOwner({1200, 950, 1300, 1000}, 200, 100, kWorkArea),
            (PixelBox{1080, 894, 200, 100}));
  // A monitor left of the primary, at negative coordinates.
  EXPECT_EQ(PlaceOverOwner({-1000, 100, -900, 200}, 200, 100, {-1280, 0, 0, 1024}),
            (PixelBox{-1050, 100, 200, 100}));
  // Larger than the work area: its top-left corner shows.
  EXPECT_EQ(PlaceOverOwner({0, 0, 100, 100}, 2000, 1500, kWorkArea),
            (PixelBox{0, 0, 2000, 1500}));
}

TEST(PlaceOverOwner, TakesAnyRectangleWithoutOverflow) {
  const PixelBox placed = PlaceOverOwner({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 496, 243,
                                         kWorkArea);
  EXPECT_TRUE(placed.left >= 0 && placed.left <= 1280 - 496) << placed;
}

}  // namespace
}  // namespace tremblix
