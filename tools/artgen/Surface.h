// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace artgen {

// An owned cairo ARGB32 image surface. Every render, crop and composition of the
// tool passes through this type, so faces and screens share exactly the same pixels.
class Surface {
  public:
    Surface(int width, int height);
    explicit Surface(cairo_surface_t* adopted);
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface();

    cairo_surface_t* get() const { return m_surface; }
    int width() const;
    int height() const;

    // Paints `source` over this surface with its top-left corner at (x, y), cut to
    // clipWidth x clipHeight when those are given (a control shows no more than its size).
    void paint(const Surface& source, int x, int y, int clipWidth = -1, int clipHeight = -1);
    void fill(double red, double green, double blue);
    Surface crop(int x, int y, int width, int height) const;

    // Straight (not premultiplied) colour of every pixel, composited onto white.
    std::vector<std::uint8_t> rgb() const;
    // Straight RGBA bytes, alpha kept.
    std::vector<std::uint8_t> rgba() const;

  private:
    cairo_surface_t* m_surface = nullptr;
};

} // namespace artgen
