// SPDX-License-Identifier: GPL-3.0-or-later

#include "Surface.h"

#include <stdexcept>
#include <utility>

namespace artgen {

namespace {

cairo_surface_t* checked(cairo_surface_t* surface) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw std::runtime_error("cannot create an image surface");
    }
    return surface;
}

} // namespace

Surface::Surface(int width, int height)
    : m_surface(checked(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height))) {}

Surface::Surface(cairo_surface_t* adopted) : m_surface(checked(adopted)) {}

Surface::Surface(Surface&& other) noexcept : m_surface(std::exchange(other.m_surface, nullptr)) {}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        if (m_surface != nullptr) {
            cairo_surface_destroy(m_surface);
        }
        m_surface = std::exchange(other.m_surface, nullptr);
    }
    return *this;
}

Surface::~Surface() {
    if (m_surface != nullptr) {
        cairo_surface_destroy(m_surface);
    }
}

int Surface::width() const {
    return cairo_image_surface_get_width(m_surface);
}
int Surface::height() const {
    return cairo_image_surface_get_height(m_surface);
}

void Surface::paint(const Surface& source, int x, int y, int clipWidth, int clipHeight) {
    cairo_t* cr = cairo_create(m_surface);
    int w = clipWidth < 0 ? source.width() : clipWidth;
    int h = clipHeight < 0 ? source.height() : clipHeight;
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, source.get(), x, y);
    cairo_paint(cr);
    cairo_destroy(cr);
}

void Surface::fill(double red, double green, double blue) {
    cairo_t* cr = cairo_create(m_surface);
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_paint(cr);
    cairo_destroy(cr);
}

Surface Surface::crop(int x, int y, int width, int height) const {
    Surface out(width, height);
    cairo_t* cr = cairo_create(out.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, m_surface, -x, -y);
    cairo_paint(cr);
    cairo_destroy(cr);
    return out;
}

std::vector<std::uint8_t> Surface::rgba() const {
    cairo_surface_flush(m_surface);
    const int w = width();
    const int h = height();
    const int stride = cairo_image_surface_get_stride(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF;
            unsigned g = (p >> 8) & 0xFF;
            unsigned b = p & 0xFF;
            if (a != 0 && a != 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
            }
            std::uint8_t* o = &out[(static_cast<std::size_t>(y) * w + x) * 4];
            o[0] = static_cast<std::uint8_t>(r);
            o[1] = static_cast<std::uint8_t>(g);
            o[2] = static_cast<std::uint8_t>(b);
            o[3] = static_cast<std::uint8_t>(a);
        }
    }
    return out;
}

std::vector<std::uint8_t> Surface::rgb() const {
    cairo_surface_flush(m_surface);
    const int w = width();
    const int h = height();
    const int stride = cairo_image_surface_get_stride(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            // Premultiplied colour over white: c + (255 - a).
            const std::uint32_t p = row[x];
            const unsigned inverse = 255 - (p >> 24);
            std::uint8_t* o = &out[(static_cast<std::size_t>(y) * w + x) * 3];
            o[0] = static_cast<std::uint8_t>(((p >> 16) & 0xFF) + inverse);
            o[1] = static_cast<std::uint8_t>(((p >> 8) & 0xFF) + inverse);
            o[2] = static_cast<std::uint8_t>((p & 0xFF) + inverse);
        }
    }
    return out;
}

} // namespace artgen
