// Photographing the primary screen and writing the hand-off pictures.
#pragma once

#include <windows.h>

#include "saver/run/hand_off.h"

namespace tremblix {

// A picture of the screen's size, 32 bits a pixel, bottom row first, with a
// device context to draw into it.
class ScreenSection {
 public:
  ScreenSection(int width, int height);
  ~ScreenSection();
  ScreenSection(const ScreenSection&) = delete;
  ScreenSection& operator=(const ScreenSection&) = delete;

  bool ready() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  ScreenPixels pixels() const;

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// Whether the saver asks for the password on resume, as Windows keeps it.
bool SaverIsSecureNow();

// Photographs each monitor (the primary alone unless all_monitors) and
// writes its pictures into the user's picture folder, choosing for each as
// photograph.h says: a password-protected saver uses the wallpaper or the
// desktop's colour. Each file is put in place only when complete. Then the
// sets of monitors no longer shown are removed, and the file that tells the
// renderer which sets there are is written. Without the user's folder
// nothing is written.
void PhotographAndWriteHandOffPictures(bool all_monitors);

// The four pictures from a photograph already made (the preview tool's).
void WriteHandOffPictures(const ScreenPixels& screen);

}  // namespace tremblix
