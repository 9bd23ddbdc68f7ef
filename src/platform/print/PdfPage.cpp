// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/print/PdfPage.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdint>
#include <cstring>

namespace tintaro::print {

namespace {

constexpr double kPointsPerHundredthOfMillimetre = 72.0 / 2540.0;
constexpr int kA4Width = 21000;
constexpr int kA4Length = 29700;
// About a sixth of an inch: what most printers leave blank at the edges, and
// small enough that the canvas still fits across A4.
constexpr int kFallbackMargin = 423;

// Colour values are red + 256 green + 65536 blue; cairo's RGB24 wants
// 0x00RRGGBB in native byte order.
cairo_surface_t* imageSurface(const Image& picture) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        return surface;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = picture.at(x, y);
            row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

} // namespace

PageLayout pageFromHundredthsOfMillimetre(int width, int length, int left, int top) {
    return {width * kPointsPerHundredthOfMillimetre, length * kPointsPerHundredthOfMillimetre,
            left * kPointsPerHundredthOfMillimetre, top * kPointsPerHundredthOfMillimetre};
}

PageLayout fallbackPage() {
    return pageFromHundredthsOfMillimetre(kA4Width, kA4Length, kFallbackMargin, kFallbackMargin);
}

bool writePdfPage(const Image& picture, const PageLayout& page, const std::string& path) {
    if (picture.width <= 0 || picture.height <= 0 || page.width <= 0 || page.height <= 0) {
        return false;
    }
    cairo_surface_t* pdf = cairo_pdf_surface_create(path.c_str(), page.width, page.height);
    if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pdf); // the file cannot be created
        return false;
    }
    cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, "Tintaro");
    cairo_surface_t* image = imageSurface(picture);
    cairo_t* cr = cairo_create(pdf);

    cairo_translate(cr, page.left, page.top);
    cairo_scale(cr, kPointsPerPixel, kPointsPerPixel);
    cairo_set_source_surface(cr, image, 0, 0);
    // Crisp pixels, as on the screen: the outlines stay sharp on paper.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, picture.width, picture.height);
    cairo_fill(cr);
    cairo_show_page(cr);

    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    cairo_surface_finish(pdf);
    const bool written = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(pdf);
    return drawn && written;
}

} // namespace tintaro::print
