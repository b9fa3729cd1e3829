#include "renderer/picture_loader.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <utility>

#include "renderer/mipmaps.h"

namespace tremblix {

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

bool LoadedPicture::BuiltFor(int32_t limit) const {
  return !levels.empty() &&
         std::min(NearestPowerOfTwo(width), largest) == std::min(NearestPowerOfTwo(width), limit) &&
         std::min(NearestPowerOfTwo(height), largest) ==
             std::min(NearestPowerOfTwo(height), limit);
}

LoadedPicture LoadPicture(const OpenFile& open, const std::string& path, int32_t largest) noexcept {
  LoadedPicture picture;
  picture.largest = largest;
  try {
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<ByteSource> file = open(path);
    if (!file) return picture;
    picture.opened = true;
    BmpImage image;
    picture.result = ReadBmp(*file, image);
    file.reset();
    picture.read_ms = MillisecondsSince(start);
    if (picture.result != BmpResult::kOk) return picture;
    picture.width = image.width;
    picture.height = image.height;
    start = std::chrono::steady_clock::now();
    picture.levels = BuildMipmaps(std::move(image), largest);
    picture.chain_ms = MillisecondsSince(start);
  } catch (const std::bad_alloc&) {
    // A picture too large for the memory left is one without an image.
    picture.levels.clear();
    picture.result = BmpResult::kTooLarge;
    picture.out_of_memory = true;
  } catch (...) {
    picture.levels.clear();
    picture.result = BmpResult::kTooLarge;
  }
  return picture;
}

PictureLoader::PictureLoader(OpenFile open, const std::vector<std::string>& paths,
                             int32_t largest, int workers)
    : open_(std::move(open)), largest_(largest) {
  for (const std::string& path : paths) slots_.push_back({path, largest, State::kWaiting, {}});
  StartWorkers(std::min(workers, static_cast<int>(paths.size())));
}

PictureLoader::PictureLoader(OpenFile open, const std::vector<PictureRequest>& requests,
                             int32_t largest, int workers)
    : open_(std::move(open)), largest_(largest) {
  for (const PictureRequest& r : requests) {
    slots_.push_back({r.path, r.largest, State::kWaiting, {}});
  }
  StartWorkers(std::min(workers, static_cast<int>(requests.size())));
}

void PictureLoader::StartWorkers(int count) noexcept {
  // Whatever fails here, the workers already started go on, and Take loads
  // the pictures none of them begins.
  try {
    workers_.reserve(count);
    for (int i = 0; i < count; ++i) workers_.emplace_back(&PictureLoader::Work, this);
  } catch (...) {
  }
}

PictureLoader::~PictureLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  for (std::thread& worker : workers_) worker.join();
}

void PictureLoader::Work() noexcept {
  for (;;) {
    Slot* slot = nullptr;
    try {
      std::lock_guard<std::mutex> lock(mutex_);
      auto waiting = std::find_if(slots_.begin(), slots_.end(),
                                  [](const Slot& s) { return s.state == State::kWaiting; });
      if (stopping_ || waiting == slots_.end()) return;
      waiting->state = State::kLoading;
      slot = &*waiting;
    } catch (...) {
      // Not even the lock: what this worker has not begun, Take loads itself.
      return;
    }
    // The slots and their paths stay as they are for the loader's life, so
    // the path is read in place: nothing to copy, nothing to run out of.
    LoadedPicture picture = LoadPicture(open_, slot->path, slot->largest);
    // The picture must reach Take, or Take waits for ever.
    for (;;) {
      try {
        std::lock_guard<std::mutex> lock(mutex_);
        slot->picture = std::move(picture);
        slot->state = State::kDone;
        break;
      } catch (...) {
        std::this_thread::yield();
      }
    }
    done_.notify_all();
  }
}

LoadedPicture PictureLoader::Take(const std::string& path) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto slot = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) {
    return s.path == path && s.state != State::kTaken;
  });
  if (slot == slots_.end()) {
    lock.unlock();
    return LoadPicture(open_, path, largest_);
  }
  const int32_t largest = slot->largest;
  if (slot->state == State::kWaiting) {
    slot->state = State::kTaken;
    lock.unlock();
    return LoadPicture(open_, path, largest);
  }
  done_.wait(lock, [&] { return slot->state == State::kDone; });
  slot->state = State::kTaken;
  LoadedPicture picture = std::move(slot->picture);
  lock.unlock();
  if (picture.out_of_memory) {
    // Two workers holding large chains at once can run out where one alone
    // would not: try again here, with the failed attempt's memory given back.
    picture = LoadedPicture();
    return LoadPicture(open_, path, largest);
  }
  return picture;
}

}  // namespace tremblix
