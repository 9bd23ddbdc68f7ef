// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace artgen {

struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // luminance 0..255, row-major
};

// Reads the first image of a GIF as luminance; nullopt when the file is absent or unreadable.
std::optional<GreyImage> readGifGrey(const std::filesystem::path& path);

} // namespace artgen
