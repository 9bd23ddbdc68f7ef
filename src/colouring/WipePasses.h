// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <vector>

namespace tintaro {

// The five ways a wipe walks over the canvas. Each step paints one pixel white
// and then advances; the four full passes visit every pixel once, the
// interlaced one every pixel of the even rows.
enum class WipePass { RowsDown, ColumnsRight, ColumnsLeft, RowsUp, InterlacedRows };

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

// The number of steps of a pass over a width x height image: 450000 for the
// full passes on 750 x 600, 225000 for the interlaced one.
long passSteps(WipePass pass, int width, int height);

// The pixel that step `step` (0 <= step < passSteps) of the pass paints.
Point passPosition(WipePass pass, long step, int width, int height);

// Paints steps [first, last) of the pass white, clamped to the pass; returns
// the bounding box touched, empty when no step ran. Running a pass in slices,
// one per frame, paints exactly what running it whole does.
Rect runPassSteps(Image& image, WipePass pass, long first, long last);

// The passes of wipe pattern n, 1 to 8, in the order they run: 1 rows down,
// 2 columns right, 3 columns left, 4 rows up, and 5 to 8 the interlaced rows
// followed by columns right, rows down, columns left and rows up. Empty for
// any other n.
std::vector<WipePass> wipePattern(int n);

} // namespace tintaro
