// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <cstdint>
#include <vector>

namespace tintaro {

// A picture kept as runs of equal pixels, row after row. A coloured drawing
// is mostly long runs, so its copy costs a small part of the picture's size.
class CanvasRuns {
  public:
    static CanvasRuns of(const Image& image);
    Image image() const;

  private:
    struct Run {
        Colour colour;
        std::uint32_t length;
    };
    int m_width = 0;
    int m_height = 0;
    std::vector<Run> m_runs;
};

} // namespace tintaro
