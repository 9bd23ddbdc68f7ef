// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Filling mazes of one-pixel corridors, pixel by pixel.

#include "colouring/FillSegments.h"
#include "platform/Image.h"

#include <cstddef>

namespace tintaro::filling {

// Pictures whose coordinates the maze walk can hold.
constexpr int kMazeLimit = 0x8000;

// Whether a corridor turns at p, a pixel of the seed colour at (x, y), as in a
// maze of one-pixel walls: one side open, and the four corners closed. In
// noise, whose corners are mostly open, the segments do better.
inline bool turnsInMaze(const Colour* p, int x, int y, int width, int height, Colour seed) {
    if (x < 1 || y < 1 || x + 1 >= width || y + 1 >= height || width > kMazeLimit || height > kMazeLimit)
        return false;
    const std::ptrdiff_t stride = width;
    return (p[-1] == seed) != (p[1] == seed) && p[-stride - 1] != seed && p[-stride + 1] != seed &&
           p[stride - 1] != seed && p[stride + 1] != seed;
}

// Walks a maze from (x, y), a pixel just painted where a corridor turns, and
// hands what opens out back to the segments; returns the stack's new top.
//
// Along a path one pixel wide every pixel has one neighbour of the seed
// colour, the one after it, and the walk steps there with no branch on which
// neighbour it is: in a maze the path turns at random, and a branch on the
// turn would be mispredicted every other step. Each step waits for the one
// before, so two ways are walked side by side, whose steps the processor
// overlaps. At a junction the ways on wait on a small stack of spots, again
// with no branch on which they are; a row that opens on both sides goes to the
// segments.
Segment* walkMaze(Colour* pixels, int width, int height, Colour seed, Colour fill, int x, int y,
                  Storage& storage, Segment* top, Bounds& bounds);

} // namespace tintaro::filling
