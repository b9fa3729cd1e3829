#include "renderer/gl_texture_win32.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "bitmap/bitmap.h"
#include "renderer/mipmaps.h"
#include "timing/launch_times_win32.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {

// Beyond any picture the screen saver writes; a larger file is not a picture of ours.
constexpr LONGLONG kLargestFile = 512LL << 20;

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestFile;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() ||
         (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
          read == bytes.size());
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

void GLTexture::Release() {
  if (namePlusOne == 0) return;
  GLuint name = namePlusOne - 1;
  glDeleteTextures(1, &name);
  namePlusOne = 0;
}

bool GLTexture::Create(const char* file) {
  Release();
  std::strncpy(fileName, file, sizeof(fileName) - 1);
  fileName[sizeof(fileName) - 1] = '\0';
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

bool GLTexture::LoadBmp(const char* file, tremblix::TextureTimes* times) {
  tremblix::TextureTimes unused;
  if (!times) times = &unused;
  Create(file);
  // Without a context (no OpenGL on this display) there is nothing to upload
  // into, and the mipmap builder would work from garbage limits.
  if (!wglGetCurrentContext()) return false;
  double start = tremblix::launch_times::Now();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, bytes)) return false;
  tremblix::BmpImage image;
  if (tremblix::DecodeBmp(bytes.data(), bytes.size(), image) != tremblix::BmpResult::kOk) {
    return false;
  }
  bytes = {};
  times->read = tremblix::launch_times::Now() - start;
  width = image.width;
  height = image.height;

  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  // The whole chain down to 1 x 1, as the mipmap filter needs it, with rows
  // in file order: t = 0 is the bottom row.
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  start = tremblix::launch_times::Now();
  const std::vector<tremblix::BmpImage> levels =
      tremblix::BuildMipmaps(image, largest > 0 ? largest : 1024);
  times->chain = tremblix::launch_times::Now() - start;
  start = tremblix::launch_times::Now();
  for (size_t level = 0; level < levels.size(); ++level) {
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, levels[level].width,
                 levels[level].height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 levels[level].pixels.data());
  }
  times->upload = tremblix::launch_times::Now() - start;
  return true;
}
