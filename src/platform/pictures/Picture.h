// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

namespace tintaro {

// A decoded picture that keeps its transparency: one 0xAARRGGBB value per
// pixel (straight alpha), row-major, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

} // namespace tintaro
