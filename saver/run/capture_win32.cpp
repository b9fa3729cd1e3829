#include "saver/run/capture_win32.h"

#include <windows.h>

#include <cstring>

#include "saver/run/hand_off.h"
#include "timing/launch_times_win32.h"

namespace tremblix {

BmpImage PhotographScreen() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  BmpImage screen = BlackBmp(width, height);

  // One copy into a 24-bit section, whatever the display's depth: the
  // renderer reads three bytes a pixel.
  HWND desktop = GetDesktopWindow();
  HDC screen_dc = GetDC(desktop);
  if (!screen_dc) return screen;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the files keep it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory_dc = CreateCompatibleDC(screen_dc);
  HBITMAP section = CreateDIBSection(screen_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory_dc && section && bits) {
    HGDIOBJ old = SelectObject(memory_dc, section);
    BitBlt(memory_dc, 0, 0, width, height, screen_dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(screen.pixels.data(), bits, screen.pixels.size());
    SelectObject(memory_dc, old);
  }
  if (section) DeleteObject(section);
  if (memory_dc) DeleteDC(memory_dc);
  ReleaseDC(desktop, screen_dc);
  launch_times::Mark("scr photographed %dx%d", width, height);
  return screen;
}

void WriteHandOffPictures(const BmpImage& screen) {
  for (const HandOffPicture& picture : MakeHandOffPictures(screen)) {
    const std::vector<uint8_t> bytes = EncodeBmp(picture.image);
    HANDLE file = CreateFileA(picture.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    launch_times::Mark("scr wrote %s", picture.path.c_str());
  }
}

}  // namespace tremblix
