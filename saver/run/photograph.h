// Which pictures a full-screen run hands to the renderer. The effect is the
// user's own desktop, reflected; a copy of the screen that failed, or that
// came back one colour from edge to edge, is no photograph of it. Windows
// gives such copies where it runs a password-protected saver on a desktop of
// its own. A desktop that truly is one colour is rare, and nothing is lost by
// taking it for a blank copy.
#pragma once

#include <functional>

#include "saver/run/hand_off.h"

namespace tremblix {

// Whether every pixel has the colour of the first (blue, green and red; a
// fourth byte is not looked at). A screen without pixels counts as one colour.
bool IsOneColour(const ScreenPixels& screen);

enum class PictureSource {
  kPhotograph,       // the screen as photographed
  kEarlierPictures,  // the four pictures an earlier run left, kept as they are
  kWallpaper,        // the user's desktop wallpaper, stretched to the screen
  kBlack,            // nothing better: black pictures of the screen's size
};

// The first of photograph, earlier pictures, wallpaper and black that can be
// had. The wallpaper is loaded only when it is needed.
PictureSource ChoosePictures(bool photograph_shows_desktop, bool earlier_pictures_there,
                             const std::function<bool()>& load_wallpaper);

}  // namespace tremblix
