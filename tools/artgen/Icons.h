#pragma once

#include "Composer.h"

#include <filesystem>
#include <vector>

namespace artgen {

// The two canvas cursors (PICTURE/CETKA.ICO, PICTURE/KANTICA8.ICO) and the window icon,
// palette and drop cursors and splash artwork the program ships beside the checked pictures (UI/).
std::vector<Picture> renderIcons(const std::filesystem::path& artDir, const std::filesystem::path& outDir);

} // namespace artgen
