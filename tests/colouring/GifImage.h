// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <optional>
#include <string>

namespace tintaro::testing {

// Decodes the first frame of a GIF file into colour values, the way the canvas
// would show it: pixels outside the frame and transparent pixels are white.
// nullopt when the file is missing or unreadable.
std::optional<Image> loadGif(const std::string& path);

// "<assets>/PICTURE/NN.GIF" for drawing n.
std::string drawingPath(const std::string& assets, int n);

} // namespace tintaro::testing
