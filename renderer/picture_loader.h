// The scene's pictures read and turned into mipmap chains ahead of their
// upload, on worker threads, while Windows makes the window and the OpenGL
// context. Only the upload stays for the renderer's one OpenGL thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bitmap/bitmap.h"

namespace tremblix {

// One file read and its chain built.
struct LoadedPicture {
  bool opened = false;
  BmpResult result = BmpResult::kTooShort;
  int32_t width = 0;   // as the file gives it
  int32_t height = 0;
  int32_t largest = 0;  // the size limit the chain was built within
  std::vector<BmpImage> levels;
  double read_ms = 0;
  double chain_ms = 0;
  // Memory ran out on the way: the picture may still fit once other work has
  // given its memory back.
  bool out_of_memory = false;

  bool ok() const { return opened && result == BmpResult::kOk; }
  // Whether the chain is the one a limit of largest gives.
  bool BuiltFor(int32_t largest) const;
};

// Opens a file to read from its start; null when it cannot be opened.
using OpenFile = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

// Never throws: a picture that cannot be read or built, for whatever reason,
// comes back failed.
LoadedPicture LoadPicture(const OpenFile& open, const std::string& path, int32_t largest) noexcept;

// A file to load, and the size its chain is built within.
struct PictureRequest {
  std::string path;
  int32_t largest;
};

class PictureLoader {
 public:
  // Starts loading the files, in their order, on up to workers threads.
  PictureLoader(OpenFile open, const std::vector<std::string>& paths, int32_t largest,
                int workers);
  // The same, each file within a size of its own; one taken that was never
  // asked for is built within largest.
  PictureLoader(OpenFile open, const std::vector<PictureRequest>& requests, int32_t largest,
                int workers);
  ~PictureLoader();
  PictureLoader(const PictureLoader&) = delete;
  PictureLoader& operator=(const PictureLoader&) = delete;

  // The picture of path, once it is loaded; one no worker has begun yet is
  // loaded here and now, and so is one taken before or never given. A picture
  // a worker ran out of memory for is tried once more here, with that
  // worker's memory given back.
  LoadedPicture Take(const std::string& path);

 private:
  enum class State { kWaiting, kLoading, kDone, kTaken };
  struct Slot {
    std::string path;
    int32_t largest;
    State state = State::kWaiting;
    LoadedPicture picture;
  };

  void Work() noexcept;
  void StartWorkers(int count) noexcept;

  const OpenFile open_;
  const int32_t largest_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::vector<Slot> slots_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tremblix
