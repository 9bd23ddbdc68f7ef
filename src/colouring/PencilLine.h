// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

namespace tintaro {

// Draws a solid line 3 pixels wide with round ends from (x0, y0) to (x1, y1),
// in image pixels with pixel centres at integer coordinates, replacing the
// pixels under it and clipped to the image. A pixel is painted when its centre
// lies within distance 1.5 of the segment, so each end is a round cap of
// diameter 3 and consecutive segments that share an end point join without a
// gap however long they are. A zero-length segment draws nothing. Returns the
// bounding box of the pixels written, empty when none.
Rect drawPencilSegment(Image& image, float x0, float y0, float x1, float y1, Colour colour);

} // namespace tintaro
