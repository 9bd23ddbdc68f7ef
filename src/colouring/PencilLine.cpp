// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/PencilLine.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tintaro {
namespace {

constexpr double kRadius = 1.5;
constexpr double kRadiusSquared = kRadius * kRadius;

// The capsule of all points within kRadius of segment a-b. The test avoids
// dividing, so whole-pixel end points (the usual case) are decided exactly and
// a stroke drawn in pieces paints the same pixels as one long segment.
struct Capsule {
    double ax, ay, dx, dy, lengthSquared;

    bool contains(double px, double py) const {
        const double ux = px - ax;
        const double uy = py - ay;
        const double along = ux * dx + uy * dy;
        if (along <= 0)
            return ux * ux + uy * uy <= kRadiusSquared;
        if (along >= lengthSquared) {
            const double vx = ux - dx;
            const double vy = uy - dy;
            return vx * vx + vy * vy <= kRadiusSquared;
        }
        const double across = ux * dy - uy * dx;
        return across * across <= kRadiusSquared * lengthSquared;
    }

    // The x of the point on row y nearest to the segment: where the segment
    // crosses the row, or the x of the end point nearest the row in height.
    double nearestX(double y) const {
        const double by = ay + dy;
        if (dy == 0 || (y <= std::min(ay, by)) || (y >= std::max(ay, by)))
            return std::abs(y - ay) <= std::abs(y - by) ? ax : ax + dx;
        return ax + (y - ay) * dx / dy;
    }
};

} // namespace

Rect drawPencilSegment(Image& image, float x0, float y0, float x1, float y1, Colour colour) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return {};
    if (x0 == x1 && y0 == y1)
        return {};
    if (image.width <= 0 || image.height <= 0)
        return {};

    const double dx = double(x1) - x0;
    const double dy = double(y1) - y0;
    const Capsule capsule{x0, y0, dx, dy, dx * dx + dy * dy};

    const double top = std::max(std::ceil(std::min<double>(y0, y1) - kRadius), 0.0);
    const double bottom = std::min(std::floor(std::max<double>(y0, y1) + kRadius), image.height - 1.0);
    if (top > bottom)
        return {};

    const int lastX = image.width - 1;
    int minX = image.width, maxX = -1, minY = image.height, maxY = -1;
    for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
        // The capsule is convex, so on each row it covers one interval, which
        // holds the row's nearest point. Of the pixels inside the interval,
        // the floor or the ceiling of that point is one (clamped to the
        // image, as the image cuts the interval too); grow from it both ways.
        const double nearest = std::clamp(capsule.nearestX(y), 0.0, double(lastX));
        int start = static_cast<int>(std::floor(nearest));
        if (!capsule.contains(start, y)) {
            start = static_cast<int>(std::ceil(nearest));
            if (!capsule.contains(start, y))
                continue;
        }
        int left = start;
        while (left > 0 && capsule.contains(left - 1, y))
            --left;
        int right = start;
        while (right < lastX && capsule.contains(right + 1, y))
            ++right;

        Colour* row = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::fill(row + left, row + right + 1, colour);
        minX = std::min(minX, left);
        maxX = std::max(maxX, right);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    if (maxY < 0)
        return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

} // namespace tintaro
