#include "gallery/GalleryTable.h"

#include "scene/AssetPaths.h"

#include <array>
#include <cstdio>

namespace tintaro {

namespace {

// The column steps are 144, 143, 144, 144: not a uniform grid.
constexpr std::array<int, 5> kColumnLeft{54, 198, 341, 485, 629};
constexpr std::array<int, 5> kRowTop{48, 185, 322, 459, 596};

std::string format(const char* pattern, int value) {
    char text[48];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

} // namespace

GalleryEntry galleryEntry(int n) {
    const int row = (n - 1) / 5 + 1;
    const int column = (n - 1) % 5 + 1;
    const int p = 18 * (row - 1) + 2 * column - 1; // the thumbnails' own picture number
    return {kColumnLeft[column - 1], kRowTop[row - 1], picturePath(format("GALERIJA1BELE_%02d.JPG", p)),
            picturePath(format("GALERIJA1ZUTE_%02d.JPG", p)), picturePath(format("%02d.GIF", n))};
}

} // namespace tintaro
