// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <filesystem>

namespace artgen {

// One fixed quality for every picture, so a re-render of unchanged art gives the same bytes.
constexpr int kJpegQuality = 90;

// Writes the surface (composited onto white) as a baseline JPEG without chroma
// subsampling: the small faces have sharp coloured edges that 4:2:0 would smear.
void writeJpeg(const std::filesystem::path& path, const Surface& surface);

} // namespace artgen
