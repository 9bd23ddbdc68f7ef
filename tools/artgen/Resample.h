// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

// Shrinks a grey image by area averaging: each output pixel is the mean of the source
// area it covers, partial source pixels weighted by their covered fraction. Thin
// outlines turn into soft grey lines instead of vanishing or aliasing.
std::vector<std::uint8_t> areaAverage(const std::vector<std::uint8_t>& source, int sourceWidth,
                                      int sourceHeight, int width, int height);

} // namespace artgen
