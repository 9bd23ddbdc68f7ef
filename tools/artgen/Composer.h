// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

struct Picture {
    std::string file;
    Surface surface;
};

struct InterfaceArt {
    std::vector<Picture> screens; // GLAVNA, GALERIJA and the three panels
    std::vector<Picture> faces;   // every button face, palette faces included
};

// Renders each screen's base picture, cuts every face's background from it, draws the
// face's own art on that background, then pastes the start faces back into the base
// (bottom of the stacking order first). Writes all of it as JPEG into pictureDir.
InterfaceArt renderInterface(const std::filesystem::path& artDir, const std::filesystem::path& pictureDir);

} // namespace artgen
