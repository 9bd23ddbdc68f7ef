// SPDX-License-Identifier: GPL-3.0-or-later

#include "PngWriter.h"

#include <stdexcept>

namespace artgen {

void writePng(const std::filesystem::path& path, const Surface& surface) {
    if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace artgen
