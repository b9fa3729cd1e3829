#include "saver/run/photograph.h"

#include <cstring>
#include <cwctype>

namespace tremblix {

namespace {

// As Windows reads a number kept as text: leading blanks, then digits.
bool TextIsOn(const std::wstring& text) {
  size_t at = 0;
  while (at < text.size() && std::iswspace(text[at])) ++at;
  bool any = false;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    if (text[at] != L'0') any = true;
  }
  return any;
}

}  // namespace

bool IsOneColour(const ScreenPixels& screen) {
  if (screen.width <= 0 || screen.height <= 0 || !screen.rows) return true;
  const int step = screen.bytes_per_pixel;
  const uint8_t* first = screen.rows;
  for (int32_t y = 0; y < screen.height; ++y) {
    const uint8_t* pixel = screen.rows + static_cast<size_t>(y) * screen.row_bytes;
    for (int32_t x = 0; x < screen.width; ++x, pixel += step) {
      if (std::memcmp(pixel, first, 3) != 0) return false;
    }
  }
  return true;
}

bool SaverIsSecure(std::optional<bool> asked, const std::optional<std::wstring>& policy_value,
                   const std::optional<std::wstring>& user_value) {
  if (asked) return *asked;
  if (policy_value) return TextIsOn(*policy_value);
  return user_value && TextIsOn(*user_value);
}

std::vector<std::wstring> WallpaperFiles(std::wstring_view named,
                                         std::wstring_view roaming_app_data) {
  std::vector<std::wstring> files;
  if (named.empty()) return files;
  if (!roaming_app_data.empty()) {
    files.push_back(std::wstring(roaming_app_data) +
                    L"\\Microsoft\\Windows\\Themes\\TranscodedWallpaper");
  }
  files.emplace_back(named);
  return files;
}

const char* NameOf(PictureSource source) {
  switch (source) {
    case PictureSource::kPhotograph: return "photograph";
    case PictureSource::kCompanionCopy: return "companion's copy";
    case PictureSource::kWallpaper: return "wallpaper";
    case PictureSource::kDesktopColour: return "colour";
  }
  return "?";
}

bool IsUsersDesktop(std::wstring_view desktop) {
  constexpr std::wstring_view kDefault = L"Default";
  if (desktop.size() != kDefault.size()) return false;
  for (size_t i = 0; i < desktop.size(); ++i) {
    if (std::towlower(desktop[i]) != std::towlower(kDefault[i])) return false;
  }
  return true;
}

bool MayCopyScreen(std::wstring_view desktop, bool secure) {
  return !secure && IsUsersDesktop(desktop);
}

std::vector<PictureSource> PictureSources(const PictureFacts& facts) {
  std::vector<PictureSource> sources;
  if (!facts.secure) {
    if (facts.photograph_shows_desktop && MayCopyScreen(facts.desktop, facts.secure)) {
      sources.push_back(PictureSource::kPhotograph);
    }
    if (facts.companion == CopyState::kFresh && facts.copy_of_present_monitors) {
      sources.push_back(PictureSource::kCompanionCopy);
    }
  }
  sources.insert(sources.end(), {PictureSource::kWallpaper, PictureSource::kDesktopColour});
  return sources;
}

std::optional<PictureSource> MakePictures(const PictureFacts& facts, PictureMaker& maker,
                                          int count) {
  std::array<bool, kBlackFile + 1> written = {};
  for (PictureSource source : PictureSources(facts)) {
    bool all = true;
    for (int n = 1; n <= count && all; ++n) {
      all = maker.Write(source, n);
      written[n] = written[n] || all;
    }
    if (all) return source;
  }
  for (int n = 1; n <= count; ++n) {
    if (!written[n]) maker.Remove(n);
  }
  return std::nullopt;
}

}  // namespace tremblix
