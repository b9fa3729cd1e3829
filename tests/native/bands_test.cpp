// The banded background and the dialog's placement arithmetic.
#include "saver/settings/bands.h"

#include <gtest/gtest.h>

#include <map>

#include "saver/common/twips.h"
#include "saver/settings/dialog_layout.h"

namespace tremblix {
namespace {

class RecordingSurface : public BandSurface {
 public:
  RecordingSurface(double width, double height) : width_(width), height_(height) {}
  double InnerWidth() override { return width_; }
  double InnerHeight() override { return height_; }
  void DrawRow(int y, double width, Rgb colour) override {
    ++lines;
    rows[y] = colour;
    widths[y] = width;
  }
  int lines = 0;
  std::map<int, Rgb> rows;
  std::map<int, double> widths;

 private:
  double width_, height_;
};

constexpr Rgb kNavy{0, 0, 30}, kLavender{220, 220, 250};

TEST(BandsTest, A243PixelDialogGets244LinesFromNavyToLavender) {
  RecordingSurface dialog(496, 243), panel(465, 161);
  PaintBands(dialog, panel);
  EXPECT_EQ(dialog.lines, 244);
  EXPECT_EQ(dialog.rows.begin()->first, 0);
  EXPECT_EQ(dialog.rows.rbegin()->first, 243);
  EXPECT_EQ(dialog.rows[0], kNavy);
  EXPECT_EQ(dialog.rows[243], kNavy);
  EXPECT_EQ(dialog.rows[121], kLavender);
  EXPECT_EQ(dialog.rows[122], kLavender);
  for (const auto& [y, width] : dialog.widths) EXPECT_EQ(width, 496) << "row " << y;
}

TEST(BandsTest, MidHeightIs220Not219) {
  EXPECT_EQ(BandValue(121, 243), 220);
  EXPECT_EQ(BandValue(0, 243), 0);
  EXPECT_EQ(BandValue(243, 243), 0);  // a hair past zero: 3.142 is not pi
}

TEST(BandsTest, RowsRiseThenFallSmoothly) {
  for (int y = 1; y <= 121; ++y) EXPECT_GE(BandValue(y, 243), BandValue(y - 1, 243)) << y;
  for (int y = 123; y <= 243; ++y) EXPECT_LE(BandValue(y, 243), BandValue(y - 1, 243)) << y;
}

TEST(BandsTest, ThePanelIsAlwaysGreyBetween30And250) {
  for (double height : {161.0, 165.0, 243.0, 1.0, 0.0}) {
    RecordingSurface dialog(10, 10), panel(465, height);
    PaintBands(dialog, panel);
    for (const auto& [y, c] : panel.rows) {
      EXPECT_EQ(c.r, c.g) << "row " << y;
      EXPECT_EQ(c.g, c.b) << "row " << y;
      EXPECT_GE(c.r, 30);
      EXPECT_LE(c.r, 250);
    }
  }
  RecordingSurface dialog(10, 10), panel(465, 161);
  PaintBands(dialog, panel);
  EXPECT_EQ(panel.rows[0], (Rgb{30, 30, 30}));
  EXPECT_EQ(panel.lines, 162);
}

TEST(BandsTest, ASurfaceOfNoHeightGetsOneDarkRow) {
  RecordingSurface dialog(10, 0), panel(10, 0);
  PaintBands(dialog, panel);
  EXPECT_EQ(dialog.lines, 1);
  EXPECT_EQ(dialog.rows[0], kNavy);
}

TEST(BandsTest, RowCountRoundsTheHeightTiesToEven) {
  RecordingSurface a(1, 242.5), b(1, 243.5), panel(1, 1);
  PaintBands(a, panel);
  PaintBands(b, panel);
  EXPECT_EQ(a.lines, 243);  // 242.5 -> 242, rows 0 to 242
  EXPECT_EQ(b.lines, 245);  // 243.5 -> 244
}

TEST(PlacementTest, CentredAcrossAndAtAThirdOfTheFreeHeight) {
  // A 1280 x 1024 screen and a 502 x 268 window, in twips.
  const TwipsPoint p = DialogPlacement(19200, 15360, 7530, 4020);
  EXPECT_EQ(p.left, 5835);  // 11670 / 2
  EXPECT_EQ(p.top, 3780);   // 11340 / 3
}

TEST(PlacementTest, DifferencesRoundTiesToEvenThenDivisionsTruncate) {
  EXPECT_EQ(DialogPlacement(1000.5, 0, 0, 0).left, 500);   // 1000.5 -> 1000
  EXPECT_EQ(DialogPlacement(1001.5, 0, 0, 0).left, 501);   // 1001.5 -> 1002
  EXPECT_EQ(DialogPlacement(1001, 1001, 0, 0).top, 333);
  // A window larger than the screen: towards zero, not minus infinity.
  EXPECT_EQ(DialogPlacement(100, 100, 115, 110).left, -7);
  EXPECT_EQ(DialogPlacement(100, 100, 115, 110).top, -3);
}

TEST(PlacementTest, LayoutValuesTurnIntoPixels) {
  EXPECT_EQ(TwipsToPixels(kDialogClientWidth), 496);
  EXPECT_EQ(TwipsToPixels(kDialogClientHeight), 243);
  EXPECT_EQ(TwipsToPixels(kPic_C.width), 469);
  EXPECT_EQ(TwipsToPixels(kCmd_Set.left), 324);
  EXPECT_EQ(TwipsToPixels(kImg_BGM[1].top), 56);
  // The mark holders' design size holds only until the first picture.
  EXPECT_EQ(TwipsToPixels(kImg_BGM[1].width), 13);
}

}  // namespace
}  // namespace tremblix
