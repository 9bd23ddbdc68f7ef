// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <span>

namespace tintaro::testing {

// Black-on-white pictures whose white regions are made of short runs, the cost
// a span fill pays per run rather than per pixel: hatching a child draws with
// the 3-px pencil, mazes, combs, lattices, noise. Each is generated at any
// size, so the benchmark fills them on the canvas and the fill test checks
// small ones against its reference.
struct FillShape {
    const char* name;
    Image (*make)(int width, int height);
};

std::span<const FillShape> fillShapes();

} // namespace tintaro::testing
