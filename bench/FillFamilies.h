// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <functional>
#include <string>
#include <vector>

namespace tintaro::testing {

// Families of black-on-white pictures that a span fill may find hard, each
// member generated at any size so that the fill's cost can be compared across
// sizes: periodic dots, dashes and blocks at every period from 2 to 8,
// checkerboards, random walks, spirals, Hilbert and Peano curves, mazes of 1-
// and 2-px corridors with and without loops, and noise from 5% to 60% black.
// The fill test checks every member against its reference and the benchmark
// times them against OpenCV.
struct ShapeFamilyMember {
    std::string name;
    std::function<Image(int width, int height)> make;
};

const std::vector<ShapeFamilyMember>& shapeFamilies();

// A perfect maze (or with `loops`, the share of its remaining inner walls
// knocked through) of corridors and walls `size` pixels wide, carved by a
// depth-first walk from the top-left cell.
Image maze(int width, int height, int size, double loops);

} // namespace tintaro::testing
