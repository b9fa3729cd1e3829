// One OpenGL texture loaded from a bitmap file, with its mipmaps.
#pragma once

#include <cstdint>

#include "renderer/bench_win32.h"

class GLTexture {
 public:
  GLTexture() = default;
  GLTexture(const GLTexture&) = delete;
  GLTexture& operator=(const GLTexture&) = delete;
  ~GLTexture() { Release(); }

  void Release();
  // Makes a new texture name, bound, with repeat wrapping and mipmap filtering.
  bool Create(const char* file);
  void Bind() const;
  // True when the picture was uploaded. Either way the object holds a bound
  // texture name afterwards; without an image it draws in plain vertex colour.
  // Where the time went is written to times when given.
  bool LoadBmp(const char* file, tremblix::TextureTimes* times = nullptr);

  uint32_t name() const { return namePlusOne - 1; }
  bool holds_texture() const { return namePlusOne != 0; }
  int32_t image_width() const { return width; }
  int32_t image_height() const { return height; }

 private:
  char fileName[64] = {};
  uint32_t namePlusOne = 0;  // 0: no texture
  int32_t width = 0;
  int32_t height = 0;
};
