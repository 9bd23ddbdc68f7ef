// SPDX-License-Identifier: GPL-3.0-or-later

#include "gallery/GalleryTable.h"

#include "gallery/GalleryGrid.h"
#include "scene/AssetPaths.h"

#include <cstdio>

namespace tintaro {

namespace {

// The grid is shared with the tests and the art tool.
constexpr const auto& kColumnLeft = kThumbnailColumnLeft;
constexpr const auto& kRowTop = kThumbnailRowTop;

std::string format(const char* pattern, int value) {
    char text[48];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

} // namespace

GalleryEntry galleryEntry(int n) {
    const int row = (n - 1) / 5 + 1;
    const int column = (n - 1) % 5 + 1;
    const int p = thumbnailPictureNumber(n); // the thumbnails' own picture number
    return {kColumnLeft[column - 1], kRowTop[row - 1], picturePath(format("GALERIJA1BELE_%02d.JPG", p)),
            picturePath(format("GALERIJA1ZUTE_%02d.JPG", p)), picturePath(format("%02d.GIF", n))};
}

} // namespace tintaro
