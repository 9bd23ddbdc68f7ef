// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <filesystem>

namespace artgen {

// Writes a one-image ICO: a 32-bit BGRA bitmap (rows bottom-up) followed by its 1-bit
// AND mask, the layout every ICO reader understands.
void writeIco(const std::filesystem::path& path, const Surface& surface);

} // namespace artgen
