#include "renderer/gl_texture_win32.h"

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "bitmap/bitmap.h"
#include "renderer/mipmaps.h"
#include "saver/common/wide_text_win32.h"
#include "timing/launch_times_win32.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {

// Beyond any picture the screen saver writes; a larger file is not a picture of ours.
constexpr LONGLONG kLargestFile = 512LL << 20;

class PictureFile : public tremblix::ByteSource {
 public:
  PictureFile(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  ~PictureFile() override { CloseHandle(file_); }
  uint64_t Size() override { return size_; }
  size_t Read(uint8_t* into, size_t size) override {
    size_t total = 0;
    while (total < size) {
      DWORD read = 0;
      const DWORD piece = static_cast<DWORD>(std::min<size_t>(size - total, 1u << 30));
      if (!ReadFile(file_, into + total, piece, &read, nullptr) || read == 0) break;
      total += read;
    }
    return total;
  }

 private:
  HANDLE file_;
  uint64_t size_;
};

GLint LargestTexture() {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  return largest > 0 ? largest : 1024;
}

}  // namespace

namespace tremblix {

std::unique_ptr<ByteSource> OpenPictureFile(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path, CP_UTF8).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestFile) {
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<PictureFile>(file, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace tremblix

void GLTexture::Release() {
  if (namePlusOne == 0) return;
  GLuint name = namePlusOne - 1;
  glDeleteTextures(1, &name);
  namePlusOne = 0;
}

bool GLTexture::Create(const std::string& file) {
  Release();
  fileName = file;
  GLuint name = 0;
  glGenTextures(1, &name);
  namePlusOne = name + 1;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  return true;
}

void GLTexture::Bind() const { glBindTexture(GL_TEXTURE_2D, namePlusOne - 1); }

bool GLTexture::LoadBmp(const std::string& file, tremblix::TextureTimes* times, int32_t limit) {
  tremblix::TextureTimes unused;
  Create(file);
  // Without a context (no OpenGL on this display) there is nothing to upload
  // into, and the mipmap builder would work from garbage limits.
  if (!wglGetCurrentContext()) return false;
  return Upload(
      tremblix::LoadPicture(tremblix::OpenPictureFile, file, std::min(LargestTexture(), limit)),
      times ? *times : unused);
}

bool GLTexture::LoadBmp(const std::string& file, tremblix::LoadedPicture ahead,
                        tremblix::TextureTimes* times, int32_t limit) {
  tremblix::TextureTimes unused;
  Create(file);
  if (!wglGetCurrentContext()) return false;
  const GLint largest = std::min(LargestTexture(), limit);
  if (ahead.ok() && !ahead.BuiltFor(largest)) {
    ahead = tremblix::LoadPicture(tremblix::OpenPictureFile, file, largest);
  }
  return Upload(std::move(ahead), times ? *times : unused);
}

bool GLTexture::Upload(tremblix::LoadedPicture picture, tremblix::TextureTimes& times) {
  times.read = picture.read_ms;
  times.chain = picture.chain_ms;
  if (!picture.ok()) return false;
  width = picture.width;
  height = picture.height;

  const double start = tremblix::launch_times::Now();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  // The whole chain down to 1 x 1, as the mipmap filter needs it, with rows
  // in file order: t = 0 is the bottom row.
  for (size_t level = 0; level < picture.levels.size(); ++level) {
    const tremblix::BmpImage& image = picture.levels[level];
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, image.width, image.height, 0,
                 GL_BGR_EXT, GL_UNSIGNED_BYTE, image.pixels.data());
  }
  times.upload = tremblix::launch_times::Now() - start;
  return true;
}
