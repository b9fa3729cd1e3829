// The eight face slices and the caption's place.
#include "saver/controls/command/face_layout.h"

#include <gtest/gtest.h>

#include "saver/common/twips.h"

namespace tremblix {
namespace {

struct PixelRect {
  int x, y, w, h;
  bool operator==(const PixelRect& o) const {
    return x == o.x && y == o.y && w == o.w && h == o.h;
  }
};

std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
  return out << r.x << "," << r.y << " " << r.w << "x" << r.h;
}

PixelRect Pixels(const TwipsRect& r) {
  return {TwipsToPixels(r.x), TwipsToPixels(r.y), TwipsToPixels(r.width),
          TwipsToPixels(r.height)};
}

TEST(FaceLayoutTest, A77By25ButtonTakesTheFourPixelFrameWithCornersUnscaled) {
  const auto slices = FaceSlices(1155, 375);
  ASSERT_EQ(slices.size(), 8u);
  const PixelRect source[] = {{0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
                              {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};
  const PixelRect dest[] = {{0, 0, 4, 4},   {4, 0, 69, 4},  {73, 0, 4, 4}, {73, 4, 4, 17},
                            {73, 21, 4, 4}, {4, 21, 69, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Pixels(slices[i].source), source[i]) << "slice " << i + 1;
    EXPECT_EQ(Pixels(slices[i].dest), dest[i]) << "slice " << i + 1;
  }
}

TEST(FaceLayoutTest, SlicesInTwipsAsGiven) {
  const auto slices = FaceSlices(615, 315);
  ASSERT_EQ(slices.size(), 8u);
  EXPECT_EQ(slices[0].dest, (TwipsRect{1, 1, 60, 60}));
  EXPECT_EQ(slices[1].source, (TwipsRect{60, 1, 840, 60}));
  EXPECT_EQ(slices[1].dest, (TwipsRect{60, 1, 495, 60}));
  EXPECT_EQ(slices[3].dest, (TwipsRect{555, 60, 60, 195}));
  EXPECT_EQ(slices[4].dest, (TwipsRect{555, 255, 60, 60}));
  EXPECT_EQ(slices[7].source, (TwipsRect{1, 60, 60, 255}));
}

TEST(FaceLayoutTest, ABeyondTwoCornersButtonKeepsOnlyTheCorners) {
  // 120 twips wide leaves no room for the top and bottom edges.
  const auto slices = FaceSlices(120, 375);
  EXPECT_EQ(slices.size(), 6u);
  for (const Slice& s : slices) EXPECT_GT(s.dest.width, 0);
}

TEST(FaceLayoutTest, FiguresBeyondSixteenBitsAreSkipped) {
  EXPECT_TRUE(FaceSlices(40000, 375).empty());
  // Near the limit every slice still ends within it.
  EXPECT_EQ(FaceSlices(32700, 375).size(), 8u);
}

TEST(FaceLayoutTest, CaptionTopIsTenTwipsAboveTheCentre) {
  EXPECT_DOUBLE_EQ(CaptionTop(315), 50.0);
  EXPECT_DOUBLE_EQ(CaptionTop(375), 80.0);
  EXPECT_DOUBLE_EQ(CaptionTop(316), 50.5);
  EXPECT_EQ(TwipsToPixels(CaptionTop(375)), 5);
}

PixelRect Of(const PixelArea& a) { return {a.x, a.y, a.width, a.height}; }

// At one pixel a band the pixel slices are the design's twips slices, at
// every size a button can have.
TEST(FaceLayoutTest, PixelSlicesAtBandOneAreTheTwipsSlices) {
  for (int w = 9; w <= 160; ++w) {
    for (int h = 9; h <= 60; ++h) {
      const auto twips = FaceSlices(PixelsToTwips(w), PixelsToTwips(h));
      const auto pixels = FaceSlicesInPixels(w, h, 1);
      ASSERT_EQ(pixels.size(), twips.size()) << w << "x" << h;
      for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_EQ(Of(pixels[i].source), Pixels(twips[i].source)) << w << "x" << h << " " << i;
        ASSERT_EQ(Of(pixels[i].dest), Pixels(twips[i].dest)) << w << "x" << h << " " << i;
      }
    }
  }
}

// At two pixels a band (192 dpi) the frame is eight pixels of a 128 x 50
// picture: corners copied one to one, edges stretched along their length
// only.
TEST(FaceLayoutTest, AtBandTwoTheFrameIsTwiceAsThickAndCornersStayUnscaled) {
  const auto slices = FaceSlicesInPixels(154, 50, 2);
  ASSERT_EQ(slices.size(), 8u);
  const PixelRect source[] = {{0, 0, 8, 8},    {8, 0, 112, 8},  {120, 0, 8, 8}, {120, 8, 8, 34},
                              {120, 42, 8, 8}, {8, 42, 112, 8}, {0, 42, 8, 8},  {0, 8, 8, 34}};
  const PixelRect dest[] = {{0, 0, 8, 8},     {8, 0, 138, 8},  {146, 0, 8, 8}, {146, 8, 8, 34},
                            {146, 42, 8, 8},  {8, 42, 138, 8}, {0, 42, 8, 8},  {0, 8, 8, 34}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Of(slices[i].source), source[i]) << "slice " << i + 1;
    EXPECT_EQ(Of(slices[i].dest), dest[i]) << "slice " << i + 1;
    // Across its length a slice is never stretched.
    const bool across_x = i != 1 && i != 5;
    const bool across_y = i != 3 && i != 7;
    if (across_x) EXPECT_EQ(slices[i].source.width, slices[i].dest.width) << i;
    if (across_y) EXPECT_EQ(slices[i].source.height, slices[i].dest.height) << i;
  }
}

TEST(FaceLayoutTest, ABandTwoButtonBelowTwoCornersKeepsOnlyTheCorners) {
  EXPECT_EQ(FaceSlicesInPixels(16, 50, 2).size(), 6u);
  // No room for any edge: the four corners alone, unscaled.
  const auto none = FaceSlicesInPixels(0, 0, 2);
  ASSERT_EQ(none.size(), 4u);
  for (const PixelSlice& corner : none) {
    EXPECT_EQ(corner.dest.width, 8);
    EXPECT_EQ(corner.dest.height, 8);
  }
}

}  // namespace
}  // namespace tremblix
