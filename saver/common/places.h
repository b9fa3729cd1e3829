// Where the two programs keep the files of the user who runs them: the
// hand-off pictures, and the settings file of the 64-bit edition. The platform
// finds the user's folders; these rules choose among them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tremblix {

enum class Edition { k32Bit, k64Bit };

// The edition this code is built as.
inline constexpr Edition kThisEdition = sizeof(void*) == 8 ? Edition::k64Bit : Edition::k32Bit;

// The programs' own folder inside one of the user's application-data folders.
std::wstring UserFolder(std::wstring_view app_data);

// The root of drive C, where the pictures lived before they had a folder of
// their own, and where they still go when the user's folder cannot be had.
inline constexpr wchar_t kDriveRoot[] = L"C:";

// The hand-off pictures' folder: the user's own (user_folder, empty when
// Windows gave none) when it exists or could be made, else the root of C.
std::wstring PictureFolder(std::wstring_view user_folder, bool exists);

// Picture n (1 to 4) by name, and in folder: the screen saver writes ".bmp",
// the renderer asks for ".BMP", the same file.
std::wstring PictureName(int n, std::wstring_view extension = L".bmp");
std::wstring PicturePath(std::wstring_view folder, int n, std::wstring_view extension = L".bmp");

// The settings file. The 32-bit edition keeps it beside the program, where
// Windows gives each user a copy of their own if the folder cannot be written.
// A 64-bit program is given no such copy: the 64-bit edition keeps the file in
// the user's roaming folder (roaming_user_folder), or beside the program when
// Windows gives no such folder.
std::wstring SettingsFile(Edition edition, std::wstring_view program_folder,
                          std::wstring_view roaming_user_folder);

// Where the 32-bit edition of this user left its settings, best first: the
// user's own copy that Windows made of the file in the 32-bit system folder,
// then that file itself. The 64-bit edition takes its first settings from the
// first of them that exists.
std::vector<std::wstring> EarlierSettingsFiles(std::wstring_view local_app_data,
                                               std::wstring_view wow64_folder);

// The earlier file whose choice the settings file starts from: none (empty)
// when the user has a settings file already, else the first of earlier that
// exists.
std::wstring SettingsToTakeOver(bool own_file_exists, const std::vector<std::wstring>& earlier,
                                const std::function<bool(const std::wstring&)>& exists);

}  // namespace tremblix
