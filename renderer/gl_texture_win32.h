// One OpenGL texture loaded from a bitmap file, with its mipmaps.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bitmap/bitmap.h"
#include "renderer/bench_win32.h"
#include "renderer/picture_loader.h"

class GLTexture {
 public:
  GLTexture() = default;
  GLTexture(const GLTexture&) = delete;
  GLTexture& operator=(const GLTexture&) = delete;
  // OpenGL goes with its context: the texture is released by Release while
  // the context is current, never at process exit, when OpenGL may be gone.
  ~GLTexture() = default;

  void Release();
  // Makes a new texture name, bound, with repeat wrapping and mipmap filtering.
  bool Create(const std::string& file);
  void Bind() const;
  // True when the picture was uploaded. Either way the object holds a bound
  // texture name afterwards; without an image it draws in plain vertex colour.
  // Where the time went is written to times when given.
  // file is the path in UTF-8: a user's folder may hold any letters. The
  // chain is built within this OpenGL's largest texture, and within limit.
  bool LoadBmp(const std::string& file, tremblix::TextureTimes* times = nullptr,
               int32_t limit = INT32_MAX);
  // The same from a picture loaded ahead; one whose chain was built within
  // another size limit is loaded again from its file.
  bool LoadBmp(const std::string& file, tremblix::LoadedPicture ahead,
               tremblix::TextureTimes* times = nullptr, int32_t limit = INT32_MAX);

  uint32_t name() const { return namePlusOne - 1; }
  bool holds_texture() const { return namePlusOne != 0; }
  int32_t image_width() const { return width; }
  int32_t image_height() const { return height; }

 private:
  bool Upload(tremblix::LoadedPicture picture, tremblix::TextureTimes& times);

  std::string fileName;
  uint32_t namePlusOne = 0;  // 0: no texture
  int32_t width = 0;
  int32_t height = 0;
};

namespace tremblix {

// A picture file opened to read, as the loader asks (its path in UTF-8); null
// when it cannot be.
std::unique_ptr<ByteSource> OpenPictureFile(const std::string& path);

}  // namespace tremblix
