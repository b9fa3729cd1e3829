#include "saver/run/desktop_copy_win32.h"

#include <windows.h>

namespace tremblix {

namespace {

std::wstring DesktopName(HDESK desktop) {
  wchar_t name[256] = {};
  DWORD needed = 0;
  if (!desktop ||
      !GetUserObjectInformationW(desktop, UOI_NAME, name, sizeof(name) - sizeof(wchar_t),
                                 &needed)) {
    return L"";
  }
  return name;
}

// The size of the view at the address, as Windows mapped it (whole pages).
size_t ViewBytes(const void* view) {
  MEMORY_BASIC_INFORMATION info = {};
  if (!VirtualQuery(view, &info, sizeof(info))) return 0;
  return info.RegionSize;
}

}  // namespace

std::wstring ThreadDesktopName() { return DesktopName(GetThreadDesktop(GetCurrentThreadId())); }

bool ThreadDesktopTakesInput() {
  HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (!input) return false;
  const std::wstring name = DesktopName(input);
  CloseDesktop(input);
  return !name.empty() && lstrcmpiW(name.c_str(), ThreadDesktopName().c_str()) == 0;
}

uint32_t LastInputTick() {
  LASTINPUTINFO info = {sizeof(info), 0};
  return GetLastInputInfo(&info) ? info.dwTime : GetTickCount();
}

bool CopyHolder::Take(const std::vector<ScreenRect>& monitors) {
  Drop();
  const size_t bytes = DesktopCopyBytes(monitors);
  if (bytes == 0) return false;
  const uint64_t size = bytes;
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                      static_cast<DWORD>(size >> 32), static_cast<DWORD>(size),
                                      kDesktopCopyName);
  if (!mapping) return false;
  // A run still holding the last copy keeps that memory, perhaps smaller.
  uint8_t* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  if (!view || ViewBytes(view) < bytes) {
    if (view) UnmapViewOfFile(view);
    CloseHandle(mapping);
    return false;
  }
  // Unmarked while it is written: a run that opens it meanwhile reads none.
  InterlockedExchange(reinterpret_cast<volatile LONG*>(view), 0);
  DesktopCopy copy = LayOutDesktopCopy(monitors);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  bool ok = screen && dc;
  for (size_t i = 0; ok && i < monitors.size(); ++i) {
    // Each monitor's pixels are a bitmap of the memory itself: the screen is
    // copied straight into it.
    const ScreenRect& m = monitors[i];
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m.Width();
    info.bmiHeader.biHeight = m.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, mapping,
                                       static_cast<DWORD>(copy.offsets[i]));
    HGDIOBJ old = section ? SelectObject(dc, section) : nullptr;
    ok = old && BitBlt(dc, 0, 0, m.Width(), m.Height(), screen, m.left, m.top, SRCCOPY);
    GdiFlush();
    if (old) SelectObject(dc, old);
    if (section) DeleteObject(section);
  }
  if (dc) DeleteDC(dc);
  if (screen) ReleaseDC(nullptr, screen);
  if (ok) {
    copy.taken = GetTickCount();
    WriteCopyHeader(copy, view);
    MemoryBarrier();
    MarkCopyComplete(view);
  }
  UnmapViewOfFile(view);
  if (!ok) {
    CloseHandle(mapping);
    return false;
  }
  mapping_ = mapping;
  taken_ = copy.taken;
  return true;
}

void CopyHolder::Drop() {
  if (mapping_) CloseHandle(mapping_);
  mapping_ = nullptr;
}

OpenedCopy::OpenedCopy() {
  mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, kDesktopCopyName);
  if (!mapping_) return;
  view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
  if (!view_) return;
  copy_ = ReadDesktopCopy(view_, ViewBytes(view_));
}

OpenedCopy::~OpenedCopy() {
  if (view_) UnmapViewOfFile(view_);
  if (mapping_) CloseHandle(mapping_);
}

ScreenPixels OpenedCopy::PixelsOf(size_t i) const {
  if (!copy_ || i >= copy_->monitors.size()) return {};
  const ScreenRect& m = copy_->monitors[i];
  return {m.Width(), m.Height(), 4, static_cast<size_t>(m.Width()) * 4,
          view_ + copy_->offsets[i]};
}

}  // namespace tremblix
