// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <cstdint>
#include <vector>

namespace tintaro {

// The program's frame drawn into a window of any size: scaled to fit with
// its aspect kept, centred between black bars, and smoothed (bilinear) when
// the scale is not 1. Any part can be drawn again alone and gives exactly
// the pixels the whole frame gives, so only what changed is ever redrawn.
class FrameScaler {
  public:
    // The frame's size and the target's, in pixels; the target's rows are
    // `targetStride` pixels apart (0: its width).
    void setSizes(int frameWidth, int frameHeight, int targetWidth, int targetHeight, int targetStride = 0);
    // Where the frame lands in the target.
    Rect placement() const { return m_place; }

    // Draws what `area` of the frame covers into `target` (XRGB8888) and
    // returns the target's rectangle it drew.
    Rect draw(const Image& frame, const Rect& area, std::uint32_t* target) const;
    // The whole target: the bars and all of the frame.
    void drawAll(const Image& frame, std::uint32_t* target) const;

    // A point of the target in the frame's pixels (outside it in the bars).
    void toFrame(double targetX, double targetY, float& frameX, float& frameY) const;

  private:
    // One sample position of an axis: the source pixel and the weight of
    // the next one, in 128ths.
    struct Tap {
        int index;
        int next;
        int weight;
    };
    static std::vector<Tap> taps(int source, int target);
    // Target rows [y0, y1), columns [x0, x1).
    void drawRows(const Image& frame, int x0, int x1, int y0, int y1, std::uint32_t* target) const;
    // The target pixels [first, last) along one axis whose samples read
    // source pixels [from, to).
    static void reach(const std::vector<Tap>& taps, int from, int to, int placedAt, int& first, int& last);

    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_targetWidth = 0;
    int m_targetHeight = 0;
    int m_stride = 0;
    Rect m_place;
    std::vector<Tap> m_columns;
    std::vector<Tap> m_rows;
};

} // namespace tintaro
