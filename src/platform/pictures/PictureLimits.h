// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tintaro {

// The largest picture any decoder accepts. The book's largest pictures are
// the 1024 x 768 backgrounds; a header that claims more is damaged or hostile,
// and is refused before a single pixel buffer is allocated.
inline constexpr std::int64_t kMaxPictureSide = 4096;
inline constexpr std::int64_t kMaxPicturePixels = 4 * 1024 * 1024;

constexpr bool acceptablePictureSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

} // namespace tintaro
