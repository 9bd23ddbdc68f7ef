// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Composer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

struct SheetSection {
    std::string title;
    std::vector<const Picture*> pictures;
    double scale; // pictures are shown at this fraction of their size
};

// One PNG with every section's pictures laid out in rows, each labelled with its file name.
void writeContactSheet(const std::filesystem::path& path, const std::vector<SheetSection>& sections);

} // namespace artgen
