// facegen: writes the push button's face pictures into a folder.
//   facegen FOLDER
// The program embeds the files it writes (saver/controls/command/faces); a
// unit test checks that they still match these rules byte for byte.
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "saver/controls/command/face_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: facegen FOLDER\n");
    return 2;
  }
  std::set<std::string> written;
  for (int i = 0; i < tremblix::kFaceCount; ++i) {
    const auto face = static_cast<tremblix::Face>(i);
    const std::string name = tremblix::FaceFileName(face);
    if (!written.insert(name).second) continue;
    const std::string path = std::string(argv[1]) + "/" + name;
    const auto bytes = tremblix::FacePictureBmp(face);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "facegen: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
