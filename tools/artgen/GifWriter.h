// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace artgen {

// Writes a two-colour GIF: palette index 0 is black (0, 0, 0), index 1 white.
// `ink` holds one byte per pixel, non-zero for black.
void writeBilevelGif(const std::filesystem::path& path, const std::vector<std::uint8_t>& ink, int width,
                     int height);

} // namespace artgen
