// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tintaro {

// Thumbnail n (1..25) stands in a 5 x 5 grid filled row by row.
struct GalleryEntry {
    int left;
    int top;
    std::string plainPicture; // relative paths (scene/AssetPaths.h)
    std::string highlightedPicture;
    std::string drawing;
};

GalleryEntry galleryEntry(int n);

} // namespace tintaro
