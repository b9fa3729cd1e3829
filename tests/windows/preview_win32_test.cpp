// The preview's still picture, embedded in a host window of this process.
#include "saver/run/run_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint8_t> pixels(width * height * 4);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0;
  return pixels;
}

HWND MakeWindow(const wchar_t* title, int x, int y, WNDPROC procedure = DefWindowProcW) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = title;
  RegisterClassW(&wc);
  return CreateWindowExW(0, title, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, 152,
                         112, nullptr, nullptr, wc.hInstance, nullptr);
}

void Pump(int ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

int g_witness_paints = 0;

LRESULT CALLBACK WitnessProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) ++g_witness_paints;
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(Preview, FillsA152By112HostWithTheStillPicture) {
  HWND host = MakeWindow(L"Preview Host", 30, 30);
  ASSERT_TRUE(host);
  tremblix::EmbedPreview(host);
  HWND preview = FindWindowExW(host, nullptr, nullptr, L"Preview Window");
  ASSERT_TRUE(preview) << "no preview window inside the host";
  RECT frame;
  GetWindowRect(preview, &frame);
  EXPECT_EQ(frame.right - frame.left, 152);
  EXPECT_EQ(frame.bottom - frame.top, 112);

  // What the preview paints, against the picture the program carries.
  HDC screen = GetDC(nullptr);
  HDC painted_dc = CreateCompatibleDC(screen);
  HBITMAP painted = CreateCompatibleBitmap(screen, 152, 112);
  SelectObject(painted_dc, painted);
  SendMessageW(preview, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted_dc), PRF_CLIENT);
  HBITMAP still = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"PREVIEW", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(still) << "the still picture is not in the program";
  std::vector<uint8_t> got = Pixels(screen, painted, 152, 112);
  SelectObject(painted_dc, GetStockObject(BLACK_BRUSH));
  std::vector<uint8_t> want = Pixels(screen, still, 152, 112);
  EXPECT_EQ(got, want);

  DeleteObject(still);
  DeleteDC(painted_dc);
  DeleteObject(painted);
  ReleaseDC(nullptr, screen);
  DestroyWindow(host);
}

TEST(Preview, AHostThatGoesEndsThePreviewWithoutRepaintingOtherWindows) {
  // As when the display settings close: the host goes, the preview window
  // outlives it for a moment.
  HWND host = MakeWindow(L"Vanishing Host", 200, 30);
  HWND shelter = MakeWindow(L"Shelter", 400, 30);
  HWND witness = MakeWindow(L"Witness", 600, 30, WitnessProc);
  ASSERT_TRUE(host && shelter && witness);
  tremblix::EmbedPreview(host);
  HWND preview = FindWindowExW(host, nullptr, nullptr, L"Preview Window");
  ASSERT_TRUE(preview);
  SetParent(preview, shelter);
  DestroyWindow(host);
  Pump(100);
  ValidateRect(witness, nullptr);
  g_witness_paints = 0;

  // The host watch looks once a second, later on a loaded machine.
  for (DWORD t = GetTickCount(); IsWindow(preview) && GetTickCount() - t < 20000;) Pump(50);
  EXPECT_FALSE(IsWindow(preview)) << "the preview outlived its host";
  Pump(100);
  EXPECT_EQ(g_witness_paints, 0) << "another window was repainted after the preview ended";
  DestroyWindow(shelter);
  DestroyWindow(witness);
}

// A host with a caption and a border, as a preview area of another kind may
// be: the preview covers its client area exactly, not its window.
TEST(Preview, CoversTheClientAreaOfAHostWithACaptionAndABorder) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Framed Host";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"Framed Host",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 200, 150,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(host);
  RECT client, frame;
  GetClientRect(host, &client);
  GetWindowRect(host, &frame);
  ASSERT_LT(client.right, frame.right - frame.left) << "the host has no border";
  tremblix::EmbedPreview(host);
  HWND preview = FindWindowExW(host, nullptr, nullptr, L"Preview Window");
  ASSERT_TRUE(preview);
  RECT placed;
  GetWindowRect(preview, &placed);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  EXPECT_EQ(placed.right, client.right);
  EXPECT_EQ(placed.bottom, client.bottom);
  DestroyWindow(host);
  Pump(50);
}

}  // namespace
