// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tintaro {

// A colour value: red + 256 * green + 65536 * blue, top byte 0.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0;

// An opaque picture, row-major, one colour value per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Image() = default;
    Image(int w, int h, Colour fill = kWhite)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    Colour at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool operator==(const Image&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const Rect&) const = default;
};

// The part of `r` inside a width x height picture (empty when none is).
inline Rect clipTo(const Rect& r, int width, int height) {
    const int x0 = r.x > 0 ? r.x : 0;
    const int y0 = r.y > 0 ? r.y : 0;
    const int x1 = r.x + r.w < width ? r.x + r.w : width;
    const int y1 = r.y + r.h < height ? r.y + r.h : height;
    return x0 < x1 && y0 < y1 ? Rect{x0, y0, x1 - x0, y1 - y0} : Rect{};
}

// Copies what of `area` lies inside `from` into `to`, a picture of the same
// size; returns the part copied (empty when none was).
inline Rect copyArea(const Image& from, Image& to, const Rect& area) {
    const Rect inside = clipTo(area, from.width, from.height);
    for (int y = inside.y; y < inside.y + inside.h; ++y) {
        const auto row = static_cast<std::ptrdiff_t>(y) * from.width + inside.x;
        std::copy_n(from.pixels.begin() + row, inside.w, to.pixels.begin() + row);
    }
    return inside;
}

} // namespace tintaro
