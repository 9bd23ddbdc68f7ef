// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

// The 147 checked pictures in the order the start-up compares them.
std::vector<std::string> manifestOrder();

// Writes AssetManifest.h and AssetManifest.cpp into sourceDir with the byte lengths of
// the files now in pictureDir. Returns the names of files it could not measure.
std::vector<std::string> writeManifest(const std::filesystem::path& pictureDir,
                                       const std::filesystem::path& sourceDir);

} // namespace artgen
