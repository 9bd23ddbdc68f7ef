// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

namespace tintaro {

// Thumbnail n (1..25) stands in a 5 x 5 grid filled row by row, at these places in
// window pixels. The column steps are 144, 143, 144, 144: not a uniform grid.
inline constexpr std::array<int, 5> kThumbnailColumnLeft{54, 198, 341, 485, 629};
inline constexpr std::array<int, 5> kThumbnailRowTop{48, 185, 322, 459, 596};

constexpr int thumbnailLeft(int n) {
    return kThumbnailColumnLeft[static_cast<std::size_t>((n - 1) % 5)];
}
constexpr int thumbnailTop(int n) {
    return kThumbnailRowTop[static_cast<std::size_t>((n - 1) / 5)];
}

// The number in the file names of thumbnail n's two pictures: 18 * (row - 1) + 2 * column - 1.
constexpr int thumbnailPictureNumber(int n) {
    const int row = (n - 1) / 5 + 1;
    const int column = (n - 1) % 5 + 1;
    return 18 * (row - 1) + 2 * column - 1;
}

} // namespace tintaro
