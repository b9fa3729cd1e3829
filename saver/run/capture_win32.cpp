#include "saver/run/capture_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {

namespace {

// One write of the whole file. An earlier run's file is written over and cut
// to length rather than emptied first: the same bytes in the end, and several
// times faster for a screen-sized file than freeing its pages and taking new.
void WriteWholeFile(const std::wstring& folder, int number, const std::vector<uint8_t>& bytes) {
  const std::wstring path = PicturePath(folder, number);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  SetEndOfFile(file);
  CloseHandle(file);
  launch_times::Mark("scr wrote Tremblix%d.bmp", number);
}

}  // namespace

void PhotographAndWriteHandOffPictures() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  // One copy into a 32-bit section: the screen's own depth, so that GDI copies
  // without converting; the files take three of the four bytes.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the files keep it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HWND desktop = GetDesktopWindow();
  HDC screen_dc = GetDC(desktop);
  void* bits = nullptr;
  HDC memory_dc = screen_dc ? CreateCompatibleDC(screen_dc) : nullptr;
  HBITMAP section =
      screen_dc ? CreateDIBSection(screen_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  bool photographed = false;
  if (memory_dc && section && bits) {
    HGDIOBJ old = SelectObject(memory_dc, section);
    photographed = BitBlt(memory_dc, 0, 0, width, height, screen_dc, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory_dc, old);
  }
  if (screen_dc) ReleaseDC(desktop, screen_dc);
  launch_times::Mark("scr photographed %dx%d", width, height);

  std::vector<uint8_t> black;
  ScreenPixels screen = {width, height, 4, static_cast<size_t>(width) * 4,
                         static_cast<const uint8_t*>(bits)};
  if (!photographed || !bits) {
    black.assign(screen.row_bytes * (height > 0 ? height : 0), 0);
    screen.rows = black.data();
  }
  WriteHandOffPictures(screen);
  if (section) DeleteObject(section);
  if (memory_dc) DeleteDC(memory_dc);
}

void WriteHandOffPictures(const ScreenPixels& screen) {
  const std::wstring folder = PictureFolderOfThisUser(true);
  std::vector<uint8_t> bytes;
  for (const HandOffFile& file : kScreenFiles) {
    MakeHandOffFile(screen, file.view, bytes);
    WriteWholeFile(folder, file.number, bytes);
  }
  WriteWholeFile(folder, kBlackFile, BlackHandOffFile());
}

}  // namespace tremblix
