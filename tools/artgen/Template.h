// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace artgen {

using Vars = std::vector<std::pair<std::string, std::string>>;

std::string readText(const std::filesystem::path& path);

// Replaces every {{name}} in `text` with its value. A placeholder left without a value
// is an error in the art source, so it throws instead of rendering a broken picture.
std::string fillTemplate(const std::string& text, const Vars& vars, const std::string& sourceName);

} // namespace artgen
