// dialoggen: writes the settings dialog's pictures into a folder.
//   dialoggen FOLDER
// The program embeds the files it writes (saver/settings/pictures); a unit
// test checks that they still match these rules byte for byte.
#include <cstdio>
#include <fstream>
#include <string>

#include "saver/settings/dialog_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialoggen FOLDER\n");
    return 2;
  }
  for (const tremblix::DialogPicture& picture : tremblix::DialogPictures()) {
    const std::string path = std::string(argv[1]) + "/" + picture.file_name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(picture.bytes.data()),
              static_cast<std::streamsize>(picture.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "dialoggen: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
