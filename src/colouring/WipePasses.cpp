// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/WipePasses.h"

#include <algorithm>
#include <cstddef>

namespace tintaro {
namespace {

bool walksRows(WipePass pass) {
    return pass != WipePass::ColumnsRight && pass != WipePass::ColumnsLeft;
}

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty())
        return b;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.w, b.x + b.w);
    const int bottom = std::max(a.y + a.h, b.y + b.h);
    return {left, top, right - left, bottom - top};
}

} // namespace

long passSteps(WipePass pass, int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    const long rows = pass == WipePass::InterlacedRows ? (height + 1) / 2 : height;
    return rows * width;
}

Point passPosition(WipePass pass, long step, int width, int height) {
    switch (pass) {
    case WipePass::RowsDown:
        return {static_cast<int>(step % width), static_cast<int>(step / width)};
    case WipePass::ColumnsRight:
        return {static_cast<int>(step / height), static_cast<int>(step % height)};
    case WipePass::ColumnsLeft:
        return {width - 1 - static_cast<int>(step / height), static_cast<int>(step % height)};
    case WipePass::RowsUp:
        return {width - 1 - static_cast<int>(step % width), height - 1 - static_cast<int>(step / width)};
    case WipePass::InterlacedRows:
        return {static_cast<int>(step % width), 2 * static_cast<int>(step / width)};
    }
    return {0, 0};
}

Rect runPassSteps(Image& image, WipePass pass, long first, long last) {
    const int width = image.width;
    const int height = image.height;
    first = std::max(first, 0L);
    last = std::min(last, passSteps(pass, width, height));
    Rect touched;
    // Consecutive steps run along one row or one column until it ends, so
    // paint them a run at a time.
    const long line = walksRows(pass) ? width : height;
    for (long step = first; step < last;) {
        const long count = std::min(line - step % line, last - step);
        const Point start = passPosition(pass, step, width, height);
        const Point end = passPosition(pass, step + count - 1, width, height);
        const int left = std::min(start.x, end.x);
        const int top = std::min(start.y, end.y);
        const int right = std::max(start.x, end.x);
        const int bottom = std::max(start.y, end.y);
        if (walksRows(pass)) {
            Colour* row = image.pixels.data() + static_cast<std::size_t>(top) * width;
            std::fill(row + left, row + right + 1, kWhite);
        } else {
            for (int y = top; y <= bottom; ++y)
                image.pixels[static_cast<std::size_t>(y) * width + left] = kWhite;
        }
        touched = unite(touched, {left, top, right - left + 1, bottom - top + 1});
        step += count;
    }
    return touched;
}

std::vector<WipePass> wipePattern(int n) {
    using enum WipePass;
    switch (n) {
    case 1:
        return {RowsDown};
    case 2:
        return {ColumnsRight};
    case 3:
        return {ColumnsLeft};
    case 4:
        return {RowsUp};
    case 5:
        return {InterlacedRows, ColumnsRight};
    case 6:
        return {InterlacedRows, RowsDown};
    case 7:
        return {InterlacedRows, ColumnsLeft};
    case 8:
        return {InterlacedRows, RowsUp};
    default:
        return {};
    }
}

} // namespace tintaro
