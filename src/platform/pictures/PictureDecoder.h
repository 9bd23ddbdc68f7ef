// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"
#include "platform/pictures/Picture.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tintaro {

enum class PictureFormat { Unknown, Gif, Png, Jpeg, Ico };

// The format the first bytes announce.
PictureFormat pictureFormat(std::span<const std::uint8_t> bytes);

// Decodes a GIF, PNG, JPEG or ICO file whatever the bytes hold: damaged,
// truncated or hostile input gives nullopt, as does a picture too large to
// hold (see PictureLimits.h) or a failed allocation. Never throws.
std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes) noexcept;

// The picture laid on white, the colour of the page: what a control shows.
Image onWhite(const Picture& picture);
// The same, reusing the picture's own buffer.
Image onWhite(Picture&& picture);

} // namespace tintaro
