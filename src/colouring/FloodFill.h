// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

namespace tintaro {

// Fills the 4-connected region of pixels exactly equal to the seed pixel's value
// with `fill`. Returns the bounding box of the changed pixels; the box is empty
// when nothing changed (the fill colour equals the seed's, or the seed lies
// outside the image).
//
// A span fill with an explicit stack of row segments: the call depth does not
// depend on the size of the region, and every pixel is read a bounded number of
// times, so a whole 750 x 600 canvas fills well within one frame. Narrow places
// are followed without segments: straight corridors row by row, and mazes of
// one-pixel corridors pixel by pixel, two ways at a time.
Rect floodFill(Image& image, int x, int y, Colour fill);

} // namespace tintaro
