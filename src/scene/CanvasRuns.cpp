// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/CanvasRuns.h"

#include <algorithm>

namespace tintaro {

CanvasRuns CanvasRuns::of(const Image& image) {
    CanvasRuns runs;
    runs.m_width = image.width;
    runs.m_height = image.height;
    for (auto p = image.pixels.begin(); p != image.pixels.end();) {
        const auto end = std::find_if(p, image.pixels.end(), [&](Colour c) { return c != *p; });
        runs.m_runs.push_back({*p, static_cast<std::uint32_t>(end - p)});
        p = end;
    }
    return runs;
}

Image CanvasRuns::image() const {
    Image image;
    image.width = m_width;
    image.height = m_height;
    image.pixels.reserve(static_cast<std::size_t>(m_width) * m_height);
    for (const Run& run : m_runs) {
        image.pixels.insert(image.pixels.end(), run.length, run.colour);
    }
    return image;
}

} // namespace tintaro
