#include "saver/common/monitors.h"

#include <algorithm>
#include <charconv>

namespace tremblix {

std::vector<ScreenRect> NumberMonitors(const std::vector<Monitor>& given) {
  // A cloned pair is one monitor, primary if either is.
  std::vector<Monitor> monitors;
  for (const Monitor& m : given) {
    if (m.rect.Width() <= 0 || m.rect.Height() <= 0) continue;
    auto same = std::find_if(monitors.begin(), monitors.end(),
                             [&](const Monitor& o) { return o.rect == m.rect; });
    if (same == monitors.end()) {
      monitors.push_back(m);
    } else {
      same->primary = same->primary || m.primary;
    }
  }
  if (monitors.empty()) return {{0, 0, kFallbackScreenWidth, kFallbackScreenHeight}};
  if (std::none_of(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; })) {
    monitors.front().primary = true;
  }

  // What lies inside another monitor is shown by that one.
  std::vector<ScreenRect> outer;
  for (const Monitor& m : monitors) {
    const bool inside = std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& o) {
      return o.rect != m.rect && o.rect.Contains(m.rect);
    });
    if (!inside) outer.push_back(m.rect);
  }
  const ScreenRect primary =
      std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; })
          ->rect;
  std::sort(outer.begin(), outer.end(), [](const ScreenRect& a, const ScreenRect& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  // The primary, or the first monitor around it, goes first.
  auto first = std::find_if(outer.begin(), outer.end(),
                            [&](const ScreenRect& r) { return r.Contains(primary); });
  std::rotate(outer.begin(), first, first + 1);
  return outer;
}

std::string FormatMonitorsFile(const MonitorsFile& file) {
  std::string text = file.all_monitors ? "all\r\n" : "primary\r\n";
  for (const PictureSet& set : file.sets) {
    const ScreenRect& r = set.rect;
    text += std::to_string(set.number) + ' ' + std::to_string(r.left) + ' ' +
            std::to_string(r.top) + ' ' + std::to_string(r.right) + ' ' +
            std::to_string(r.bottom) + "\r\n";
  }
  return text;
}

namespace {

// The next line, without its line end; false at the end of the text.
bool NextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const size_t end = text.find('\n');
  line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

// Whole numbers separated by single blanks, nothing else.
bool ReadNumbers(std::string_view line, int32_t* numbers, size_t count) {
  const char* at = line.data();
  const char* end = line.data() + line.size();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) {
      if (at == end || *at != ' ') return false;
      ++at;
    }
    const auto [next, error] = std::from_chars(at, end, numbers[i]);
    if (error != std::errc()) return false;
    at = next;
  }
  return at == end;
}

}  // namespace

std::optional<MonitorsFile> ParseMonitorsFile(std::string_view text) {
  MonitorsFile file;
  std::string_view line;
  if (!NextLine(text, line)) return std::nullopt;
  if (line == "all") {
    file.all_monitors = true;
  } else if (line == "primary") {
    file.all_monitors = false;
  } else {
    return std::nullopt;
  }
  while (NextLine(text, line)) {
    if (line.empty() && text.empty()) break;  // the last line's end
    int32_t n[5];
    if (!ReadNumbers(line, n, 5)) return std::nullopt;
    const PictureSet set{n[0], {n[1], n[2], n[3], n[4]}};
    if (set.number < 1 || set.number > kMostPictureSets) return std::nullopt;
    // Computed wide: the corners may lie anywhere a 32-bit number reaches.
    if (int64_t{set.rect.right} <= set.rect.left || int64_t{set.rect.bottom} <= set.rect.top) {
      return std::nullopt;
    }
    if (std::any_of(file.sets.begin(), file.sets.end(),
                    [&](const PictureSet& s) { return s.number == set.number; })) {
      return std::nullopt;
    }
    file.sets.push_back(set);
  }
  return file;
}

int PictureSetFor(const std::optional<MonitorsFile>& file, int number, const ScreenRect& rect) {
  if (number == 1 || !file) return 1;
  for (const PictureSet& set : file->sets) {
    if (set.number >= 2 && set.rect == rect) return set.number;
  }
  return 1;
}

}  // namespace tremblix
