// A made-up desktop for pictures of the effect: a sky in bands, a few
// coloured windows and a word, so that reflections have something to show.
#pragma once

#include <windows.h>

void PaintMadeUpDesktop(HDC dc, int width, int height);
