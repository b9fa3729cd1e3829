#include "renderer/picture_loader.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <new>
#include <stdexcept>

#include "renderer/mipmaps.h"
#include "tests/native/bmp_builder.h"

namespace tremblix {
namespace {

using testing::BmpSpec;
using testing::MakeBmp;

// Files in memory, opened as the renderer opens them.
struct Files {
  std::map<std::string, std::vector<uint8_t>> bytes;
  OpenFile Opener() {
    return [this](const std::string& path) -> std::unique_ptr<ByteSource> {
      auto file = bytes.find(path);
      if (file == bytes.end()) return nullptr;
      return std::make_unique<MemoryBytes>(file->second.data(), file->second.size());
    };
  }
};

std::vector<uint8_t> Picture(int32_t width, int32_t height) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  return MakeBmp(spec);
}

std::vector<BmpImage> ChainOf(const std::vector<uint8_t>& file, int32_t largest) {
  BmpImage image;
  EXPECT_EQ(DecodeBmp(file.data(), file.size(), image), BmpResult::kOk);
  return BuildMipmaps(image, largest);
}

void ExpectSameLevels(const std::vector<BmpImage>& levels, const std::vector<BmpImage>& expected) {
  ASSERT_EQ(levels.size(), expected.size());
  for (size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(levels[i].pixels, expected[i].pixels) << i;
}

TEST(PictureLoader, GivesEachFileItsChainWhateverOrderTheyAreTakenIn) {
  Files files;
  files.bytes["a"] = Picture(93, 85);
  files.bytes["b"] = Picture(37, 20);
  files.bytes["c"] = Picture(5, 3);
  PictureLoader loader(files.Opener(), {"a", "b", "c"}, 64, 2);
  for (const char* path : {"c", "a", "b"}) {
    LoadedPicture picture = loader.Take(path);
    ASSERT_TRUE(picture.ok()) << path;
    EXPECT_EQ(picture.width, path[0] == 'a' ? 93 : path[0] == 'b' ? 37 : 5);
    ExpectSameLevels(picture.levels, ChainOf(files.bytes[path], 64));
  }
}

TEST(PictureLoader, AMissingOrForeignFileFailsAloneAndTheRestLoad) {
  Files files;
  files.bytes["foreign"] = Picture(4, 4);
  files.bytes["foreign"][0] = 'X';
  files.bytes["good"] = Picture(4, 4);
  PictureLoader loader(files.Opener(), {"missing", "foreign", "good"}, 64, 2);
  EXPECT_FALSE(loader.Take("missing").opened);
  LoadedPicture foreign = loader.Take("foreign");
  EXPECT_TRUE(foreign.opened);
  EXPECT_EQ(foreign.result, BmpResult::kNotBitmap);
  EXPECT_FALSE(foreign.ok());
  EXPECT_TRUE(loader.Take("good").ok());
}

TEST(PictureLoader, ATakenOrUnlistedFileIsLoadedAgainAtOnce) {
  Files files;
  files.bytes["a"] = Picture(8, 8);
  files.bytes["b"] = Picture(2, 2);
  PictureLoader loader(files.Opener(), {"a"}, 64, 1);
  EXPECT_TRUE(loader.Take("a").ok());
  LoadedPicture again = loader.Take("a");
  ASSERT_TRUE(again.ok());
  ExpectSameLevels(again.levels, ChainOf(files.bytes["a"], 64));
  EXPECT_TRUE(loader.Take("b").ok());
}

// A worker that runs out of memory, or meets any other failure, marks its
// picture failed instead of taking the renderer down; one out of memory is
// tried once more by the taker.
TEST(PictureLoader, AWorkerThatRunsOutOfMemoryLeavesThePictureForTheTakerToTryAgain) {
  Files files;
  files.bytes["big"] = Picture(16, 16);
  files.bytes["never"] = Picture(16, 16);
  files.bytes["odd"] = Picture(16, 16);
  std::mutex mutex;
  std::map<std::string, int> opened;
  OpenFile plain = files.Opener();
  OpenFile open = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
    int attempt;
    {
      std::lock_guard<std::mutex> lock(mutex);
      attempt = ++opened[path];
    }
    if (path == "never" || (path == "big" && attempt == 1)) throw std::bad_alloc();
    if (path == "odd") throw std::runtime_error("not memory");
    return plain(path);
  };
  PictureLoader loader(open, {"big", "never", "odd"}, 64, 2);
  // Taken only once the workers have begun all three: a picture nobody has
  // begun is the taker's own first try.
  for (;;) {
    std::lock_guard<std::mutex> lock(mutex);
    if (opened.size() == 3) break;
  }

  LoadedPicture big = loader.Take("big");
  ASSERT_TRUE(big.ok());
  ExpectSameLevels(big.levels, ChainOf(files.bytes["big"], 64));

  LoadedPicture never = loader.Take("never");
  EXPECT_FALSE(never.ok());
  EXPECT_TRUE(never.levels.empty());

  LoadedPicture odd = loader.Take("odd");
  EXPECT_FALSE(odd.ok());
  EXPECT_FALSE(odd.out_of_memory);

  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(opened["big"], 2);
  EXPECT_EQ(opened["never"], 2);  // once by a worker, once more by the taker, no more
  EXPECT_EQ(opened["odd"], 1);
}

TEST(LoadedPicture, AChainBuiltWithinALargerLimitIsNotTakenForASmallerOne) {
  Files files;
  files.bytes["wide"] = Picture(2000, 10);  // 2048 x 8 within 4096, 1024 x 8 within 1024
  LoadedPicture picture = LoadPicture(files.Opener(), "wide", 4096);
  ASSERT_TRUE(picture.ok());
  EXPECT_TRUE(picture.BuiltFor(4096));
  EXPECT_TRUE(picture.BuiltFor(16384));
  EXPECT_FALSE(picture.BuiltFor(1024));
}

}  // namespace
}  // namespace tremblix
