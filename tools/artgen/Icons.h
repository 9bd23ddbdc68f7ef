// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Composer.h"

#include <filesystem>
#include <vector>

namespace artgen {

// The two canvas cursors (PICTURE/CETKA.ICO, PICTURE/KANTICA8.ICO) and the window icon,
// palette and drop cursors and splash artwork the program ships beside the checked pictures (UI/).
std::vector<Picture> renderIcons(const std::filesystem::path& artDir, const std::filesystem::path& outDir);

// The sizes of the menu icon a desktop asks for (the hicolor theme's usual set).
inline constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// The menu icon at every desktop size from ui/icon.svg, as iconDir/tintaro-<size>.png.
// Rendered at each size rather than scaled, so the small ones stay sharp.
void renderDesktopIcons(const std::filesystem::path& artDir, const std::filesystem::path& iconDir);

} // namespace artgen
