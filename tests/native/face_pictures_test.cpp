// The face pictures: the committed files are what the generator makes, and
// each picture has the described outline, ring and backdrop.
#include "saver/controls/command/face_pictures.h"

#include "bitmap/bitmap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace tremblix {
namespace {

constexpr Rgb kBackdrop{236, 233, 216};
constexpr Rgb kOutline{0, 60, 116};

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

Face FaceAt(int i) { return static_cast<Face>(i); }

TEST(FacePicturesTest, CommittedFilesAreWhatTheGeneratorWrites) {
  for (int i = 0; i < kFaceCount; ++i) {
    const std::string path = std::string(TREMBLIX_FACES_DIR) + "/" + FaceFileName(FaceAt(i));
    EXPECT_EQ(FileBytes(path), FacePictureBmp(FaceAt(i)))
        << path << " differs; run facegen saver/controls/command/faces and commit";
  }
}

TEST(FacePicturesTest, EveryPictureIsA64By25TwentyFourBitBitmap) {
  for (int i = 0; i < kFaceCount; ++i) {
    const auto bmp = FacePictureBmp(FaceAt(i));
    ASSERT_EQ(bmp.size(), 54u + 64 * 25 * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[18], 64);  // width
    EXPECT_EQ(bmp[22], 25);  // height, positive: bottom-up
    EXPECT_EQ(bmp[28], 24);  // bits per pixel
  }
}

TEST(FacePicturesTest, HighLightSelectIsTheHighLightPicture) {
  EXPECT_EQ(FacePictureBmp(Face::HighLightSelect), FacePictureBmp(Face::HighLight));
  EXPECT_STREQ(FaceFileName(Face::HighLightSelect), FaceFileName(Face::HighLight));
}

TEST(FacePicturesTest, RoundedCornersShowTheBackdrop) {
  for (int i = 0; i < kFaceCount; ++i) {
    EXPECT_EQ(FacePixel(FaceAt(i), 0, 0), kBackdrop) << FaceName(FaceAt(i));
    EXPECT_EQ(FacePixel(FaceAt(i), 63, 24), kBackdrop) << FaceName(FaceAt(i));
  }
}

TEST(FacePicturesTest, OutlineIsDarkBlueAtTheEdgeOrOnePixelIn) {
  for (Face face : {Face::Normal, Face::HighLight, Face::Selected}) {
    EXPECT_EQ(FacePixel(face, 10, 0), kOutline) << FaceName(face);
    EXPECT_EQ(FacePixel(face, 0, 12), kOutline) << FaceName(face);
    EXPECT_EQ(FacePixel(face, 63, 12), kOutline) << FaceName(face);
    EXPECT_EQ(FacePixel(face, 10, 24), kOutline) << FaceName(face);
  }
  EXPECT_EQ(FacePixel(Face::Pressed, 10, 0), kBackdrop);
  EXPECT_EQ(FacePixel(Face::Pressed, 10, 1), kOutline);
  EXPECT_EQ(FacePixel(Face::Pressed, 10, 23), kOutline);
  EXPECT_EQ(FacePixel(Face::Disable, 10, 0), kBackdrop);
  EXPECT_EQ(FacePixel(Face::Disable, 10, 1), (Rgb{201, 199, 186}));
}

TEST(FacePicturesTest, InnerRings) {
  // Normal: white highlight at the top and left, grey shadow at the bottom.
  EXPECT_EQ(FacePixel(Face::Normal, 10, 1), (Rgb{255, 255, 255}));
  EXPECT_EQ(FacePixel(Face::Normal, 1, 12), (Rgb{255, 255, 255}));
  EXPECT_EQ(FacePixel(Face::Normal, 10, 23), (Rgb{214, 208, 197}));
  // HighLight: two orange pixels, light at the top to deep orange at the bottom.
  EXPECT_EQ(FacePixel(Face::HighLight, 10, 1), (Rgb{255, 240, 207}));
  EXPECT_EQ(FacePixel(Face::HighLight, 10, 23), (Rgb{229, 151, 0}));
  EXPECT_EQ(FacePixel(Face::HighLight, 2, 12), FacePixel(Face::HighLight, 1, 12));
  // Selected: the same in blue.
  EXPECT_EQ(FacePixel(Face::Selected, 10, 1), (Rgb{206, 231, 255}));
  EXPECT_EQ(FacePixel(Face::Selected, 10, 23), (Rgb{105, 130, 238}));
  // Pressed: darker at the top than at the bottom.
  const Rgb top = FacePixel(Face::Pressed, 10, 2), bottom = FacePixel(Face::Pressed, 10, 22);
  EXPECT_LT(top.r + top.g + top.b, bottom.r + bottom.g + bottom.b);
  // Disable: a flat pale face inside its outline.
  EXPECT_EQ(FacePixel(Face::Disable, 10, 2), (Rgb{245, 244, 234}));
  EXPECT_EQ(FacePixel(Face::Disable, 2, 12), (Rgb{245, 244, 234}));
}

// A pixel of a stored picture, counted from the top left.
Rgb StoredFacePixel(const BmpImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[(image.height - 1 - y) * BmpRowBytes(image.width, 24) + 3 * x];
  return {p[2], p[1], p[0]};
}

// Drawn for a larger scale, each pixel of the picture the program stores
// becomes a square of band pixels, so no colour appears that it lacks.
TEST(FacePicturesTest, AtABandEachStoredPixelBecomesASquare) {
  for (int i = 0; i < kFaceCount; ++i) {
    const auto file =
        FileBytes(std::string(TREMBLIX_FACES_DIR) + "/" + FaceFileName(FaceAt(i)));
    BmpImage stored;
    ASSERT_EQ(DecodeBmp(file.data(), file.size(), stored), BmpResult::kOk);
    for (int band : {2, 3}) {
      for (int y = 0; y < stored.height * band; ++y) {
        for (int x = 0; x < stored.width * band; ++x) {
          ASSERT_EQ(FacePixelAt(FaceAt(i), x, y, band), StoredFacePixel(stored, x / band, y / band))
              << "face " << i << " band " << band << " at " << x << "," << y;
        }
      }
    }
  }
  // The outline, one pixel at 96 dpi, is two at band 2: row 0 and 1 of the
  // middle of Normal's top edge.
  EXPECT_EQ(FacePixelAt(Face::Normal, 60, 0, 2), kOutline);
  EXPECT_EQ(FacePixelAt(Face::Normal, 60, 1, 2), kOutline);
  EXPECT_FALSE(FacePixelAt(Face::Normal, 60, 2, 2) == kOutline);
}

}  // namespace
}  // namespace tremblix
