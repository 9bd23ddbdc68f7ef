// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <filesystem>

namespace artgen {

// Writes the surface with its alpha channel as a PNG (through cairo's libpng writer).
void writePng(const std::filesystem::path& path, const Surface& surface);

} // namespace artgen
