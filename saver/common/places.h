// Where the two programs keep the files of the user who runs them: the
// hand-off pictures, and the settings file of the 64-bit edition. The platform
// finds the user's folders; these rules choose among them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tremblix {

enum class Edition { k32Bit, k64Bit };

// The edition this code is built as.
inline constexpr Edition kThisEdition = sizeof(void*) == 8 ? Edition::k64Bit : Edition::k32Bit;

// The programs' own folder inside one of the user's application-data folders.
std::wstring UserFolder(std::wstring_view app_data);

// The hand-off pictures' folder: the user's own (user_folder, empty when
// Windows gave none) when it exists or could be made, else none (empty): no
// other folder is shared with other accounts or left by older versions.
std::wstring PictureFolder(std::wstring_view user_folder, bool exists);

// Picture n (1 to 4) by name, and in folder; one spelling for both programs,
// since a folder may tell letter case apart. No folder gives no path.
std::wstring PictureName(int n);
std::wstring PicturePath(std::wstring_view folder, int n);

// Picture n of monitor set k: set 1, the primary's, keeps the names above,
// which older renderers read; set k of 2 and on is Tremblix-k-n.bmp (n 1 to 3).
std::wstring PictureName(int set, int n);
std::wstring PicturePath(std::wstring_view folder, int set, int n);

// The file a picture is written into before it is put in place, and the name
// the replaced picture gets for a moment on its way to becoming the next
// run's temporary file.
std::wstring PictureTempPath(std::wstring_view folder, int n);
std::wstring PictureBackupPath(std::wstring_view folder, int n);
std::wstring PictureTempPath(std::wstring_view folder, int set, int n);
std::wstring PictureBackupPath(std::wstring_view folder, int set, int n);

// The set of 2 and on that a file of the pictures' folder belongs to, by its
// name (a picture, or its temporary or replaced file); nothing for any other
// name. Names match without regard to case, as Windows' do.
std::optional<int> PictureSetOfFile(std::wstring_view name);

// The file that tells the renderer which sets there are (monitors.h).
std::wstring MonitorsFilePath(std::wstring_view folder);

// Where an edition keeps its settings, and where it may find the choice it
// made before it kept them there.
struct SettingsPlace {
  std::wstring file;
  // Best first; the first that exists is taken over while file is missing.
  std::vector<std::wstring> earlier;
};

// Both editions keep the settings in the user's roaming folder
// (roaming_user_folder): beside the program, Windows may refuse a standard
// user or share one file with every account. Without that folder, beside the
// program, as ever. The 32-bit edition used to keep them beside itself
// (program_folder), the 64-bit edition found them beside the 32-bit one
// (wow64_folder, empty on 32-bit Windows); each first looks for the user's
// own copy that Windows made of that file (under local_app_data).
SettingsPlace SettingsPlaceOf(Edition edition, std::wstring_view program_folder,
                              std::wstring_view roaming_user_folder,
                              std::wstring_view local_app_data, std::wstring_view wow64_folder);

// The earlier file whose choice the settings file starts from: none (empty)
// when the user has a settings file already, else the first of earlier that
// exists.
std::wstring SettingsToTakeOver(bool own_file_exists, const std::vector<std::wstring>& earlier,
                                const std::function<bool(const std::wstring&)>& exists);

}  // namespace tremblix
