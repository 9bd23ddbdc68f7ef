// SPDX-License-Identifier: GPL-3.0-or-later

#include "SvgRenderer.h"

#include <librsvg/rsvg.h>

#include <stdexcept>

namespace artgen {

Surface renderSvg(const std::string& svgText, int width, int height, const std::string& sourceName) {
    GError* error = nullptr;
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svgText.data()), svgText.size(), &error);
    if (handle == nullptr) {
        std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error(sourceName + ": " + message);
    }
    Surface out(width, height);
    cairo_t* cr = cairo_create(out.get());
    const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    const gboolean ok = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    g_object_unref(handle);
    if (!ok) {
        std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error(sourceName + ": " + message);
    }
    cairo_surface_flush(out.get());
    return out;
}

} // namespace artgen
