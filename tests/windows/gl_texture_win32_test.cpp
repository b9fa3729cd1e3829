// The texture loader against the platform's OpenGL, in a real context.
#include "renderer/gl_texture_win32.h"

#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/native/bmp_builder.h"
#include "tools/preview/gl_window_win32.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {

using tremblix::testing::BmpSpec;
using tremblix::testing::MakeBmp;

class GLTextureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gl_ = OpenGLWindow("GLTextureTest", WS_POPUP, 64, 64); }
  static void TearDownTestSuite() { CloseGLWindow(gl_); }
  void SetUp() override {
    // The harness's display has OpenGL: without a context nothing here is tested.
    ASSERT_NE(gl_.context, nullptr) << "no OpenGL context on this display";
  }

  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  // A plain picture of the size, in the temporary folder.
  std::string WritePicture(const std::string& name, int32_t width, int32_t height) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    return WriteFile(name, MakeBmp(spec));
  }
  static GLint LevelWidth() {
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
  }
  static GLuint Bound() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
  }

  static GLWindow gl_;
};

GLWindow GLTextureTest::gl_;

TEST_F(GLTextureTest, LoadsAPictureOfItsSize) {
  std::string path = WritePicture("tremblix-93x85.bmp", 93, 85);
  GLTexture texture;
  EXPECT_TRUE(texture.LoadBmp(path.c_str()));
  EXPECT_EQ(texture.image_width(), 93);
  EXPECT_EQ(texture.image_height(), 85);
  EXPECT_EQ(Bound(), texture.name());
  EXPECT_GT(LevelWidth(), 0) << "level 0 has no image";
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}

TEST_F(GLTextureTest, AMissingFileLeavesABoundNameWithoutAnImage) {
  GLTexture texture;
  EXPECT_FALSE(texture.LoadBmp("C:\\no such folder\\Tremblix9.BMP"));
  ASSERT_TRUE(texture.holds_texture());
  EXPECT_EQ(Bound(), texture.name());
  EXPECT_TRUE(glIsTexture(texture.name()));
  EXPECT_EQ(LevelWidth(), 0);
}

TEST_F(GLTextureTest, ARejectedFileLeavesABoundNameWithoutAnImage) {
  std::vector<uint8_t> bytes = MakeBmp(BmpSpec());
  bytes[0] = 'X';
  std::string path = WriteFile("tremblix-foreign.bmp", bytes);
  GLTexture texture;
  EXPECT_FALSE(texture.LoadBmp(path.c_str()));
  EXPECT_EQ(Bound(), texture.name());
  EXPECT_EQ(LevelWidth(), 0);
}

TEST_F(GLTextureTest, LoadingAgainDeletesTheFirstName) {
  std::string path = WriteFile("tremblix-small.bmp", MakeBmp(BmpSpec()));
  GLTexture texture;
  texture.LoadBmp(path.c_str());
  GLuint first = texture.name();
  texture.LoadBmp(path.c_str());
  GLuint second = texture.name();
  if (second != first) {
    EXPECT_FALSE(glIsTexture(first));
  }
  EXPECT_TRUE(glIsTexture(second));
}

TEST_F(GLTextureTest, AnObjectNeverLoadedReleasesNothing) {
  GLTexture kept;
  kept.Create("kept");
  {
    GLTexture never_loaded;
    EXPECT_FALSE(never_loaded.holds_texture());
  }
  EXPECT_TRUE(glIsTexture(kept.name()));
}

TEST_F(GLTextureTest, TopDownPicturesAreUploadedUpright) {
  // Power-of-two sizes keep the mipmap builder from rescaling level 0.
  BmpSpec spec;
  spec.width = 4;
  spec.height = -4;
  std::string path = WriteFile("tremblix-topdown.bmp", MakeBmp(spec));
  GLTexture texture;
  ASSERT_TRUE(texture.LoadBmp(path.c_str()));
  std::vector<uint8_t> level(4 * 4 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, level.data());
  // The file's first row (green 0) is the top: the texture's last row.
  EXPECT_EQ(level[3 * 4 * 3 + 1], 0);
  EXPECT_EQ(level[0 * 4 * 3 + 1], 3);
  EXPECT_EQ(level[3 * 3 + 0], 3);  // blue is x
}

TEST_F(GLTextureTest, APictureLoadedAheadWithinASmallerLimitIsLoadedAgain) {
  BmpSpec spec;
  spec.width = 64;
  spec.height = 64;
  std::string path = WriteFile("tremblix-ahead.bmp", MakeBmp(spec));
  tremblix::LoadedPicture ahead = tremblix::LoadPicture(tremblix::OpenPictureFile, path, 16);
  ASSERT_TRUE(ahead.ok());
  ASSERT_EQ(ahead.levels[0].width, 16);
  GLTexture texture;
  ASSERT_TRUE(texture.LoadBmp(path.c_str(), std::move(ahead)));
  EXPECT_EQ(LevelWidth(), 64) << "the chain of the smaller limit was uploaded";
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}

// Another monitor's pictures in the 32-bit edition are built within a limit
// of their own, ahead or not; a chain built within the limit is kept.
TEST_F(GLTextureTest, ALimitOfItsOwnBoundsTheChainAheadOrNot) {
  std::string path = WritePicture("tremblix-limited.bmp", 64, 32);
  GLTexture texture;
  ASSERT_TRUE(texture.LoadBmp(path.c_str(), nullptr, 16));
  EXPECT_EQ(LevelWidth(), 16);
  tremblix::LoadedPicture ahead = tremblix::LoadPicture(tremblix::OpenPictureFile, path, 16);
  ASSERT_TRUE(ahead.ok());
  ASSERT_TRUE(texture.LoadBmp(path.c_str(), std::move(ahead), nullptr, 16));
  EXPECT_EQ(LevelWidth(), 16);
  ahead = tremblix::LoadPicture(tremblix::OpenPictureFile, path, 8192);
  ASSERT_TRUE(texture.LoadBmp(path.c_str(), std::move(ahead), nullptr, 32));
  EXPECT_EQ(LevelWidth(), 32) << "a chain of a larger limit is built again within its own";
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}

TEST_F(GLTextureTest, ThirtyTwoBitPicturesAreConverted) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 4;
  spec.bits = 32;
  std::string path = WriteFile("tremblix-32.bmp", MakeBmp(spec));
  GLTexture texture;
  ASSERT_TRUE(texture.LoadBmp(path.c_str()));
  std::vector<uint8_t> level(4 * 4 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, level.data());
  EXPECT_EQ(level[(2 * 4 + 1) * 3 + 0], 1);
  EXPECT_EQ(level[(2 * 4 + 1) * 3 + 1], 2);
  EXPECT_EQ(level[(2 * 4 + 1) * 3 + 2], 7);
}

}  // namespace
