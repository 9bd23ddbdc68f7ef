// SPDX-License-Identifier: GPL-3.0-or-later

#include "Resample.h"

#include <algorithm>
#include <cmath>

namespace artgen {

std::vector<std::uint8_t> areaAverage(const std::vector<std::uint8_t>& source, int sourceWidth,
                                      int sourceHeight, int width, int height) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
    const double sx = static_cast<double>(sourceWidth) / width;
    const double sy = static_cast<double>(sourceHeight) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * sy;
        const double y1 = y0 + sy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * sx;
            const double x1 = x0 + sx;
            double sum = 0;
            double weight = 0;
            for (int iy = static_cast<int>(y0);
                 iy < std::min<int>(sourceHeight, static_cast<int>(std::ceil(y1))); ++iy) {
                const double wy = std::min<double>(iy + 1, y1) - std::max<double>(iy, y0);
                for (int ix = static_cast<int>(x0);
                     ix < std::min<int>(sourceWidth, static_cast<int>(std::ceil(x1))); ++ix) {
                    const double wx = std::min<double>(ix + 1, x1) - std::max<double>(ix, x0);
                    sum += wx * wy * source[static_cast<std::size_t>(iy) * sourceWidth + ix];
                    weight += wx * wy;
                }
            }
            out[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint8_t>(std::lround(weight > 0 ? sum / weight : 255.0));
        }
    }
    return out;
}

} // namespace artgen
